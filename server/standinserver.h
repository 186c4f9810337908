#pragma once

#include "catalogue.h"
#include "faultrules.h"
#include "formbody.h"
#include "serverprivatekey.h"

#include <QByteArray>
#include <QJsonArray>
#include <QMutex>
#include <QString>

#include <httplib.h>

#include <atomic>
#include <memory>

// The stand-in update server: the four questions with signatures checked and answers sealed,
// ranged downloads of the catalogue's files, fault injection and (optionally) a control interface.
class StandInServer
{
public:
    struct Options
    {
        QString catalogueFolder;
        QString publicUrl; // empty: http://<host>:<port> as bound
        bool control = false;
        bool verbose = false;
    };

    StandInServer(const Options &options, const ServerPrivateKey &key);

    FaultRules &faults() { return m_faults; }

    // Binds (port 0 picks a free one); the bound port, or -1.
    int bind(const QString &host, int port);
    QString publicUrl() const { return m_publicUrl; }
    // Serves until stop() is called from another thread.
    bool run();
    void stop();

private:
    enum Question { SelfUpdate, ProgramPackages, MapPackages, ChunkInformation };
    enum SignatureCheck { SignatureValid, SignatureInvalid, SignatureAbsent };

    // What a question is answered with, before faults and sealing.
    struct Answer
    {
        QByteArray statusLine;
        QByteArray plaintext;
        bool sealed = true;
    };

    void handleQuestion(Question question, const httplib::Request &request, httplib::Response &response);
    void handleFile(const httplib::Request &request, httplib::Response &response);
    void handleControl(const httplib::Request &request, httplib::Response &response);

    Answer answerSelfUpdate(const FormFields &fields);
    Answer answerProgramPackages(const FormFields &fields);
    Answer answerMapPackages(const FormFields &fields);
    Answer answerChunkInformation(const FormFields &fields);
    Answer catalogueError(const QString &error);

    SignatureCheck checkSignature(Question question, const FormFields &fields, QByteArray &sessionPad) const;
    QByteArray seal(const QByteArray &plaintext, const QByteArray &sessionPad, const std::optional<Fault> &fault) const;

    // Applies the faults that come before any answer (redirects, stalls, HTTP statuses, raw bodies);
    // true when the response is complete.
    bool answeredByFault(const httplib::Request &request, httplib::Response &response,
                         const std::optional<Fault> &fault);
    void sendBytes(httplib::Response &response, const QByteArray &contentType, quint64 size,
                   std::function<QByteArray(quint64 offset, qint64 length)> reader, const std::optional<Fault> &fault);
    void sleepUnlessStopped(double seconds) const;
    void logRequest(const httplib::Request &request, const FormFields &fields, const QString &signature);

    Options m_options;
    const ServerPrivateKey &m_key;
    QString m_publicUrl;
    std::unique_ptr<Catalogue> m_catalogue;
    FaultRules m_faults;
    QMutex m_logMutex;
    QJsonArray m_requestLog;
    httplib::Server m_http;
    std::atomic<bool> m_stopping{false};
};
