#include "workbook/CompoundFile.h"

#include "workbook/XlsByteReader.h"
#include "workbook/XlsFileError.h"

#include <QBuffer>
#include <algorithm>
#include <cstring>

namespace {
constexpr quint32 kEndOfChain = 0xFFFFFFFEu;
constexpr quint32 kFreeSector = 0xFFFFFFFFu;
constexpr quint32 kNoStream = 0xFFFFFFFFu;
// Sector numbers from here up are markers, not sectors.
constexpr quint32 kMaxRegularSector = 0xFFFFFFFAu;
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kEntrySize = 128;
constexpr int kHeaderDifatEntries = 109;
constexpr quint8 kStreamEntry = 2;
constexpr quint8 kRootEntry = 5;
const char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

[[noreturn]] void damaged(const char *detail)
{
    throw XlsFileError::damaged(detail);
}
} // namespace

CompoundFile::CompoundFile(QIODevice &device) : m_device(&device)
{
    open();
}

CompoundFile::CompoundFile(const QByteArray &data) : m_buffer(std::make_unique<QBuffer>())
{
    m_buffer->setData(data);
    m_buffer->open(QIODevice::ReadOnly);
    m_device = m_buffer.get();
    open();
}

CompoundFile::~CompoundFile() = default;

QByteArray CompoundFile::readAt(std::size_t offset, std::size_t count) const
{
    if (offset >= m_size)
        damaged("read past the end of the file");
    count = std::min(count, m_size - offset);
    QByteArray bytes(static_cast<qsizetype>(count), Qt::Uninitialized);
    if (!m_device->seek(static_cast<qint64>(offset))
        || m_device->read(bytes.data(), static_cast<qint64>(count)) != static_cast<qint64>(count))
        damaged("file cannot be read");
    return bytes;
}

void CompoundFile::open()
{
    m_size = static_cast<std::size_t>(std::max<qint64>(0, m_device->size()));
    readHeader();
    readFat();
    readDirectory();
    collectTopLevel();
    if (m_firstMiniFatSector < kMaxRegularSector) {
        const auto sectors = chain(m_fat, m_firstMiniFatSector, 0, true, sectorCount());
        const std::size_t perSector = (std::size_t(1) << m_sectorShift) / 4;
        m_miniFat.reserve(sectors.size() * perSector);
        for (quint32 s : sectors) {
            const QByteArray bytes = readAt(sectorOffset(s), perSector * 4);
            for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
                m_miniFat.push_back(XlsByteReader::u32At(bytes.constData() + i));
        }
    }
}

bool CompoundFile::hasSignature(const QByteArray &data)
{
    return data.size() >= 8 && std::memcmp(data.constData(), kSignature, 8) == 0;
}

void CompoundFile::readHeader()
{
    const QByteArray header = m_size > 0 ? readAt(0, kHeaderSize) : QByteArray();
    if (!hasSignature(header))
        throw XlsFileError::notAWorkbook("not a compound file");
    if (m_size < kHeaderSize)
        damaged("shorter than the compound file header");
    m_header = header;
    const char *h = header.constData();
    m_majorVersion = XlsByteReader::u16At(h + 0x1A);
    m_sectorShift = XlsByteReader::u16At(h + 0x1E);
    m_miniSectorShift = XlsByteReader::u16At(h + 0x20);
    if (m_sectorShift < 7 || m_sectorShift > 16 || m_miniSectorShift < 1 || m_miniSectorShift >= m_sectorShift)
        damaged("bad sector size");
    if (m_size < (std::size_t(1) << m_sectorShift))
        damaged("shorter than its header sector");
    m_fatSectors = XlsByteReader::u32At(h + 0x2C);
    m_firstDirSector = XlsByteReader::u32At(h + 0x30);
    const quint32 cutoff = XlsByteReader::u32At(h + 0x38);
    m_miniCutoff = (cutoff == 0 || cutoff > (1u << 20)) ? 4096 : cutoff;
    m_firstMiniFatSector = XlsByteReader::u32At(h + 0x3C);
    m_firstDifatSector = XlsByteReader::u32At(h + 0x44);
    m_difatSectors = XlsByteReader::u32At(h + 0x48);
    if (m_fatSectors > sectorCount())
        damaged("more FAT sectors than the file holds");
}

std::size_t CompoundFile::sectorCount() const
{
    const std::size_t sectorSize = std::size_t(1) << m_sectorShift;
    return (m_size - sectorSize + sectorSize - 1) / sectorSize;
}

std::size_t CompoundFile::sectorOffset(quint32 sector) const
{
    return (std::size_t(sector) + 1) << m_sectorShift;
}

std::vector<quint32> CompoundFile::fatSectorList() const
{
    std::vector<quint32> list;
    const char *h = m_header.constData();
    for (int i = 0; i < kHeaderDifatEntries && list.size() < m_fatSectors; ++i) {
        const quint32 s = XlsByteReader::u32At(h + 0x4C + 4 * i);
        if (s >= kMaxRegularSector)
            return list;
        list.push_back(s);
    }
    const std::size_t perSector = (std::size_t(1) << m_sectorShift) / 4 - 1;
    std::vector<bool> seen(sectorCount());
    quint32 difat = m_firstDifatSector;
    while (list.size() < m_fatSectors && difat < kMaxRegularSector) {
        if (difat >= seen.size() || seen[difat])
            damaged("DIFAT chain out of range or cyclic");
        seen[difat] = true;
        const QByteArray bytes = readAt(sectorOffset(difat), (perSector + 1) * 4);
        if (static_cast<std::size_t>(bytes.size()) < (perSector + 1) * 4)
            damaged("DIFAT sector cut short");
        const char *p = bytes.constData();
        for (std::size_t i = 0; i < perSector && list.size() < m_fatSectors; ++i) {
            const quint32 s = XlsByteReader::u32At(p + 4 * i);
            if (s >= kMaxRegularSector)
                return list;
            list.push_back(s);
        }
        difat = XlsByteReader::u32At(p + 4 * perSector);
    }
    return list;
}

void CompoundFile::readFat()
{
    const std::size_t perSector = (std::size_t(1) << m_sectorShift) / 4;
    const auto sectors = fatSectorList();
    m_fat.assign(sectors.size() * perSector, kFreeSector);
    for (std::size_t k = 0; k < sectors.size(); ++k) {
        if (sectors[k] >= sectorCount())
            damaged("FAT sector out of range");
        // A last sector written without its padding still gives the entries it holds.
        const QByteArray bytes = readAt(sectorOffset(sectors[k]), perSector * 4);
        const std::size_t available = static_cast<std::size_t>(bytes.size()) / 4;
        for (std::size_t i = 0; i < available; ++i)
            m_fat[k * perSector + i] = XlsByteReader::u32At(bytes.constData() + 4 * i);
    }
}

std::vector<quint32> CompoundFile::chain(const std::vector<quint32> &table, quint32 start, std::size_t maxSectors,
                                         bool untilEnd, std::size_t sectorLimit) const
{
    std::vector<quint32> sectors;
    std::vector<bool> seen(std::min(table.size(), sectorLimit));
    quint32 s = start;
    while (untilEnd || sectors.size() < maxSectors) {
        if (untilEnd && (s == kEndOfChain || s == kFreeSector))
            break;
        if (s >= seen.size() || seen[s])
            damaged("sector chain out of range or cyclic");
        seen[s] = true;
        sectors.push_back(s);
        s = table[s];
    }
    return sectors;
}

QByteArray CompoundFile::readChain(quint32 start, quint64 size) const
{
    if (size == 0)
        return QByteArray();
    if (size > m_size)
        damaged("stream larger than the file");
    const std::size_t sectorSize = std::size_t(1) << m_sectorShift;
    const auto sectors = chain(m_fat, start, (size + sectorSize - 1) / sectorSize, false, sectorCount());
    QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
    std::size_t done = 0;
    // Consecutive sectors are read in one go, straight into the stream.
    for (std::size_t i = 0; i < sectors.size();) {
        std::size_t run = 1;
        while (i + run < sectors.size() && sectors[i + run] == sectors[i] + run)
            ++run;
        const std::size_t want = std::min<std::size_t>(run * sectorSize, size - done);
        const std::size_t offset = sectorOffset(sectors[i]);
        if (offset > m_size || want > m_size - offset || !m_device->seek(static_cast<qint64>(offset))
            || m_device->read(out.data() + done, static_cast<qint64>(want)) != static_cast<qint64>(want))
            damaged("stream cut short");
        done += want;
        i += run;
    }
    return out;
}

const QByteArray &CompoundFile::miniStream() const
{
    if (!m_miniStreamRead) {
        m_miniStream = readChain(m_entries[0].start, m_entries[0].size);
        m_miniStreamRead = true;
    }
    return m_miniStream;
}

QByteArray CompoundFile::readMiniChain(quint32 start, quint64 size) const
{
    if (size == 0)
        return QByteArray();
    const QByteArray &mini = miniStream();
    if (size > static_cast<quint64>(mini.size()))
        damaged("mini stream entry larger than the mini stream");
    const std::size_t sectorSize = std::size_t(1) << m_miniSectorShift;
    const std::size_t limit = (mini.size() + sectorSize - 1) / sectorSize;
    const auto sectors = chain(m_miniFat, start, (size + sectorSize - 1) / sectorSize, false, limit);
    QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
    std::size_t done = 0;
    for (quint32 s : sectors) {
        const std::size_t offset = std::size_t(s) << m_miniSectorShift;
        const std::size_t want = std::min<std::size_t>(sectorSize, size - done);
        if (offset + want > static_cast<std::size_t>(mini.size()))
            damaged("mini stream cut short");
        std::memcpy(out.data() + done, mini.constData() + offset, want);
        done += want;
    }
    return out;
}

CompoundFile::Entry CompoundFile::parseEntry(const char *p) const
{
    Entry e;
    const int nameBytes = std::min<int>(XlsByteReader::u16At(p + 0x40), 64);
    const int chars = std::max(0, nameBytes / 2 - 1);
    e.name.resize(chars);
    for (int i = 0; i < chars; ++i)
        e.name[i] = QChar(XlsByteReader::u16At(p + 2 * i));
    e.type = static_cast<quint8>(p[0x42]);
    e.left = XlsByteReader::u32At(p + 0x44);
    e.right = XlsByteReader::u32At(p + 0x48);
    e.child = XlsByteReader::u32At(p + 0x4C);
    e.start = XlsByteReader::u32At(p + 0x74);
    e.size = XlsByteReader::u32At(p + 0x78);
    // Version 3 files may leave garbage in the high half of the size.
    if (m_majorVersion >= 4)
        e.size |= quint64(XlsByteReader::u32At(p + 0x7C)) << 32;
    return e;
}

void CompoundFile::readDirectory()
{
    const std::size_t sectorSize = std::size_t(1) << m_sectorShift;
    const auto sectors = chain(m_fat, m_firstDirSector, 0, true, sectorCount());
    for (quint32 s : sectors) {
        const QByteArray bytes = readAt(sectorOffset(s), sectorSize);
        for (qsizetype i = 0; i + qsizetype(kEntrySize) <= bytes.size(); i += kEntrySize)
            m_entries.push_back(parseEntry(bytes.constData() + i));
    }
    if (m_entries.empty() || m_entries[0].type != kRootEntry)
        damaged("no root entry");
}

void CompoundFile::collectTopLevel()
{
    // The root's children form a tree through left and right links; a broken link is
    // skipped so that what is still reachable can be read.
    std::vector<bool> seen(m_entries.size());
    std::vector<quint32> pending{m_entries[0].child};
    while (!pending.empty()) {
        const quint32 i = pending.back();
        pending.pop_back();
        if (i == kNoStream || i >= m_entries.size() || seen[i] || i == 0)
            continue;
        seen[i] = true;
        m_topLevel.push_back(static_cast<int>(i));
        pending.push_back(m_entries[i].left);
        pending.push_back(m_entries[i].right);
    }
}

int CompoundFile::findEntry(const QString &name) const
{
    for (int i : m_topLevel) {
        if (m_entries[i].type == kStreamEntry && m_entries[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool CompoundFile::hasStream(const QString &name) const
{
    return findEntry(name) >= 0;
}

QByteArray CompoundFile::stream(const QString &name) const
{
    const int i = findEntry(name);
    if (i < 0)
        return QByteArray();
    const Entry &e = m_entries[i];
    return e.size < m_miniCutoff ? readMiniChain(e.start, e.size) : readChain(e.start, e.size);
}
