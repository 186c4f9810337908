#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// Builds zip archives byte by byte and remembers where each record starts, so that a test can
// damage exactly one field of an otherwise valid archive.
class ZipForge
{
public:
    enum Descriptor { NoDescriptor, SignedDescriptor, UnsignedDescriptor };

    struct Entry
    {
        QByteArray name;
        QByteArray data;                   // the uncompressed content
        quint16 method = 8;
        quint16 flags = 0;                 // 0x0800 marks a UTF-8 name; 0x0008 is set by descriptor
        Descriptor descriptor = NoDescriptor;
        std::optional<QByteArray> compressed; // bytes stored as they are instead of the compressed data
        std::optional<QByteArray> localName;  // a local header name that differs from the central one
    };

    // Local header field offsets from the record's signature.
    static constexpr int localFlags = 6, localMethod = 8, localCrc = 14, localCompressedSize = 18,
                         localUncompressedSize = 22, localNameLength = 26;
    // Central header field offsets from the record's signature.
    static constexpr int centralMethod = 10, centralCrc = 16, centralCompressedSize = 20,
                         centralUncompressedSize = 24, centralNameLength = 28;
    // End record field offsets.
    static constexpr int endEntryCount = 10, endDirectoryOffset = 16;

    void add(const Entry &entry);
    QByteArray build(const QByteArray &comment = QByteArray());

    qsizetype local(int index) const { return m_locals.at(index); }
    qsizetype central(int index) const { return m_centrals.at(index); }
    qsizetype descriptor(int index) const { return m_descriptors.at(index); }
    qsizetype end() const { return m_end; }

    static QByteArray deflateRaw(const QByteArray &data);

private:
    QList<Entry> m_entries;
    QList<qsizetype> m_locals;
    QList<qsizetype> m_centrals;
    QList<qsizetype> m_descriptors;
    qsizetype m_end = 0;
};

void put16(QByteArray &bytes, qsizetype at, quint16 value);
void put32(QByteArray &bytes, qsizetype at, quint32 value);
