// The service interfaces are header-only; this unit gives their meta-objects a home.
#include "abstractdeviceservices.h"
#include "abstractnetworkservices.h"
#include "abstractpackageservices.h"
