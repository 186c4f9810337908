#include "korwindcontentchoosewidget.h"

#include "formatting.h"
#include "storagetext.h"
#include "ui_korwindcontentchoosewidget.h"

#include <QStringList>

namespace {

QString description(const KorwindContentInfo &content)
{
    QStringList maps;
    for (const MapInfo &map : content.maps)
        maps.append(KorwindContentChooseWidget::tr("%1, %2").arg(map.name, map.version).toHtmlEscaped());
    const qint64 freeSpace = content.freeSpaceChecker.freeSpace();
    const Utilities::FormattedSize size = Utilities::formatSize(freeSpace < 0 ? 0 : quint64(freeSpace));

    QString text;
    if (content.isReadOnly)
        text = KorwindContentChooseWidget::tr("<font color=\"red\">KorwindContent's flash drive is in read only mode. "
                                              "Switch it to write mode to update maps.</font><br>");
    return text
           + KorwindContentChooseWidget::tr("Maps:\n%2\n\nFree space:\n%3\n\nFolder:\n%4")
                 .arg(maps.isEmpty() ? KorwindContentChooseWidget::tr("None") : maps.join(QLatin1Char('\n')),
                      size.number + size.unit, content.path.toHtmlEscaped());
}

// The storage that holds the folder; a folder found without one is named by where it is.
QString entryText(const KorwindContentInfo &content)
{
    return content.storage.root.isEmpty() ? content.name : storageText(content.storage);
}

} // namespace

KorwindContentChooseWidget::KorwindContentChooseWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::KorwindContentChooseWidget>())
{
    m_ui->setupUi(this);
    m_ui->entriesList->setLeftHeaderText(tr("Storage cards available:"));
    m_ui->entriesList->setRightHeaderText(tr("Description:"));
    connect(m_ui->entriesList, &ItemDisplayInterface::clickedElement, this, [this](int index) {
        emit korwindContentSelected(index);
        emit reportCanContinue(true);
    });
}

KorwindContentChooseWidget::~KorwindContentChooseWidget() = default;

int KorwindContentChooseWidget::selectedContentIndex() const
{
    return m_ui->entriesList->selectedElement();
}

void KorwindContentChooseWidget::addKorwindContents(const QList<KorwindContentInfo> &_contentInfoes)
{
    m_ui->entriesList->clearElements();
    for (int i = 0; i < _contentInfoes.size(); ++i)
        m_ui->entriesList->addElement(i, entryText(_contentInfoes.at(i)), description(_contentInfoes.at(i)));
    emit reportCanContinue(false);
}
