#include "standinserver.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QSet>
#include <QStringList>
#include <QVector>

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr int padLength = 112;
constexpr qint64 pieceSize = 16384;

const char *const formType = "application/x-www-form-urlencoded";

QByteArray md5(const QByteArray &data)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(data.constData(), size_t(data.size()), digest, &length, EVP_md5(), nullptr);
    return QByteArray(reinterpret_cast<const char *>(digest), int(length));
}

// Four dot-separated numbers; anything else counts as 0.0.0.0.
QVector<int> versionParts(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    QVector<int> numbers;
    for (const QString &part : parts) {
        bool ok = false;
        const int number = part.toInt(&ok);
        if (!ok || parts.size() != 4)
            return QVector<int>(4, 0);
        numbers.append(number);
    }
    return numbers;
}

bool listAccepts(const QStringList &list, const QString &value)
{
    return list.contains(QStringLiteral("*")) || (!value.isEmpty() && list.contains(value));
}

QByteArray protocolVersion(int question)
{
    static const char *const versions[] = {"1.1", "1.1", "2.1", "1.0"};
    return versions[question];
}

} // namespace

StandInServer::StandInServer(const Options &options, const ServerPrivateKey &key) : m_options(options), m_key(key)
{
    // Stalled answers hold a thread each; a larger pool keeps the other requests going meanwhile.
    m_http.new_task_queue = [] { return new httplib::ThreadPool(16); };

    const struct {
        const char *path;
        Question question;
    } questions[] = {{"/vktUpdateInfo/", SelfUpdate},
                     {"/productsInfo/", ProgramPackages},
                     {"/productsInfoForMaps/", MapPackages},
                     {"/fileInfo/", ChunkInformation}};
    for (const auto &entry : questions) {
        const Question question = entry.question;
        m_http.Post(entry.path, [this, question](const httplib::Request &request, httplib::Response &response) {
            handleQuestion(question, request, response);
        });
    }
    m_http.Get("/files/.*", [this](const httplib::Request &request, httplib::Response &response) {
        handleFile(request, response);
    });
    if (m_options.control) {
        const auto control = [this](const httplib::Request &request, httplib::Response &response) {
            handleControl(request, response);
        };
        m_http.Get("/_control/.*", control);
        m_http.Post("/_control/.*", control);
    }
}

int StandInServer::bind(const QString &host, int port)
{
    const std::string address = host.toStdString();
    const int bound = port == 0 ? m_http.bind_to_any_port(address) : (m_http.bind_to_port(address, port) ? port : -1);
    if (bound < 0)
        return -1;
    m_publicUrl = m_options.publicUrl.isEmpty() ? QStringLiteral("http://%1:%2").arg(host).arg(bound)
                                                : m_options.publicUrl;
    m_catalogue = std::make_unique<Catalogue>(m_options.catalogueFolder, m_publicUrl);
    return bound;
}

bool StandInServer::run()
{
    return m_http.listen_after_bind();
}

void StandInServer::stop()
{
    m_stopping = true;
    m_http.stop();
}

void StandInServer::sleepUnlessStopped(double seconds) const
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    // Short sleeps end on time, so that a rate limit holds; long ones wake every 20 ms to see a stop.
    for (Clock::time_point now = Clock::now(); !m_stopping && now < end; now = Clock::now())
        std::this_thread::sleep_for(std::min<Clock::duration>(end - now, std::chrono::milliseconds(20)));
}

void StandInServer::logRequest(const httplib::Request &request, const FormFields &fields, const QString &signature)
{
    QJsonArray fieldList;
    for (const auto &field : fields)
        fieldList.append(QJsonArray{QString::fromUtf8(field.first), QString::fromUtf8(field.second)});
    QJsonObject entry{{QStringLiteral("method"), QString::fromStdString(request.method)},
                      {QStringLiteral("path"), QString::fromStdString(request.path)},
                      {QStringLiteral("target"), QString::fromStdString(request.target)},
                      {QStringLiteral("fields"), fieldList},
                      {QStringLiteral("signature"), signature},
                      {QStringLiteral("range"), QString::fromStdString(request.get_header_value("Range"))}};
    if (m_options.verbose) {
        std::fprintf(stderr, "%s %s%s%s\n", request.method.c_str(), request.target.c_str(),
                     signature.isEmpty() ? "" : " signature ", signature.toUtf8().constData());
    }
    QMutexLocker locker(&m_logMutex);
    m_requestLog.append(entry);
}

bool StandInServer::answeredByFault(const httplib::Request &request, httplib::Response &response,
                                    const std::optional<Fault> &fault)
{
    // A redirect chain carries its position in the query, so every hop has a URL of its own.
    const int hop = QByteArray::fromStdString(request.get_param_value("hop")).toInt();
    const int hops = request.has_param("of") ? QByteArray::fromStdString(request.get_param_value("of")).toInt()
                                             : (fault ? fault->redirects : 0);
    if (hop < hops) {
        const QString target = m_publicUrl + QString::fromStdString(request.path)
                               + QStringLiteral("?hop=%1&of=%2").arg(hop + 1).arg(hops);
        response.set_redirect(target.toStdString(), 302);
        return true;
    }
    if (!fault)
        return false;
    if (fault->redirectToSelf) {
        response.set_redirect(QString(m_publicUrl + QString::fromStdString(request.target)).toStdString(), 302);
        return true;
    }
    if (fault->stallSeconds > 0 && fault->stallAfter < 0)
        sleepUnlessStopped(fault->stallSeconds);
    if (fault->httpStatus != 0) {
        response.status = fault->httpStatus;
        if (fault->httpStatus == 407)
            response.set_header("Proxy-Authenticate", "Basic realm=\"stand-in\"");
        if (fault->httpStatus == 401)
            response.set_header("WWW-Authenticate", "Basic realm=\"stand-in\"");
        response.set_content(fault->body.value_or(QByteArray("refused by a fault rule\n")).toStdString(), "text/plain");
        return true;
    }
    return false;
}

void StandInServer::sendBytes(httplib::Response &response, const QByteArray &contentType, quint64 size,
                              std::function<QByteArray(quint64 offset, qint64 length)> reader,
                              const std::optional<Fault> &fault)
{
    if (size == 0) {
        response.set_content(std::string(), contentType.toStdString());
        return;
    }
    const Fault faults = fault.value_or(Fault());
    auto sent = std::make_shared<qint64>(0);
    auto stalled = std::make_shared<bool>(false);
    response.set_content_provider(
        size_t(size), contentType.toStdString(),
        [this, faults, sent, stalled, reader](size_t offset, size_t length, httplib::DataSink &sink) {
            qint64 want = qMin<qint64>(qint64(length), pieceSize);
            if (faults.rate > 0)
                want = qMax<qint64>(1, qMin<qint64>(want, faults.rate / 10));
            if (faults.dropAfter >= 0)
                want = qMin<qint64>(want, faults.dropAfter - *sent);
            if (faults.stallAfter >= 0 && !*stalled && *sent < faults.stallAfter)
                want = qMin<qint64>(want, faults.stallAfter - *sent);
            if (faults.stallAfter >= 0 && !*stalled && *sent >= faults.stallAfter) {
                *stalled = true;
                sleepUnlessStopped(faults.stallSeconds > 0 ? faults.stallSeconds : 3600);
            }
            if (want <= 0 || m_stopping)
                return false; // closes the connection mid-body
            QByteArray piece = reader(offset, want);
            if (piece.isEmpty())
                return false;
            for (const qint64 corrupted : faults.corrupt) {
                if (corrupted >= qint64(offset) && corrupted < qint64(offset) + piece.size())
                    piece[corrupted - qint64(offset)] = char(piece[corrupted - qint64(offset)] ^ 0xFF);
            }
            if (faults.rate > 0)
                sleepUnlessStopped(double(piece.size()) / double(faults.rate));
            *sent += piece.size();
            return sink.write(piece.constData(), size_t(piece.size()));
        });
}

void StandInServer::handleQuestion(Question question, const httplib::Request &request, httplib::Response &response)
{
    FormFields fields;
    const bool wellFormed = parseFormBody(QByteArray::fromStdString(request.body), fields);
    QByteArray sessionPad;
    const SignatureCheck signature = wellFormed ? checkSignature(question, fields, sessionPad) : SignatureInvalid;
    static const char *const signatureNames[] = {"valid", "invalid", "absent"};
    logRequest(request, fields, QString::fromLatin1(signatureNames[signature]));

    const std::optional<Fault> fault =
        request.has_param("of") ? std::nullopt : m_faults.take(QString::fromStdString(request.path));
    if (answeredByFault(request, response, fault))
        return;
    if (fault && fault->body) {
        sendBytes(response, "text/plain", quint64(fault->body->size()), [body = *fault->body](quint64 offset, qint64 length) {
            return body.mid(qsizetype(offset), qsizetype(length));
        }, fault);
        return;
    }

    // Every signed question must carry a signature that matches its fields.
    if (!wellFormed || (question != ChunkInformation && signature != SignatureValid)
        || request.get_header_value("Content-Type").rfind(formType, 0) != 0) {
        response.status = 403;
        response.set_content("the request's signature does not match its fields\n", "text/plain");
        return;
    }

    Answer answer;
    if (formValue(fields, "version") != protocolVersion(question)) {
        answer.statusLine = "1,Unsupported protocol version";
        if (question == ChunkInformation) {
            answer.sealed = false;
            answer.plaintext = "0";
        }
    } else {
        switch (question) {
        case SelfUpdate:
            answer = answerSelfUpdate(fields);
            break;
        case ProgramPackages:
            answer = answerProgramPackages(fields);
            break;
        case MapPackages:
            answer = answerMapPackages(fields);
            break;
        case ChunkInformation:
            answer = answerChunkInformation(fields);
            break;
        }
    }
    if (fault && fault->plaintext) {
        answer.statusLine = "0";
        answer.plaintext = *fault->plaintext;
    }
    if (fault && fault->statusLine)
        answer.statusLine = *fault->statusLine;

    QByteArray body = answer.statusLine;
    if (answer.sealed && !answer.plaintext.isEmpty())
        body += '\n' + seal(answer.plaintext, sessionPad, fault);
    else if (!answer.sealed && !answer.plaintext.isEmpty())
        body += '\n' + answer.plaintext;
    sendBytes(response, "text/plain", quint64(body.size()), [body](quint64 offset, qint64 length) {
        return body.mid(qsizetype(offset), qsizetype(length));
    }, fault);
}

StandInServer::SignatureCheck StandInServer::checkSignature(Question question, const FormFields &fields,
                                                           QByteArray &sessionPad) const
{
    static const QSet<QByteArray> signedNames[] = {
        {"platform", "arch"},
        {"checksum", "typefile", "platformname", "devicename", "korwindVer"},
        {},
        {}};
    const qsizetype signIndex = findFormField(fields, "sign");
    if (signIndex < 0)
        return SignatureAbsent;
    if (signIndex != fields.size() - 1)
        return SignatureInvalid;

    const auto decoding = QByteArray::fromBase64Encoding(fields[signIndex].second, QByteArray::AbortOnBase64DecodingErrors);
    const QByteArray block = decoding ? m_key.rawPrivateOperation(decoding.decoded) : QByteArray();
    if (block.size() != m_key.length())
        return SignatureInvalid;

    QByteArrayList lines;
    for (qsizetype i = 0; i < signIndex; ++i) {
        if (signedNames[question].contains(fields[i].first))
            lines.append(fields[i].first + '=' + fields[i].second);
    }
    if (md5(lines.join('\n')) != block.mid(padLength))
        return SignatureInvalid;
    sessionPad = block.left(padLength);
    return SignatureValid;
}

QByteArray StandInServer::seal(const QByteArray &plaintext, const QByteArray &sessionPad,
                               const std::optional<Fault> &fault) const
{
    QByteArray serverPad(padLength, '\0');
    RAND_bytes(reinterpret_cast<unsigned char *>(serverPad.data()), padLength);
    serverPad[0] = char(serverPad[0] & 0x7F);
    const QByteArray sealedBlock = m_key.rawPrivateOperation(serverPad + md5(plaintext));

    QByteArray ciphertext = plaintext;
    for (qsizetype i = 0; i < ciphertext.size(); ++i)
        ciphertext[i] = char(ciphertext[i] ^ sessionPad[i % padLength] ^ serverPad[i % padLength]);
    if (fault && fault->tamper >= 0 && fault->tamper < ciphertext.size())
        ciphertext[fault->tamper] = char(ciphertext[fault->tamper] ^ 0x01);

    QByteArray encoded = QByteArray(sealedBlock + ciphertext).toBase64();
    if (fault && fault->truncateSeal >= 0)
        encoded.truncate(fault->truncateSeal);
    return encoded;
}

StandInServer::Answer StandInServer::catalogueError(const QString &error)
{
    std::fprintf(stderr, "catalogue error: %s\n", error.toUtf8().constData());
    Answer answer;
    answer.statusLine = "4,The update server's catalogue is broken.";
    return answer;
}

StandInServer::Answer StandInServer::answerSelfUpdate(const FormFields &)
{
    Catalogue::Package package;
    bool offered = false;
    QString error;
    QByteArray fileLine;
    if (!m_catalogue->selfUpdate(package, offered, error) || (offered && !m_catalogue->fileLine(package.file, fileLine, error)))
        return catalogueError(error);
    Answer answer;
    if (!offered) {
        answer.statusLine = "1,"; // no newer version: a status without message
        return answer;
    }
    answer.statusLine = "0";
    answer.plaintext = package.name.toUtf8() + '\n' + package.description.toUtf8() + '\n' + package.version.toUtf8()
                       + '\n' + fileLine;
    return answer;
}

StandInServer::Answer StandInServer::answerProgramPackages(const FormFields &fields)
{
    Answer answer;
    const QByteArray report = formValue(fields, "oeminfo");
    if (!report.isEmpty()) {
        std::printf("device report: devicename=%s typefile=%s korwindVer=%s oeminfo=%s\n",
                    formValue(fields, "devicename").constData(), formValue(fields, "typefile").constData(),
                    formValue(fields, "korwindVer").constData(), report.constData());
        std::fflush(stdout);
        answer.statusLine = "0";
        answer.plaintext = "DATAEND";
        return answer;
    }

    QList<Catalogue::Package> packages;
    QString error;
    if (!m_catalogue->navigatorPackages(packages, error))
        return catalogueError(error);

    const QString typefile = QString::fromUtf8(formValue(fields, "typefile"));
    const QString checksum = QString::fromUtf8(formValue(fields, "checksum"));
    const QString deviceName = QString::fromUtf8(formValue(fields, "devicename"));
    const QVector<int> installed = versionParts(QString::fromUtf8(formValue(fields, "korwindVer")));
    bool deviceKnown = false;
    QByteArray records;
    for (const Catalogue::Package &package : qAsConst(packages)) {
        const bool forDevice = package.typefile == typefile
                               && (checksum.isEmpty() ? listAccepts(package.deviceNames, deviceName)
                                                      : listAccepts(package.checksums, checksum));
        if (!forDevice)
            continue;
        deviceKnown = true;
        if (!(installed < versionParts(package.version)))
            continue;
        QByteArray fileLine;
        if (!m_catalogue->fileLine(package.file, fileLine, error))
            return catalogueError(error);
        records += package.name.toUtf8() + '\n' + package.description.toUtf8() + '\n' + package.version.toUtf8()
                   + '\n' + fileLine + '\n' + package.typefile.toUtf8() + '\n';
    }
    if (!deviceKnown) {
        answer.statusLine = "3,This device is not known to the update server.";
        return answer;
    }
    answer.statusLine = "0";
    answer.plaintext = records + "DATAEND";
    return answer;
}

StandInServer::Answer StandInServer::answerMapPackages(const FormFields &fields)
{
    Answer answer;
    QByteArray list;
    bool found = false;
    QString error;
    if (!m_catalogue->mapList(QString::fromUtf8(formValue(fields, "korwindVer")), list, found, error))
        return catalogueError(error);
    if (!found) {
        answer.statusLine = "4,No maps are offered for this Korwind Navigator version.";
        return answer;
    }
    answer.statusLine = "0";
    answer.plaintext = list; // an empty list file gives the bare status 0
    return answer;
}

StandInServer::Answer StandInServer::answerChunkInformation(const FormFields &fields)
{
    Answer answer;
    answer.sealed = false;
    // Error answers still carry the chunk-size line the client expects after the status line.
    const QString path = m_catalogue->filePath(QString::fromUtf8(formValue(fields, "file")));
    bool sizeOk = false;
    const quint64 blockSize = formValue(fields, "blocksize").toULongLong(&sizeOk);
    if (path.isEmpty()) {
        answer.statusLine = "3,Unknown file";
        answer.plaintext = "0";
    } else if (!sizeOk || blockSize == 0) {
        answer.statusLine = "5,Bad block size";
        answer.plaintext = "0";
    } else {
        answer.statusLine = "0";
        answer.plaintext = QByteArray::number(blockSize);
        for (const QByteArray &digest : m_catalogue->digests(path, blockSize))
            answer.plaintext += '\n' + digest;
    }
    return answer;
}

void StandInServer::handleFile(const httplib::Request &request, httplib::Response &response)
{
    logRequest(request, FormFields(), QString());
    const std::optional<Fault> fault =
        request.has_param("of") ? std::nullopt : m_faults.take(QString::fromStdString(request.path));
    if (answeredByFault(request, response, fault))
        return;

    const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray::fromStdString(request.path.substr(7))));
    const QString path = m_catalogue->filePath(name);
    if (path.isEmpty()) {
        response.status = 404;
        response.set_content("no such file\n", "text/plain");
        return;
    }
    auto file = std::make_shared<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        response.status = 500;
        return;
    }
    if (fault && fault->ignoreRange) {
        // cpp-httplib answers Range requests by itself from the parsed ranges; this fault plays a
        // server that ignores the header, so the ranges are hidden from it.
        const_cast<httplib::Request &>(request).ranges.clear();
        response.status = 200;
    }
    sendBytes(response, "application/octet-stream", quint64(file->size()), [file](quint64 offset, qint64 length) {
        return file->seek(qint64(offset)) ? file->read(length) : QByteArray();
    }, fault);
}

void StandInServer::handleControl(const httplib::Request &request, httplib::Response &response)
{
    if (request.path == "/_control/requests" && request.method == "GET") {
        QMutexLocker locker(&m_logMutex);
        response.set_content(QJsonDocument(m_requestLog).toJson(QJsonDocument::Compact).toStdString(), "application/json");
    } else if (request.path == "/_control/faults" && request.method == "POST") {
        QString error;
        if (!m_faults.set(QByteArray::fromStdString(request.body), error)) {
            response.status = 400;
            response.set_content(error.toStdString() + "\n", "text/plain");
            return;
        }
        response.set_content("ok\n", "text/plain");
    } else if (request.path == "/_control/reset" && request.method == "POST") {
        m_faults.clear();
        QMutexLocker locker(&m_logMutex);
        m_requestLog = QJsonArray();
        response.set_content("ok\n", "text/plain");
    } else {
        response.status = 404;
    }
}
