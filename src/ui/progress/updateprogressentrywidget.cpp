#include "updateprogressentrywidget.h"

#include "formatting.h"
#include "ui_updateprogressentrywidget.h"

#include <QFont>
#include <QIcon>

namespace {

const QSize arrowSize(16, 16);

QString unknownFigure()
{
    return QStringLiteral("-");
}

QString sizeText(quint64 bytes)
{
    if (bytes == TransferStatusInfo::unknownBytes)
        return unknownFigure();
    const Utilities::FormattedSize size = Utilities::formatSize(bytes);
    return size.number + size.unit;
}

QString percentText(quint64 done, quint64 total)
{
    if (done == TransferStatusInfo::unknownBytes || total == TransferStatusInfo::unknownBytes || total == 0)
        return unknownFigure();
    return QString::number(quint64(100.0 * double(done) / double(total)));
}

} // namespace

UpdateProgressEntryWidget::UpdateProgressEntryWidget(QWidget *parent)
    : QWidget(parent), m_ui(new Ui::UpdateProgressEntryWidget)
{
    m_ui->setupUi(this);
    // Through QIcon so that the denser picture is taken on high-density screens.
    m_ui->currentArrow->setPixmap(QIcon(QStringLiteral(":/resources/Arrow_Dark.png")).pixmap(arrowSize));
    m_ui->otherArrow->setPixmap(QIcon(QStringLiteral(":/resources/Arrow.png")).pixmap(arrowSize));
    setState(Waiting);
}

UpdateProgressEntryWidget::~UpdateProgressEntryWidget() = default;

void UpdateProgressEntryWidget::setStage(const QString &header, const QString &itemPrefix)
{
    m_header = header;
    m_itemPrefix = itemPrefix;
    m_ui->progressBar->setAccessibleName(header);
    setState(Waiting);
}

void UpdateProgressEntryWidget::setState(State state)
{
    const bool becomesCurrent = state == Current && m_state != Current;
    m_state = state;
    m_item.clear();
    m_info.clear();
    showHeader();

    const bool current = state == Current;
    QFont font = m_ui->headerLabel->font();
    font.setWeight(current ? QFont::Bold : QFont::Normal);
    m_ui->headerLabel->setFont(font);
    m_ui->currentArrow->setVisible(current);
    m_ui->otherArrow->setVisible(!current);
    // The pictures do not tell a screen reader which stage runs and which are done; their names do.
    m_ui->currentArrow->setAccessibleName(tr("Running"));
    m_ui->otherArrow->setAccessibleName(state == Done ? tr("Done") : tr("Waiting"));
    if (becomesCurrent) {
        m_ui->extraInfo->hide();
        m_ui->progressBar->prepare(PT_PERCENT);
    }
    m_ui->progressPart->setVisible(current);
}

void UpdateProgressEntryWidget::setProgress(int percent)
{
    m_ui->progressBar->setProgress(percent);
}

void UpdateProgressEntryWidget::setInfo(const QString &info)
{
    m_info = info;
    showHeader();
}

void UpdateProgressEntryWidget::setExtraInfo(const TransferStatusInfo &info)
{
    m_item = info.fileName;
    showHeader();
    const QString speed = info.speed < 0 ? unknownFigure() : Utilities::formatSpeed(quint64(info.speed));
    const QString timeLeft =
        info.secondsLeft < 0 ? unknownFigure() : Utilities::formatDuration(info.secondsLeft);
    m_ui->speedLabel->setText(tr("Speed: %1;").arg(speed));
    m_ui->doneLabel->setText(tr("done: %1 from %2 (%3%);")
                                 .arg(sizeText(info.done), sizeText(info.total), percentText(info.done, info.total)));
    m_ui->timeLeftLabel->setText(tr("time left: %1").arg(timeLeft));
    m_ui->extraInfo->show();
}

void UpdateProgressEntryWidget::showHeader()
{
    QString text = m_itemPrefix.isEmpty() || m_item.isEmpty() ? m_header : m_itemPrefix + m_item;
    if (!m_info.isEmpty())
        text += QLatin1Char(' ') + m_info;
    m_ui->headerLabel->setText(text);
}
