#pragma once

#include "ceplatform.h"

#include <string>

// The installer's setup hooks: installing the module grants the remote API access to all of its functions,
// removing it takes that access back.
class SetupHooks
{
public:
    static constexpr int CONTINUE = 0;
    static constexpr int CANCEL = 1;
    static constexpr std::uint32_t PROCESS_DOCUMENT = 1;

    explicit SetupHooks(CePlatform &platform);

    int installInit();   // CANCEL when the device refuses the grant
    static int installExit();
    int uninstallInit(); // CONTINUE whether or not the device accepts the revocation
    static int uninstallExit();

    static std::u16string grantDocument();
    static std::u16string revokeDocument();

private:
    bool submit(const std::u16string &document);

    CePlatform &m_platform;
};
