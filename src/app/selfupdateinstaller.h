#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <memory>

class SetupLauncher;
struct ProductInfo;

// Unpacks the downloaded package of a newer update center into a new private folder and starts its setup,
// on a worker thread; ends with taskFinished, whose empty text means the setup was started.
class SelfUpdateInstaller final : public QObject
{
    Q_OBJECT

public:
    explicit SelfUpdateInstaller(QObject *parent = nullptr);
    // With another way of starting the setup (tests stand in for the elevation agent).
    explicit SelfUpdateInstaller(std::shared_ptr<const SetupLauncher> launcher, QObject *parent = nullptr);
    ~SelfUpdateInstaller() override;

    // Installs the package's file from the downloads folder; a task still running is no longer reported.
    void start(const ProductInfo *package);

    // The text shown for an archive status of the zip reader; a failure without a text of its own gives the
    // general installation error, so that no failure reads as success.
    static QString archiveStatusText(int status);

Q_SIGNALS:
    void taskFinished(QString _strText);

private Q_SLOTS:
    void _onTaskFinished();

private:
    static QString install(const QString &archivePath, const QString &temporaryFolder, const SetupLauncher &launcher);

    std::shared_ptr<const SetupLauncher> m_launcher;
    QFutureWatcher<QString> m_watcher;
};
