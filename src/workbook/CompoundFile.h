#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QBuffer;
class QIODevice;

// A compound file (OLE2 structured storage): header, FAT with its DIFAT, mini stream with
// its mini FAT, and directory. Gives the streams at the top level of the storage by name,
// reading only their sectors from the device. A damaged container raises XlsFileError;
// chains are walked only as far as the stream's size needs, each sector at most once.
class CompoundFile {
public:
    // The device must be open for reading, stay so while the object lives, and allow seeking.
    explicit CompoundFile(QIODevice &device);
    explicit CompoundFile(const QByteArray &data);
    ~CompoundFile();

    static bool hasSignature(const QByteArray &data);

    // Case-insensitive name of a top-level stream.
    bool hasStream(const QString &name) const;
    // The stream's bytes; an empty array when there is no such stream.
    QByteArray stream(const QString &name) const;

private:
    struct Entry {
        QString name;
        quint8 type = 0;
        quint32 left = 0;
        quint32 right = 0;
        quint32 child = 0;
        quint32 start = 0;
        quint64 size = 0;
    };

    void open();
    // Up to count bytes from offset: fewer at the end of the device.
    QByteArray readAt(std::size_t offset, std::size_t count) const;
    void readHeader();
    void readFat();
    std::vector<quint32> fatSectorList() const;
    void readDirectory();
    Entry parseEntry(const char *p) const;
    void collectTopLevel();
    int findEntry(const QString &name) const;

    std::size_t sectorCount() const;
    std::size_t sectorOffset(quint32 sector) const;
    std::vector<quint32> chain(const std::vector<quint32> &table, quint32 start, std::size_t maxSectors, bool untilEnd,
                               std::size_t sectorLimit) const;
    QByteArray readChain(quint32 start, quint64 size) const;
    QByteArray readMiniChain(quint32 start, quint64 size) const;
    const QByteArray &miniStream() const;

    std::unique_ptr<QBuffer> m_buffer;
    QIODevice *m_device = nullptr;
    std::size_t m_size = 0;
    QByteArray m_header;
    int m_majorVersion = 3;
    int m_sectorShift = 9;
    int m_miniSectorShift = 6;
    quint32 m_miniCutoff = 4096;
    quint32 m_fatSectors = 0;
    quint32 m_firstDirSector = 0;
    quint32 m_firstMiniFatSector = 0;
    quint32 m_firstDifatSector = 0;
    quint32 m_difatSectors = 0;
    std::vector<quint32> m_fat;
    std::vector<quint32> m_miniFat;
    std::vector<Entry> m_entries;
    std::vector<int> m_topLevel;
    mutable QByteArray m_miniStream;
    mutable bool m_miniStreamRead = false;
};
