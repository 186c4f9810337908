#pragma once

// Registers the records that travel through queued connections under the names the wizard and
// services connect by. Call once at start-up, before any window exists.
void registerSharedTypes();
