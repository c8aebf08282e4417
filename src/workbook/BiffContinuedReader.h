#pragma once

#include <QString>
#include <cstddef>
#include <vector>

class XlsCodepage;

// Reads a record together with the CONTINUE records that follow it, as one sequence of
// bytes, except that characters of a string split at a record boundary start the next
// record with a fresh flag byte saying whether they are 8-bit or 16-bit.
class BiffContinuedReader {
public:
    void clear();
    void addSegment(const char *data, std::size_t size);

    bool atEnd() const;
    quint8 u8();
    quint16 u16();
    quint32 u32();
    void skip(std::size_t count);

    // A BIFF8 string: character count (16-bit, or 8-bit when shortCount), flag byte,
    // optional rich-text run count and phonetic block size, the characters, then the
    // runs and the phonetic block, which are skipped. 8-bit characters go through codepage.
    QString unicodeString(const XlsCodepage &codepage, bool shortCount = false);
    // A BIFF5 string: a 16-bit byte count and the bytes, in the workbook's code page.
    QString byteString(const XlsCodepage &codepage);

private:
    struct Segment {
        const char *data;
        std::size_t size;
    };

    // Moves to the next segment with data once the current one is used up.
    bool advance();
    void readBytes(char *out, std::size_t count);
    void appendChars(QString &out, std::size_t count, bool wide, const XlsCodepage &codepage);

    std::vector<Segment> m_segments;
    std::size_t m_segment = 0;
    std::size_t m_pos = 0;
};
