#include "workbook/BiffWorkbookGlobals.h"

#include "workbook/BiffContinuedReader.h"
#include "workbook/BiffRecordReader.h"
#include "workbook/NumberFormat.h"
#include "workbook/XlsByteReader.h"
#include "workbook/XlsFileError.h"

#include <algorithm>

namespace {
constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kFilePass = 0x002F;
constexpr quint16 kCodepage = 0x0042;
constexpr quint16 kDateMode = 0x0022;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kFormat = 0x041E;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kSst = 0x00FC;

std::vector<QString> readSharedStrings(BiffRecordReader &records, const XlsCodepage &codepage)
{
    BiffContinuedReader in;
    std::size_t total = records.record().size;
    in.addSegment(records.record().data, records.record().size);
    while (records.peekType() == BiffRecordReader::kContinue) {
        records.next();
        in.addSegment(records.record().data, records.record().size);
        total += records.record().size;
    }
    std::vector<QString> strings;
    try {
        in.skip(4);
        const quint32 unique = in.u32();
        // The count is only a claim: reserve no more than the bytes could hold.
        strings.reserve(std::min<std::size_t>(unique, total / 3));
        for (quint32 i = 0; i < unique && !in.atEnd(); ++i)
            strings.push_back(in.unicodeString(codepage));
    } catch (const XlsFileError &) {
        // A table cut short keeps the strings read so far; cells pointing past them stay empty.
    }
    return strings;
}
} // namespace

BiffWorkbookGlobals::BiffWorkbookGlobals(const QByteArray &stream, int defaultBiff)
{
    BiffRecordReader records(stream);
    if (!records.next() || records.record().type != kBof)
        throw XlsFileError::damaged("stream does not start with a BOF record");
    readBof(records.record().data, records.record().size, defaultBiff);
    while (records.next()) {
        const BiffRecord &r = records.record();
        XlsByteReader in(r.data, r.size);
        switch (r.type) {
        case kEof:
            m_end = records.position();
            markDateXfs();
            return;
        case kFilePass:
            throw XlsFileError(XlsFileError::Kind::Encrypted, "FILEPASS");
        case kCodepage:
            if (r.size >= 2) {
                const int cp = in.u16();
                m_codepage = XlsCodepage(cp);
                m_codepageNamed = true;
                // BIFF8 8-bit text is Latin-1 unless the file names some other code page.
                m_compressed = XlsCodepage(cp);
            }
            break;
        case kFont:
            readFont(r.data, r.size);
            break;
        case kDateMode:
            m_1904 = r.size >= 2 && in.u16() == 1;
            break;
        case kFormat:
            readFormat(r.data, r.size);
            break;
        case kXf:
            if (r.size >= 4) {
                in.skip(2);
                m_xfFormats.push_back(in.u16());
            }
            break;
        case kBoundSheet:
            readSheet(r.data, r.size);
            break;
        case kSst:
            if (m_biff == 8)
                m_sst = readSharedStrings(records, m_compressed);
            break;
        default:
            break;
        }
    }
    // A globals substream without its EOF: take what was read.
    m_end = records.position();
    markDateXfs();
}

void BiffWorkbookGlobals::readBof(const char *data, std::size_t size, int defaultBiff)
{
    XlsByteReader in(data, size);
    const quint16 version = size >= 2 ? in.u16() : 0;
    if (version == 0x0600)
        m_biff = 8;
    else if (version == 0x0500)
        m_biff = 5;
    else
        m_biff = defaultBiff;
}

void BiffWorkbookGlobals::readFont(const char *data, std::size_t size)
{
    // Without a CODEPAGE record the fonts' character sets tell what the 8-bit text is
    // (writers in Cyrillic or Greek Windows leave it out); the first that names a code
    // page beyond the Western default decides.
    if (m_codepageNamed || m_codepageFromFont || size < 13)
        return;
    const int codepage = XlsCodepage::fromCharset(static_cast<quint8>(data[12]));
    if (codepage == 0)
        return;
    m_codepage = XlsCodepage(codepage);
    m_codepageFromFont = true;
}

void BiffWorkbookGlobals::readFormat(const char *data, std::size_t size)
{
    try {
        BiffContinuedReader in;
        in.addSegment(data, size);
        const quint16 id = in.u16();
        QString code;
        if (m_biff == 8) {
            code = in.unicodeString(m_compressed);
        } else {
            const std::size_t count = in.u8();
            XlsByteReader bytes(data, size);
            bytes.skip(3);
            code = m_codepage.decode(bytes.take(count), count);
        }
        m_formats.insert(id, code);
    } catch (const XlsFileError &) {
        // A malformed format code only loses date detection for its cells.
    }
}

void BiffWorkbookGlobals::readSheet(const char *data, std::size_t size)
{
    if (size < 6)
        return;
    Sheet sheet;
    sheet.offset = XlsByteReader::u32At(data);
    sheet.type = static_cast<quint8>(data[5]);
    m_sheets.push_back(sheet);
}

void BiffWorkbookGlobals::markDateXfs()
{
    // Many cell formats share a number format: judge each number format once.
    QHash<quint16, NumberFormat::DateRule> judged;
    m_dateXf.assign(m_xfFormats.size(), NumberFormat::DateRule());
    for (std::size_t i = 0; i < m_xfFormats.size(); ++i) {
        const quint16 id = m_xfFormats[i];
        auto it = judged.find(id);
        if (it == judged.end())
            it = judged.insert(id, NumberFormat::dateRule(id, m_formats.value(id)));
        m_dateXf[i] = it.value();
    }
}
