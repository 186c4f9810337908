#include "unfinishedupdatewidget.h"

#include "ui_unfinishedupdatewidget.h"

#include <QDateTime>
#include <QLocale>

namespace {

QString mapNames(const QList<MapInfo> &maps)
{
    QStringList names;
    for (const MapInfo &map : maps)
        names.append(map.name.isEmpty() ? map.file.fileName : map.name);
    return names.join(QStringLiteral(", "));
}

} // namespace

UnfinishedUpdateWidget::UnfinishedUpdateWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::UnfinishedUpdateWidget>())
{
    m_ui->setupUi(this);
    connect(m_ui->restoreButton, &QPushButton::clicked, this, &UnfinishedUpdateWidget::restoreBackupClicked);
}

UnfinishedUpdateWidget::~UnfinishedUpdateWidget() = default;

void UnfinishedUpdateWidget::setUpdate(const UpdateJobRecord &record)
{
    QString text = tr("The last update of this device did not finish, so the device may lack some of its maps or "
                      "files.");
    if (record.started.isValid()) {
        const QDateTime started = record.started.toLocalTime();
        const QLocale locale;
        text += QLatin1Char('\n') + tr("It was begun on %1 at %2.")
                                        .arg(locale.toString(started.date(), QLocale::LongFormat),
                                             locale.toString(started.time(), QLocale::ShortFormat));
    }
    if (record.kind == UpdateJobRecord::NavigatorJob) {
        text += QLatin1Char('\n') + tr("Korwind Navigator %1 was being installed.").arg(record.navigatorPackage.version);
    } else {
        const QList<MapInfo> left = record.mapsLeft();
        if (!left.isEmpty())
            text += QLatin1Char('\n') + tr("Maps still to install: %1.").arg(mapNames(left));
        if (!record.removedEarly.isEmpty())
            text += QLatin1Char('\n') + tr("To make room, these map files were removed before their new versions "
                                           "were in place: %1.").arg(record.removedEarly.join(QStringLiteral(", ")));
    }
    text += QStringLiteral("\n\n")
            + tr("\"Finish the update\" installs what is missing, with the files already downloaded, and downloads "
                 "the rest.");
    m_ui->warningFrame->setText(text);
    const bool backup = !record.backupId.isEmpty();
    m_ui->restoreButton->setVisible(backup);
    m_ui->restoreLabel->setVisible(backup);
    m_ui->restoreLabel->setText(tr("Or put the device back as it was before the update, from the backup %1.")
                                    .arg(record.backupId));
}

QString UnfinishedUpdateWidget::text() const
{
    return m_ui->warningFrame->text();
}
