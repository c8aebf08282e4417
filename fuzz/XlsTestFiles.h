#pragma once

// Builds a compound file around given streams, so that fuzzed BIFF bytes reach the record
// reader through a sound container.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QtEndian>
#include <cstring>
#include <vector>

namespace XlsTestFiles {

template <typename T> QByteArray little(T v)
{
    QByteArray b(sizeof(T), '\0');
    qToLittleEndian(v, b.data());
    return b;
}
inline QByteArray u32(quint32 v)
{
    return little(v);
}

struct Container {
    QByteArray bytes;
    int sectorSize = 512;
    std::vector<quint32> fatSectors;
    quint32 firstDirSector = 0;
    std::vector<quint32> streamStarts;
    // Byte offset of the FAT entry of a sector.
    qsizetype fatEntryOffset(quint32 sector) const
    {
        const quint32 perSector = quint32(sectorSize / 4);
        return qsizetype(fatSectors[sector / perSector] + 1) * sectorSize + 4 * (sector % perSector);
    }
    qsizetype dirEntryOffset(int index) const { return qsizetype(firstDirSector + 1) * sectorSize + 128 * index; }
};

// A compound file of version 3 (512-byte sectors) or 4 (4096), with the streams at the
// top level; streams under 4096 bytes go into the mini stream. minFatSectors > 109
// forces DIFAT sectors.
inline Container compoundFile(const QList<QPair<QString, QByteArray>> &streams, int version = 3,
                              quint32 minFatSectors = 0)
{
    constexpr quint32 kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFat = 0xFFFFFFFD, kDif = 0xFFFFFFFC;
    Container c;
    c.sectorSize = version == 4 ? 4096 : 512;
    const int ss = c.sectorSize;
    std::vector<QByteArray> sectors;
    std::vector<quint32> fat;
    auto addChain = [&](const QByteArray &data) -> quint32 {
        if (data.isEmpty())
            return kEnd;
        const quint32 first = quint32(sectors.size());
        for (qsizetype off = 0; off < data.size(); off += ss) {
            QByteArray s = data.mid(off, ss);
            s.append(QByteArray(ss - s.size(), '\0'));
            sectors.push_back(s);
            fat.push_back(quint32(sectors.size()));
        }
        fat.back() = kEnd;
        return first;
    };
    QByteArray mini;
    std::vector<quint32> miniFat;
    for (const auto &s : streams) {
        if (s.second.size() >= 4096) {
            c.streamStarts.push_back(addChain(s.second));
        } else if (s.second.isEmpty()) {
            c.streamStarts.push_back(kEnd);
        } else {
            c.streamStarts.push_back(quint32(mini.size() / 64));
            for (qsizetype off = 0; off < s.second.size(); off += 64) {
                QByteArray m = s.second.mid(off, 64);
                mini += m + QByteArray(64 - m.size(), '\0');
                miniFat.push_back(quint32(mini.size() / 64));
            }
            miniFat.back() = kEnd;
        }
    }
    const quint32 miniStart = addChain(mini);
    auto entry = [](const QString &name, quint8 type, quint32 right, quint32 child, quint32 start, quint32 size) {
        QByteArray e(128, '\0');
        for (int i = 0; i < name.size(); ++i)
            qToLittleEndian(name.at(i).unicode(), e.data() + 2 * i);
        qToLittleEndian(quint16((name.size() + 1) * 2), e.data() + 0x40);
        e[0x42] = char(type);
        e[0x43] = 1;
        qToLittleEndian(quint32(0xFFFFFFFF), e.data() + 0x44);
        qToLittleEndian(right, e.data() + 0x48);
        qToLittleEndian(child, e.data() + 0x4C);
        qToLittleEndian(start, e.data() + 0x74);
        qToLittleEndian(size, e.data() + 0x78);
        return e;
    };
    QByteArray dir = entry(QStringLiteral("Root Entry"), 5, kFree, streams.isEmpty() ? kFree : 1, miniStart,
                           quint32(mini.size()));
    for (int i = 0; i < streams.size(); ++i)
        dir += entry(streams[i].first, 2, i + 1 < streams.size() ? quint32(i + 2) : kFree, kFree, c.streamStarts[i],
                     quint32(streams[i].second.size()));
    c.firstDirSector = addChain(dir);
    QByteArray miniFatBytes;
    for (quint32 v : miniFat)
        miniFatBytes += u32(v);
    const quint32 miniFatStart = addChain(miniFatBytes);
    const quint32 perSector = quint32(ss / 4);
    quint32 fatCount = 1, difCount = 0;
    for (;;) {
        fatCount = std::max(minFatSectors, quint32((sectors.size() + fatCount + difCount + perSector - 1) / perSector));
        const quint32 needDif = fatCount > 109 ? (fatCount - 109 + perSector - 2) / (perSector - 1) : 0;
        if (needDif == difCount && fatCount * perSector >= sectors.size() + fatCount + difCount)
            break;
        difCount = needDif;
    }
    for (quint32 i = 0; i < fatCount; ++i) {
        c.fatSectors.push_back(quint32(sectors.size()));
        sectors.push_back(QByteArray());
        fat.push_back(kFat);
    }
    std::vector<quint32> difSectors;
    for (quint32 i = 0; i < difCount; ++i) {
        difSectors.push_back(quint32(sectors.size()));
        sectors.push_back(QByteArray());
        fat.push_back(kDif);
    }
    fat.resize(fatCount * perSector, kFree);
    for (quint32 i = 0; i < fatCount; ++i) {
        QByteArray s;
        for (quint32 k = 0; k < perSector; ++k)
            s += u32(fat[i * perSector + k]);
        sectors[c.fatSectors[i]] = s;
    }
    for (quint32 d = 0; d < difCount; ++d) {
        QByteArray s;
        for (quint32 k = 0; k < perSector - 1; ++k) {
            const quint32 index = 109 + d * (perSector - 1) + k;
            s += u32(index < fatCount ? c.fatSectors[index] : kFree);
        }
        s += u32(d + 1 < difCount ? difSectors[d + 1] : kEnd);
        sectors[difSectors[d]] = s;
    }
    QByteArray header(ss, '\0');
    std::memcpy(header.data(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    qToLittleEndian(quint16(0x3E), header.data() + 0x18);
    qToLittleEndian(quint16(version), header.data() + 0x1A);
    qToLittleEndian(quint16(0xFFFE), header.data() + 0x1C);
    qToLittleEndian(quint16(version == 4 ? 12 : 9), header.data() + 0x1E);
    qToLittleEndian(quint16(6), header.data() + 0x20);
    qToLittleEndian(fatCount, header.data() + 0x2C);
    qToLittleEndian(c.firstDirSector, header.data() + 0x30);
    qToLittleEndian(quint32(4096), header.data() + 0x38);
    qToLittleEndian(miniFatStart, header.data() + 0x3C);
    qToLittleEndian(quint32(miniFat.empty() ? 0 : (miniFatBytes.size() + ss - 1) / ss), header.data() + 0x40);
    qToLittleEndian(difCount ? difSectors[0] : kEnd, header.data() + 0x44);
    qToLittleEndian(difCount, header.data() + 0x48);
    for (int i = 0; i < 109; ++i)
        qToLittleEndian(quint32(i < int(fatCount) ? c.fatSectors[i] : kFree), header.data() + 0x4C + 4 * i);
    c.bytes = header;
    for (const QByteArray &s : sectors)
        c.bytes += s;
    return c;
}

} // namespace XlsTestFiles
