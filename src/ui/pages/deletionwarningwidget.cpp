#include "deletionwarningwidget.h"

#include "ui_deletionwarningwidget.h"

DeletionWarningWidget::DeletionWarningWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::DeletionWarningWidget>())
{
    m_ui->setupUi(this);
}

DeletionWarningWidget::~DeletionWarningWidget() = default;

void DeletionWarningWidget::setMaps(const QList<const MapInfo *> &installed, const QList<const MapInfo *> &removed)
{
    if (installed.isEmpty()) {
        m_ui->upperLabel->setText(tr("Following maps will be removed:"));
    } else {
        QString names;
        for (const MapInfo *map : installed)
            names += tr("\"%1, %2\", ").arg(map->name, map->version);
        names.chop(2);
        m_ui->upperLabel->setText(tr("During the installation of maps %1 following maps will be removed:").arg(names));
    }
    QString list;
    for (const MapInfo *map : removed)
        list += tr("%1, %2\n").arg(map->name, map->version);
    list.chop(1);
    m_ui->removedMapsText->setPlainText(list);
    // The list takes the focus when the page is shown; with these words a screen reader reads the warning.
    m_ui->removedMapsText->setAccessibleDescription(
        QStringList({m_ui->noteLabel->text(), m_ui->upperLabel->text(), m_ui->confirmLabel->text()}).join(QLatin1Char(' ')));
}
