#include "pndworkflowlogic.h"

#include "abstractdeviceservices.h"
#include "abstractnetworkservices.h"
#include "abstractpackageservices.h"
#include "onlyreceiver.h"
#include "ui_basewindow.h"

PNDWorkflowLogic::PNDWorkflowLogic(MainWindow *window) : DeviceWorkflowLogic(window)
{
    connect(deviceServices, &AbstractDeviceServices::foundPossibleKorwindInstallations, this,
            &PNDWorkflowLogic::_onMultiExesFound);
}

void PNDWorkflowLogic::start()
{
    _showMultiExeSearchPage();
}

void PNDWorkflowLogic::_onMultiExesFound(QList<KorwindExeInfo> _exeInfoes, QList<QString> _deviceRoots,
                                         bool _bFileSystemIsAccessible, FileExistingChecker *_pFileChecker)
{
    m_executables = _exeInfoes;
    m_deviceRoots = _deviceRoots;
    m_fileSystemIsAccessible = _bFileSystemIsAccessible;
    m_fileChecker = _pFileChecker;
}

void PNDWorkflowLogic::_showMultiExeSearchPage()
{
    recordState(this, &PNDWorkflowLogic::_showMultiExeSearchPage, PageState::Unstable);
    showProgressPage(tr("Searching for Korwind Navigator installed..."), PT_PERCENT, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &PNDWorkflowLogic::_onMultiExeSearchFinished);
    deviceServices->searchNavigatorInstallations();
}

void PNDWorkflowLogic::_onMultiExeSearchFinished(QString _strError)
{
    if (_strError.isEmpty())
        _showMultiExeUpdateCheckPage();
    else
        showRetryBackError(_strError);
}

void PNDWorkflowLogic::_showMultiExeUpdateCheckPage()
{
    recordState(this, &PNDWorkflowLogic::_showMultiExeUpdateCheckPage, PageState::Unstable);
    showProgressPage(tr("Searching for Korwind Navigator installed..."), PT_BUSY, [this] {
        m_checksCancelled = true;
        cancelNetwork();
    });
    m_index = 0;
    m_checksCancelled = false;
    if (m_executables.isEmpty())
        showExecutables();
    else
        _checkNextKorwindUpdate();
}

void PNDWorkflowLogic::_checkNextKorwindUpdate()
{
    const KorwindExeInfo &executable = m_executables.at(m_index);
    packageServices->foundInstalledKorwind(executable.version);
    connectAsOnlyReceiver(networkServices, qOverload<UpdateCheckError>(&AbstractNetworkServices::taskFinished), this, &PNDWorkflowLogic::_onKorwindUpdateCheckFinished);
    networkServices->checkNavigatorUpdate(chosenDevice(), executable, QString());
}

void PNDWorkflowLogic::_onKorwindUpdateCheckFinished(UpdateCheckError _error)
{
    KorwindExeInfo &executable = m_executables[m_index];
    executable.checkCode = _error.code;
    executable.checkMessage = _error.message;
    executable.checkDetail = _error.detail;
    if (_error.text().isEmpty()) {
        QList<const ProductInfo *> offered;
        packageServices->offeredNavigatorUpdates(offered);
        executable.updateVersion = offered.isEmpty() ? QString() : offered.first()->version;
    }
    if (++m_index < m_executables.size() && !m_checksCancelled)
        _checkNextKorwindUpdate();
    else
        showExecutables();
}

void PNDWorkflowLogic::showExecutables()
{
    ui->selectKorwindPage->addKorwindExes(m_executables, m_deviceRoots, m_fileSystemIsAccessible, m_fileChecker);
    _showMultiExeListPage();
}

void PNDWorkflowLogic::_showMultiExeListPage()
{
    recordState(this, &PNDWorkflowLogic::_showMultiExeListPage, PageState::Stable);
    showChoicePage(ui->selectKorwindPage, [this] { _showMultiExeVerifyPage(); }, ui->selectKorwindPage->canContinue());
    ui->selectKorwindPage->setRestoreBackupButtonHidden(true);
    deviceServices->findDeviceSpecificBackups();
}

void PNDWorkflowLogic::_showMultiExeVerifyPage()
{
    const int chosen = ui->selectKorwindPage->chosenExecutableIndex();
    if (chosen >= 0 && chosen < m_executables.size()
        && m_executables.at(chosen).checkCode == UpdateCheckError::UnknownDevice) {
        Q_EMIT unknownDevice();
        return;
    }
    recordState(this, &PNDWorkflowLogic::_showMultiExeVerifyPage, PageState::Unstable);
    const QString path = ui->selectKorwindPage->chosenExecutablePath();
    showProgressPage(tr("Checking out Korwind Navigator executable file..."), PT_PERCENT, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &PNDWorkflowLogic::_onMultiExeVerifyFinished);
    deviceServices->selectNavigatorExecutable(path);
}

void PNDWorkflowLogic::_onMultiExeVerifyFinished(QString _strError)
{
    if (_strError.isEmpty())
        Q_EMIT done();
    else
        showRetryBackError(_strError);
}
