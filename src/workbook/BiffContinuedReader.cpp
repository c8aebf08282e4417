#include "workbook/BiffContinuedReader.h"

#include "workbook/XlsByteReader.h"
#include "workbook/XlsCodepage.h"
#include "workbook/XlsFileError.h"

#include <algorithm>

namespace {
constexpr quint8 kHighByte = 0x01;
constexpr quint8 kPhonetic = 0x04;
constexpr quint8 kRichText = 0x08;
} // namespace

void BiffContinuedReader::clear()
{
    m_segments.clear();
    m_segment = 0;
    m_pos = 0;
}

void BiffContinuedReader::addSegment(const char *data, std::size_t size)
{
    m_segments.push_back({data, size});
}

bool BiffContinuedReader::advance()
{
    while (m_segment < m_segments.size() && m_pos >= m_segments[m_segment].size) {
        ++m_segment;
        m_pos = 0;
    }
    return m_segment < m_segments.size();
}

bool BiffContinuedReader::atEnd() const
{
    for (std::size_t s = m_segment; s < m_segments.size(); ++s) {
        if ((s == m_segment ? m_pos : 0) < m_segments[s].size)
            return false;
    }
    return true;
}

void BiffContinuedReader::readBytes(char *out, std::size_t count)
{
    while (count > 0) {
        if (!advance())
            throw XlsFileError::damaged("string runs past its records");
        const Segment &seg = m_segments[m_segment];
        const std::size_t n = std::min(count, seg.size - m_pos);
        if (out) {
            std::copy(seg.data + m_pos, seg.data + m_pos + n, out);
            out += n;
        }
        m_pos += n;
        count -= n;
    }
}

quint8 BiffContinuedReader::u8()
{
    char b[1];
    readBytes(b, 1);
    return static_cast<quint8>(b[0]);
}

quint16 BiffContinuedReader::u16()
{
    char b[2];
    readBytes(b, 2);
    return XlsByteReader::u16At(b);
}

quint32 BiffContinuedReader::u32()
{
    char b[4];
    readBytes(b, 4);
    return XlsByteReader::u32At(b);
}

void BiffContinuedReader::skip(std::size_t count)
{
    readBytes(nullptr, count);
}

void BiffContinuedReader::appendChars(QString &out, std::size_t count, bool wide, const XlsCodepage &codepage)
{
    while (count > 0) {
        if (m_segment >= m_segments.size() || m_pos >= m_segments[m_segment].size) {
            if (!advance())
                throw XlsFileError::damaged("string runs past its records");
            // Characters carried over into a CONTINUE record restate their width.
            wide = (u8() & kHighByte) != 0;
        }
        const Segment &seg = m_segments[m_segment];
        const std::size_t width = wide ? 2 : 1;
        std::size_t n = std::min(count, (seg.size - m_pos) / width);
        if (n == 0) {
            // Half a 16-bit character before the boundary: the record is malformed.
            if (m_pos < seg.size)
                throw XlsFileError::damaged("16-bit character split across records");
            continue;
        }
        const char *p = seg.data + m_pos;
        if (wide || codepage.isLatin1()) {
            // Written straight into the string: most text of a workbook passes here.
            const qsizetype start = out.size();
            out.resize(start + static_cast<qsizetype>(n));
            QChar *dst = out.data() + start;
            for (std::size_t i = 0; i < n; ++i)
                dst[i] = wide ? QChar(XlsByteReader::u16At(p + 2 * i)) : QChar(static_cast<uchar>(p[i]));
        } else {
            out += codepage.decode(p, n);
        }
        m_pos += n * width;
        count -= n;
    }
}

QString BiffContinuedReader::unicodeString(const XlsCodepage &codepage, bool shortCount)
{
    const std::size_t count = shortCount ? u8() : u16();
    const quint8 flags = u8();
    const std::size_t runs = (flags & kRichText) ? u16() : 0;
    const std::size_t phonetic = (flags & kPhonetic) ? u32() : 0;
    QString text;
    text.reserve(static_cast<qsizetype>(std::min<std::size_t>(count, 8224)));
    appendChars(text, count, (flags & kHighByte) != 0, codepage);
    skip(4 * runs);
    skip(phonetic);
    return text;
}

QString BiffContinuedReader::byteString(const XlsCodepage &codepage)
{
    const std::size_t count = u16();
    // Bytes of one string may still be split over a CONTINUE record.
    QByteArray bytes(static_cast<qsizetype>(count), Qt::Uninitialized);
    readBytes(bytes.data(), count);
    return codepage.decode(bytes.constData(), count);
}
