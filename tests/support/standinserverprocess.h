#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the stand-in update server (server/) on a free loopback port for one test, with its control
// interface on, and talks to it over plain blocking HTTP.
class StandInServerProcess
{
public:
    // One answer of a blocking request.
    struct Reply
    {
        int httpStatus = 0;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        QString error; // empty when the transfer completed
        QByteArray header(const QByteArray &name) const;
    };

    StandInServerProcess() = default;
    ~StandInServerProcess();
    StandInServerProcess(const StandInServerProcess &) = delete;
    StandInServerProcess &operator=(const StandInServerProcess &) = delete;

    // Starts the server on the catalogue folder; false (with the server's output in errorText()) on failure.
    bool start(const QString &catalogueFolder, const QStringList &extraArguments = QStringList());
    void stop();
    QString errorText() const { return m_errorText; }

    // http://127.0.0.1:<port>, without a trailing slash.
    QString baseUrl() const { return m_baseUrl; }

    // Replaces the fault rules (a JSON array, see server/README.md); reset() also clears the request log.
    bool setFaults(const QByteArray &json);
    bool reset();
    // The requests received since the last reset, oldest first.
    QJsonArray requests();

    Reply get(const QString &path, const QByteArray &range = QByteArray());
    Reply post(const QString &path, const QByteArray &body);

private:
    Reply request(const QByteArray &method, const QString &path, const QByteArray &body, const QByteArray &range);

    QProcess m_process;
    QString m_baseUrl;
    QString m_errorText;
};

// Writes a file (and its folders) below a catalogue folder; false when it cannot.
bool writeCatalogueFile(const QString &catalogueFolder, const QString &relativePath, const QByteArray &content);
