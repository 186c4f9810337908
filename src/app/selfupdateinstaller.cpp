#include "selfupdateinstaller.h"

#include <QMetaObject>

void SelfUpdateInstaller::start(const ProductInfo *package)
{
    // Installing a newer update center is not available in this build yet.
    QMetaObject::invokeMethod(this, [this] { Q_EMIT taskFinished(tr("Update installation error.")); },
                              Qt::QueuedConnection);
}
