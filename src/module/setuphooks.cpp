#include "setuphooks.h"

namespace {

// The remote API's metabase entry for every function of the module at its installation path.
const char16_t METABASE_ENTRY[] = u"RAPI\\Program Files\\DRQ\\KorwindUpdaterModule\\pxr.dll\\*";

} // namespace

SetupHooks::SetupHooks(CePlatform &platform) : m_platform(platform) {}

int SetupHooks::installInit()
{
    return submit(grantDocument()) ? CONTINUE : CANCEL;
}

int SetupHooks::installExit()
{
    return CONTINUE;
}

int SetupHooks::uninstallInit()
{
    submit(revokeDocument());
    return CONTINUE;
}

int SetupHooks::uninstallExit()
{
    return CONTINUE;
}

std::u16string SetupHooks::grantDocument()
{
    return std::u16string(u"<wap-provisioningdoc><characteristic type=\"Metabase\"><characteristic type=\"")
        + METABASE_ENTRY
        + u"\"><parm name=\"rw-access\" value=\"3\"/><parm name=\"access-role\" value=\"152\"/>"
          u"</characteristic></characteristic></wap-provisioningdoc>";
}

std::u16string SetupHooks::revokeDocument()
{
    return std::u16string(u"<wap-provisioningdoc><characteristic type=\"Metabase\"><nocharacteristic type=\"")
        + METABASE_ENTRY + u"\"/></characteristic></wap-provisioningdoc>";
}

bool SetupHooks::submit(const std::u16string &document)
{
    char16_t *result = nullptr;
    const std::int32_t status = m_platform.processConfigXml(document, PROCESS_DOCUMENT, &result);
    if (result)
        m_platform.freeConfigResult(result);
    return status >= 0;
}
