#include "korwindexechoosewidget.h"

#include "pathvalidator.h"
#include "ui_korwindexechoosewidget.h"

#include <QDir>
#include <QFileDialog>

namespace {

// The outcome of an executable's update check as one set-off line of its description, or "".
QString updateCheckLine(const KorwindExeInfo &exe)
{
    const bool failed = !(exe.checkMessage.isEmpty() && exe.checkDetail.isEmpty());
    if (!failed && exe.checkCode < 0) // not checked (the checks were cancelled)
        return QString();
    if (failed) {
        if (exe.checkCode != 3 || exe.checkMessage.isEmpty())
            return QString();
        return KorwindExeChooseWidget::tr("<font color=\"red\">%1</font><br>").arg(exe.checkMessage.toHtmlEscaped());
    }
    if (!exe.updateVersion.isEmpty()) {
        const QString line = KorwindExeChooseWidget::tr("Can be updated to version %1").arg(exe.updateVersion);
        return KorwindExeChooseWidget::tr("<b>%1</b><br>").arg(line.toHtmlEscaped());
    }
    return KorwindExeChooseWidget::tr("<font color=\"green\">%1</font><br>")
        .arg(KorwindExeChooseWidget::tr("Is up-to-date"));
}

QString description(const KorwindExeInfo &exe)
{
    QString text;
    if (exe.isReadOnly)
        text = KorwindExeChooseWidget::tr("<font color=\"red\">Korwind Navigator is installed to read-only flash drive "
                                          "and cannot be updated. Switch flash drive to write mode to update Korwind "
                                          "Navigator.</font><br>");
    return text
           + KorwindExeChooseWidget::tr("%1Version: %2<br>Path: %3")
                 .arg(updateCheckLine(exe), exe.version.toString(), exe.path.toHtmlEscaped());
}

} // namespace

KorwindExeChooseWidget::KorwindExeChooseWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::KorwindExeChooseWidget>())
{
    m_ui->setupUi(this);
    m_ui->restoreBackups->hide();
    connect(m_ui->entriesList, &ItemDisplayInterface::clickedElement, this, &KorwindExeChooseWidget::_onClickedElement);
    connect(m_ui->restoreBackups, &QPushButton::clicked, this, &KorwindExeChooseWidget::restoreBackupButtonClicked);
}

KorwindExeChooseWidget::~KorwindExeChooseWidget() = default;

int KorwindExeChooseWidget::chosenExecutableIndex() const
{
    return m_chosenIndex;
}

QString KorwindExeChooseWidget::chosenExecutablePath() const
{
    return m_ui->pathEdit->text();
}

bool KorwindExeChooseWidget::canContinue() const
{
    return m_ui->pathEdit->hasAcceptableInput();
}

void KorwindExeChooseWidget::setRestoreBackupButtonHidden(bool hidden)
{
    m_restoreHidden = hidden;
    updateRestoreButton();
}

void KorwindExeChooseWidget::addKorwindExes(const QList<KorwindExeInfo> &_exeInfoes, const QList<QString> &_deviceRoots,
                                            bool _bFileSystemIsAccessible, FileExistingChecker *_pFileChecker)
{
    m_exes = _exeInfoes;
    m_roots = _deviceRoots;
    m_fileSystemAccessible = _bFileSystemIsAccessible;
    m_chosenIndex = -1;
    const QValidator *oldValidator = m_ui->pathEdit->validator();
    m_ui->pathEdit->setValidator(new PathValidator(m_roots, _pFileChecker, m_ui->pathEdit));
    delete oldValidator;

    m_ui->entriesList->clearElements();
    for (int i = 0; i < m_exes.size(); ++i)
        m_ui->entriesList->addElement(i, tr("Korwind Navigator %1").arg(m_exes.at(i).version.toString()),
                                      description(m_exes.at(i)));

    const bool several = m_exes.size() > 1;
    if (m_exes.isEmpty()) {
        m_ui->headerLabel->setText(tr("Program cannot locate any Korwind Navigator executables on that device."));
        m_ui->hintLabel->setText(tr("Please, enter the path manually:"));
    } else {
        m_ui->headerLabel->setText(
            several ? tr("Several possible Korwind Navigator executables were found, choose the one you want to update:")
                    : tr("Korwind Navigator executable was found. You may choose it for update:"));
        m_ui->hintLabel->setText(tr("or enter the path manually:"));
    }
    m_ui->entriesList->setVisible(!m_exes.isEmpty());
    m_ui->entriesList->setEnabled(!m_exes.isEmpty());
    m_ui->entriesList->setLeftHeaderText(m_exes.isEmpty() ? QString() : tr("Korwind Navigator applications found:"));
    m_ui->entriesList->setRightHeaderText(m_exes.isEmpty() ? QString() : tr("Description:"));
    updateRestoreButton();

    m_ui->pathEdit->clear();
    if (!m_exes.isEmpty())
        m_ui->entriesList->selectElement(0);
    emit reportCanContinue(canContinue());
}

void KorwindExeChooseWidget::_onClickedElement(int _nIdx)
{
    if (_nIdx < 0 || _nIdx >= m_exes.size())
        return;
    m_chosenIndex = _nIdx;
    const QString path = m_exes.at(_nIdx).path;
    m_ui->pathEdit->setText(path);
    emit korwindExecutableSelected(_nIdx, path.toUtf8());
}

void KorwindExeChooseWidget::on_selectButton_clicked()
{
    const QString file = QFileDialog::getOpenFileName(this, tr("Choose your Korwind Navigator executable"),
                                                      m_roots.value(0), tr("Executable files (*.exe)"));
    if (!file.isEmpty())
        m_ui->pathEdit->setText(QDir::toNativeSeparators(file));
}

void KorwindExeChooseWidget::on_pathEdit_textChanged(const QString &text)
{
    const int listed = listedIndexOf(text);
    if (listed >= 0 && listed != m_chosenIndex) {
        m_ui->entriesList->selectElement(listed);
    } else if (listed < 0) {
        m_chosenIndex = -1;
        m_ui->entriesList->selectElement(-1);
        if (canContinue())
            emit korwindExecutableSelected(-1, text.toUtf8());
    }
    emit reportCanContinue(canContinue());
}

int KorwindExeChooseWidget::listedIndexOf(const QString &path) const
{
    for (int i = 0; i < m_exes.size(); ++i) {
        if (m_exes.at(i).path == path)
            return i;
    }
    return -1;
}

void KorwindExeChooseWidget::updateRestoreButton()
{
    const bool shown = m_fileSystemAccessible && !m_restoreHidden;
    m_ui->restoreBackups->setVisible(shown);
    m_ui->restoreBackups->setEnabled(shown);
}
