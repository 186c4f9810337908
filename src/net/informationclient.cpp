#include "informationclient.h"

#include "deviceinfo.h"
#include "httppostrequest.h"
#include "httppostrequestsigneddata.h"
#include "packagelistparser.h"
#include "sealedreply.h"
#include "serverkey.h"

#include <QUrl>

namespace {

const QString platformName = QStringLiteral("windows");
const QString architecture = QStringLiteral("x86");
// Sent only when not empty; this build has none.
const QString clientName;

QString packageFileType(int deviceKind)
{
    switch (deviceKind) {
    case DeviceInfo::ActiveSync:
        return QStringLiteral("cab");
    case DeviceInfo::Storage:
        return QStringLiteral("zip");
    case DeviceInfo::Symbian:
        return QStringLiteral("sis");
    case DeviceInfo::Android:
        return QStringLiteral("apk");
    default:
        return QString();
    }
}

QString devicePlatformName(int deviceKind)
{
    switch (deviceKind) {
    case DeviceInfo::Symbian:
        return QStringLiteral("SYMBIAN");
    case DeviceInfo::Android:
        return QStringLiteral("ANDROID");
    default:
        return QString();
    }
}

} // namespace

InformationClient::InformationClient(QObject *parent)
    : QObject(parent), m_request(new HttpPostRequest(this)), m_baseUrl(QStringLiteral(VKT_SERVER_BASE_URL))
{
    ServerKey::restore();
    connect(m_request, qOverload<QByteArray, QString>(&HttpPostRequest::requestComplete), this,
            qOverload<QByteArray, QString>(&InformationClient::_requestComplete), Qt::QueuedConnection);
    connect(m_request, qOverload<NETWORK_ERROR_CODE>(&HttpPostRequest::requestComplete), this,
            qOverload<NETWORK_ERROR_CODE>(&InformationClient::_requestComplete), Qt::QueuedConnection);
    connect(m_request, &HttpPostRequest::proxyAuthenticationRequired, this,
            &InformationClient::proxyAuthenticationRequired, Qt::DirectConnection);
}

InformationClient::~InformationClient() = default;

void InformationClient::setBaseUrl(const QString &baseUrl)
{
    m_baseUrl = baseUrl;
}

void InformationClient::requestSelfUpdateInfo(const QString &language, vktcommon::ContinueListener *listener)
{
    if (language.isEmpty()) {
        refuse();
        return;
    }
    HTTPPostRequestSignedData *data = newSignedData();
    data->addField(QStringLiteral("version"), QStringLiteral("1.1"), true);
    data->addField(QStringLiteral("language"), language, true);
    data->addField(QStringLiteral("platform"), platformName, false);
    data->addField(QStringLiteral("arch"), architecture, false);
    send(SQ_SELF_UPDATE, "/vktUpdateInfo/", listener);
}

void InformationClient::requestProductsInfo(int deviceKind, const DottedVersion &navigatorVersion,
                                            const QByteArray &deviceName, const QByteArray &checksum,
                                            const QString &oemInfo, const QString &language,
                                            vktcommon::ContinueListener *listener)
{
    // A device report goes out whatever is known of the navigator.
    if (oemInfo.isEmpty() && (language.isEmpty() || navigatorVersion.isZero())) {
        refuse();
        return;
    }
    HTTPPostRequestSignedData *data = newSignedData();
    data->addField(QStringLiteral("version"), QStringLiteral("1.1"), true);
    data->addField(QStringLiteral("language"), language, true);
    if (!oemInfo.isEmpty())
        data->addField(QStringLiteral("oeminfo"), oemInfo, true);
    if (!checksum.isEmpty())
        data->addField(QStringLiteral("checksum"), QString::fromUtf8(checksum), false);
    data->addField(QStringLiteral("typefile"), packageFileType(deviceKind), false);
    if (checksum.isEmpty()) {
        data->addField(QStringLiteral("platformname"), devicePlatformName(deviceKind), false);
        data->addField(QStringLiteral("devicename"),
                       deviceKind == DeviceInfo::Symbian ? QStringLiteral("SYMBIAN") : QString::fromUtf8(deviceName),
                       false);
    }
    data->addField(QStringLiteral("korwindVer"), navigatorVersion.toString(), false);
    send(SQ_PROGRAM_PACKAGES, "/productsInfo/", listener);
}

void InformationClient::requestMapsInfo(const DottedVersion &navigatorVersion, const QString &language,
                                        vktcommon::ContinueListener *listener)
{
    if (language.isEmpty() || navigatorVersion.isZero()) {
        refuse();
        return;
    }
    HTTPPostRequestSignedData *data = newSignedData();
    // None of the fields is signed, but the sealed answer needs the session pad of a signature.
    data->setSignedWithoutFields(true);
    data->addField(QStringLiteral("version"), QStringLiteral("2.1"), true);
    data->addField(QStringLiteral("language"), language, true);
    data->addField(QStringLiteral("korwindVer"), navigatorVersion.toString(), true);
    if (!clientName.isEmpty())
        data->addField(QStringLiteral("clientname"), clientName, true);
    send(SQ_MAP_PACKAGES, "/productsInfoForMaps/", listener);
}

void InformationClient::requestFileInfo(const QString &fileIdentifier, const QString &language,
                                        vktcommon::ContinueListener *listener)
{
    m_signedData.reset();
    m_plainData = std::make_unique<HTTPPostRequestData>();
    m_plainData->addField(QStringLiteral("version"), QStringLiteral("1.0"));
    m_plainData->addField(QStringLiteral("language"), language);
    m_plainData->addField(QStringLiteral("file"), fileIdentifier);
    m_plainData->addField(QStringLiteral("blocksize"), QString::number(requestedChunkSize));
    send(SQ_CHUNK_INFORMATION, "/fileInfo/", listener);
}

HTTPPostRequestSignedData *InformationClient::newSignedData()
{
    m_plainData.reset();
    m_signedData = std::make_unique<HTTPPostRequestSignedData>(ServerKey::modulus(), ServerKey::modulusLength);
    return m_signedData.get();
}

void InformationClient::send(ServerQuestion question, const char *path, vktcommon::ContinueListener *listener)
{
    m_requestKind = question;
    HTTPPostRequestData *data = m_signedData ? static_cast<HTTPPostRequestData *>(m_signedData.get()) : m_plainData.get();
    m_request->post(data, QUrl(m_baseUrl + QLatin1String(path)), listener);
}

void InformationClient::refuse()
{
    emit getUpdateInfoComplete(NEC_CONTENT_ERROR);
}

void InformationClient::_requestComplete(QByteArray _baResponse, QString _strError)
{
    const ServerQuestion question = m_requestKind;
    m_requestKind = SQ_NONE;
    if (!_strError.isEmpty()) {
        m_signedData.reset();
        m_plainData.reset();
        emit getUpdateInfoComplete(_strError);
        return;
    }
    switch (question) {
    case SQ_SELF_UPDATE:
    case SQ_PROGRAM_PACKAGES:
    case SQ_MAP_PACKAGES:
        answerSealed(question, _baResponse);
        break;
    case SQ_CHUNK_INFORMATION:
        answerChunkInformation(_baResponse);
        break;
    case SQ_NONE:
        break;
    }
}

void InformationClient::_requestComplete(NETWORK_ERROR_CODE _nErrorCode)
{
    m_requestKind = SQ_NONE;
    m_signedData.reset();
    m_plainData.reset();
    emit getUpdateInfoComplete(_nErrorCode);
}

void InformationClient::answerSealed(ServerQuestion question, const QByteArray &body)
{
    // The question's data goes before any signal, so that a receiver may ask the next question at once.
    const std::unique_ptr<HTTPPostRequestSignedData> data = std::move(m_signedData);
    m_plainData.reset();

    const StatusLine line = parseStatusLine(body);
    if (line.outcome == StatusLine::ServerStatus) {
        emit getUpdateInfoComplete(mapServerStatus(question, line.rawStatus), line.message);
        return;
    }
    if (line.outcome == StatusLine::Payload && line.payload.isEmpty() && question == SQ_MAP_PACKAGES) {
        emit getUpdateInfoComplete(QList<MapInfo>());
        emit getUpdateInfoComplete(SRS_OK, QString());
        return;
    }
    SealedReply opened;
    if (line.outcome == StatusLine::Payload && !line.payload.isEmpty() && data)
        opened = openSealedReply(line.payload, data->sessionPad(), data->keyData(), data->keyLength());

    bool parsed = false;
    if (opened.status == SealedReply::Opened) {
        if (question == SQ_SELF_UPDATE) {
            ProductInfo product;
            parsed = parseSelfUpdateRecord(opened.plaintext, product);
            if (parsed)
                emit getUpdateInfoComplete(product);
        } else if (question == SQ_PROGRAM_PACKAGES) {
            QList<ProductInfo> products;
            parsed = parseProgramPackageList(opened.plaintext, products);
            if (parsed)
                emit getUpdateInfoComplete(products);
        } else {
            QList<MapInfo> maps;
            parsed = parseMapPackageList(opened.plaintext, maps);
            if (parsed)
                emit getUpdateInfoComplete(maps);
        }
    }
    if (parsed)
        emit getUpdateInfoComplete(SRS_OK, QString());
    else
        emit getUpdateInfoComplete(NEC_CONTENT_ERROR);
}

void InformationClient::answerChunkInformation(const QByteArray &body)
{
    m_signedData.reset();
    m_plainData.reset();
    const ChunkInformation answer = parseChunkInformation(body);
    if (answer.isContentError)
        emit getUpdateInfoComplete(NEC_CONTENT_ERROR);
    else if (answer.rawStatus == 0)
        emit getUpdateInfoComplete(answer.digests, answer.chunkSize);
    else
        emit getUpdateInfoComplete(mapServerStatus(SQ_CHUNK_INFORMATION, answer.rawStatus), answer.message);
}
