#pragma once

#include "commandlineoptions.h"
#include "exitstatus.h"
#include "worklock.h"

#include "deviceinfo.h"
#include "dottedversion.h"
#include "enums.h"
#include "korwindcontentinfo.h"
#include "korwindexeinfo.h"
#include "mapdisplayinfo.h"
#include "productinfo.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <functional>

class ServiceSession;

// `korwind-update update`: the wizard's update job on one device, chosen by the command line instead
// of the pages. Everything that can be checked is checked before anything is downloaded or changed:
// the device, the navigator, the content folder, the server's offers, the map selection and its free
// space. Then the navigator job and the map job run, each as download, backup, preparation or old-map
// deletion, and installation, with the rules the wizard follows.
class UpdateCommand
{
    Q_DECLARE_TR_FUNCTIONS(UpdateCommand)

public:
    UpdateCommand(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result);

    Outcome run();

private:
    // The steps of the jobs; their names are a table in the source, in this order.
    enum class Step { Download, Backup, Preparation, OldMapDeletion, NavigatorInstallation, MapInstallation };
    static QString stepKey(Step step);
    static QString stepStage(Step step);
    static QString stepDone(Step step);

    // A job that an interruption cut short is finished before anything else is planned.
    Outcome finishUnfinishedUpdate();
    Outcome plan();
    Outcome chooseNavigatorUpdate();
    Outcome chooseContent();
    Outcome chooseMaps();
    QList<const MapDisplayInfo *> requestedEntries(const QList<const MapDisplayInfo *> &entries,
                                                   Outcome &outcome) const;
    Outcome checkSpace() const;
    void showPlan();

    Outcome runNavigatorJob();
    Outcome runMapJob();
    Outcome download(const QList<PackageFile> &files);
    Outcome backup();
    Outcome prepare();
    Outcome deviceStep(Step step, const std::function<void()> &start);
    void recordStep(Step step, bool done);
    QString failureReport(const Outcome &outcome) const;

    ServiceSession &m_session;
    const CommandLineOptions &m_options;
    QJsonObject &m_result;
    WorkLock m_lock;

    DeviceInfo m_device;
    QStringList m_roots;
    KorwindExeInfo m_executable;
    const ProductInfo *m_navigatorUpdate = nullptr; // owned by the package services
    DottedVersion m_mapsVersion; // the navigator version the maps are for: after the update, if any
    QList<KorwindContentInfo> m_contents;
    const KorwindContentInfo *m_content = nullptr; // owned by the device services
    QList<const MapInfo *> m_mapsToInstall;        // owned by the package services
    QList<const MapInfo *> m_mapsToRemove;
    bool m_deleteOldMaps = false;
    bool m_navigatorBackup = false;
    bool m_mapBackup = false;
    bool m_finishedUnfinishedUpdate = false;

    QJsonArray m_steps;
    QList<Step> m_done;
    bool m_deviceChanged = false;
    QString m_backupId;
};
