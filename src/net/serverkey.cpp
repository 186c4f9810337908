#include "serverkey.h"

#include "embeddedserverkey.h"
#include "keyscramble.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

unsigned char serverModulus[ServerKey::modulusLength] = {VKT_MASKED_SERVER_MODULUS};
QMutex restorationMutex;
bool modulusRestored = false;

} // namespace

void ServerKey::restore()
{
    QMutexLocker locker(&restorationMutex);
    if (modulusRestored)
        return;
    applyServerKeyMask(serverModulus, sizeof serverModulus);
    modulusRestored = true;
}

const unsigned char *ServerKey::modulus()
{
    return serverModulus;
}
