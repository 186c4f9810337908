#pragma once

#include "dottedversion.h"
#include "enums.h"
#include "mapinfo.h"
#include "productinfo.h"
#include "serverreplyparser.h"

#include <QAuthenticator>
#include <QByteArray>
#include <QList>
#include <QNetworkProxy>
#include <QObject>
#include <QString>
#include <QVector>

#include <memory>

class HTTPPostRequestData;
class HTTPPostRequestSignedData;
class HttpPostRequest;

namespace vktcommon {
class ContinueListener;
}

// Asks the update server one of its four questions at a time and turns the answer into records.
// Every question returns at once; its end comes by exactly one of the getUpdateInfoComplete signals
// (a successful self-update, program or map answer is followed by the status signal with 0).
class InformationClient : public QObject
{
    Q_OBJECT

public:
    static constexpr quint64 requestedChunkSize = 2097152;

    explicit InformationClient(QObject *parent = nullptr);
    ~InformationClient() override;

    // The server the questions go to: the build's address unless changed (tests do).
    QString baseUrl() const { return m_baseUrl; }
    void setBaseUrl(const QString &baseUrl);

    void requestSelfUpdateInfo(const QString &language, vktcommon::ContinueListener *listener);
    // deviceKind as DeviceInfo::Kind. With a non-empty oemInfo the question is a device report.
    void requestProductsInfo(int deviceKind, const DottedVersion &navigatorVersion, const QByteArray &deviceName,
                             const QByteArray &checksum, const QString &oemInfo, const QString &language,
                             vktcommon::ContinueListener *listener);
    void requestMapsInfo(const DottedVersion &navigatorVersion, const QString &language,
                         vktcommon::ContinueListener *listener);
    // fileIdentifier: the server's identifier of the file (PackageFile::extraText).
    void requestFileInfo(const QString &fileIdentifier, const QString &language,
                         vktcommon::ContinueListener *listener);

Q_SIGNALS:
    void getUpdateInfoComplete(ProductInfo _selfUpdateInfo);
    void getUpdateInfoComplete(QList<ProductInfo> _productsInfo);
    void getUpdateInfoComplete(QList<MapInfo> _mapsInfo);
    void getUpdateInfoComplete(QVector<QByteArray> _chunkDigests, quint64 _nChunkSize);
    void getUpdateInfoComplete(SERVER_REPLY_STATUS_CODE _nStatus, QString _strMessage);
    void getUpdateInfoComplete(QString _strError);
    void getUpdateInfoComplete(NETWORK_ERROR_CODE _nErrorCode);
    void proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator);

private Q_SLOTS:
    void _requestComplete(QByteArray _baResponse, QString _strError);
    void _requestComplete(NETWORK_ERROR_CODE _nErrorCode);

private:
    HTTPPostRequestSignedData *newSignedData();
    void send(ServerQuestion question, const char *path, vktcommon::ContinueListener *listener);
    void refuse();
    void answerSealed(ServerQuestion question, const QByteArray &body);
    void answerChunkInformation(const QByteArray &body);

    HttpPostRequest *m_request;
    QString m_baseUrl;
    std::unique_ptr<HTTPPostRequestSignedData> m_signedData;
    std::unique_ptr<HTTPPostRequestData> m_plainData;
    ServerQuestion m_requestKind = SQ_NONE;
};
