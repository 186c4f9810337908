#pragma once

#include "deviceworkflowlogic.h"
#include "korwindexeinfo.h"
#include "updatecheckerror.h"

#include <QList>
#include <QString>

class FileExistingChecker;

// USB storage devices: searches the device for navigator executables, asks the server about each in
// turn, lets the user choose one (or type a path) and checks the chosen file.
class PNDWorkflowLogic final : public DeviceWorkflowLogic
{
    Q_OBJECT

public:
    explicit PNDWorkflowLogic(MainWindow *window);

    void start() override;
    bool needsReconnectionBeforeReadingMaps() const override { return false; }
    bool needsReconnectionBeforeInstallingMaps() const override { return false; }
    bool canChooseNavigatorUpdate() const override { return true; }
    bool backsUpProgramWithMaps() const override { return true; }
    bool preparesInstallation() const override { return true; }

private Q_SLOTS:
    void _showMultiExeSearchPage();
    void _showMultiExeUpdateCheckPage();
    void _checkNextKorwindUpdate();
    void _onKorwindUpdateCheckFinished(UpdateCheckError _error);
    void _showMultiExeListPage();
    void _showMultiExeVerifyPage();
    void _onMultiExeVerifyFinished(QString _strError);
    void _onMultiExeSearchFinished(QString _strError);
    void _onMultiExesFound(QList<KorwindExeInfo> _exeInfoes, QList<QString> _deviceRoots,
                           bool _bFileSystemIsAccessible, FileExistingChecker *_pFileChecker);

private:
    void showExecutables();

    QList<KorwindExeInfo> m_executables;
    QList<QString> m_deviceRoots;
    bool m_fileSystemIsAccessible = false;
    FileExistingChecker *m_fileChecker = nullptr;
    int m_index = -1;
    bool m_checksCancelled = false; // one Cancel ends the checks of all executables
};
