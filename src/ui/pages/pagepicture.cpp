#include "pagepicture.h"

#include <QIcon>
#include <QLabel>
#include <QPixmap>

void showPagePicture(QLabel *label, const QString &resource)
{
    // The plain file gives the size on the page; the icon adds the "@2x" file and picks by density.
    const QSize size = QPixmap(resource).size();
    label->setVisible(!size.isEmpty());
    if (!size.isEmpty())
        label->setPixmap(QIcon(resource).pixmap(size, label->devicePixelRatioF()));
}
