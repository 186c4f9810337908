#pragma once

#include "enums.h"
#include "productinfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

// Readers of the update server's answers. Each is strict: a malformed answer yields no record at all.

// The four questions of the update server.
enum ServerQuestion : int {
    SQ_NONE = 0,
    SQ_SELF_UPDATE = 1,
    SQ_PROGRAM_PACKAGES = 2,
    SQ_MAP_PACKAGES = 3,
    SQ_CHUNK_INFORMATION = 4
};

// The server's raw status as the wizard understands it for the given question.
SERVER_REPLY_STATUS_CODE mapServerStatus(ServerQuestion question, int rawStatus);

// The first line of a sealed answer and what follows it.
struct StatusLine
{
    enum Outcome { ContentError, ServerStatus, Payload };

    Outcome outcome = ContentError;
    int rawStatus = 0;
    QString message;    // ServerStatus: the server's message, possibly empty
    QByteArray payload; // Payload (status 0): everything after the first line feed, possibly empty
};

StatusLine parseStatusLine(const QByteArray &body);

// Opened plaintext of the self-update answer: name, description, version, file line.
bool parseSelfUpdateRecord(const QByteArray &plaintext, ProductInfo &product);

// Opened plaintext of the program packages answer: five-line records ended by "DATAEND".
bool parseProgramPackageList(const QByteArray &plaintext, QList<ProductInfo> &products);

// The plain (unsealed) chunk information answer.
struct ChunkInformation
{
    bool isContentError = true;
    int rawStatus = 0;
    QString message;
    quint64 chunkSize = 0;
    QVector<QByteArray> digests; // one 40-digit SHA-1 text per chunk, in file order
};

ChunkInformation parseChunkInformation(const QByteArray &body);
