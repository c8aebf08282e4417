#include "workbook/CsvReader.h"

#include "core/AppError.h"
#include "workbook/SheetBuilder.h"
#include "workbook/WorkbookErrors.h"

#include <QFile>
#include <QStringDecoder>

namespace {

constexpr qint64 kMaxCsvBytes = 512ll * 1024 * 1024;

// Windows-1252 0x80..0x9F; the five unassigned bytes keep their C1 code.
constexpr char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t fromCp1252(unsigned char b)
{
    return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b);
}

// Length of the valid UTF-8 sequence at p (with its code point), or 0.
int utf8Sequence(const unsigned char *p, const unsigned char *end, char32_t &cp)
{
    const unsigned char b = *p;
    int n = 0;
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (end - p < n)
        return 0;
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

class Parser {
public:
    Parser(const QString &text, QChar delimiter, SheetBuilder &sheet)
        : m_text(text), m_delimiter(delimiter), m_sheet(sheet)
    {
    }

    void run()
    {
        const int n = m_text.size();
        const QChar *s = m_text.constData();
        int i = 0;
        while (i < n && m_row <= m_sheet.limits().maxRows) {
            const QChar c = s[i];
            if (m_inQuotes) {
                if (c == QLatin1Char('"')) {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('"')) {
                        m_field += c;
                        ++i;
                    } else {
                        m_inQuotes = false;
                    }
                } else if (c == QLatin1Char('\r') && i + 1 < n && s[i + 1] == QLatin1Char('\n')) {
                    m_field += QLatin1Char('\n'); // a line break inside a cell is a line feed
                    ++i;
                } else {
                    m_field += c;
                }
                ++i;
                continue;
            }
            if (c == m_delimiter) {
                endField(i);
            } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                endRecord(i);
                if (c == QLatin1Char('\r') && i + 1 < n && s[i + 1] == QLatin1Char('\n'))
                    ++i;
            } else if (c == QLatin1Char('"') && !m_started) {
                m_inQuotes = true;
                m_started = true;
            } else if (!m_started) {
                m_started = true;
                m_sliceStart = i; // a plain field is cut from the text in one piece
            } else if (m_sliceStart < 0) {
                m_field += c; // text after a closing quote
            }
            ++i;
        }
        if (m_started || m_column > 1)
            endRecord(i);
    }

private:
    void endField(int end)
    {
        // A plain field stays in the text: the sheet keeps the text, and a list is held once.
        if (m_sliceStart >= 0)
            m_sheet.set(
                m_row, m_column,
                CellValue::fromText(QString::fromRawData(m_text.constData() + m_sliceStart, end - m_sliceStart)));
        else if (!m_field.isEmpty())
            m_sheet.set(m_row, m_column, CellValue::fromText(m_field));
        m_field.clear();
        m_sliceStart = -1;
        m_started = false;
        ++m_column;
    }
    void endRecord(int end)
    {
        endField(end);
        ++m_row;
        m_column = 1;
    }

    const QString &m_text;
    QChar m_delimiter;
    SheetBuilder &m_sheet;
    QString m_field;
    int m_row = 1;
    int m_column = 1;
    bool m_inQuotes = false;
    bool m_started = false;
    int m_sliceStart = -1;
};

} // namespace

QString CsvReader::decode(const QByteArray &bytes)
{
    // Excel's "Unicode Text" is UTF-16 with a byte-order mark.
    const auto unicode = QStringConverter::encodingForData(bytes);
    if (unicode && *unicode != QStringConverter::Utf8)
        return QStringDecoder(*unicode).decode(bytes);
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        p += 3;
    QString out;
    out.reserve(end - p);
    while (p < end) {
        char32_t cp = 0;
        const int n = utf8Sequence(p, end, cp);
        if (n == 0) {
            out += QChar(fromCp1252(*p));
            ++p;
            continue;
        }
        if (cp >= 0x10000) {
            out += QChar(QChar::highSurrogate(cp));
            out += QChar(QChar::lowSurrogate(cp));
        } else {
            out += QChar(static_cast<char16_t>(cp));
        }
        p += n;
    }
    return out;
}

QChar CsvReader::sniffDelimiter(const QString &text)
{
    int semicolons = 0, commas = 0, tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            break;
        else if (c == QLatin1Char(';'))
            ++semicolons;
        else if (c == QLatin1Char(','))
            ++commas;
        else if (c == QLatin1Char('\t'))
            ++tabs;
    }
    if (semicolons >= commas && semicolons >= tabs && semicolons > 0)
        return QLatin1Char(';');
    if (tabs > commas)
        return QLatin1Char('\t');
    return QLatin1Char(',');
}

SheetData CsvReader::parse(const QString &path, const QByteArray &bytes, const ReadLimits &limits)
{
    return parseText(path, decode(bytes), limits);
}

SheetData CsvReader::parseText(const QString &path, const QString &text, const ReadLimits &limits)
{
    SheetBuilder sheet(path, limits);
    Parser(text, sniffDelimiter(text), sheet).run();
    SheetData cells = sheet.take();
    cells.keepText(text);
    return cells;
}

SheetData CsvReader::readFirstSheet(const QString &path, const ReadLimits &limits)
{
    QFile file(path);
    if (!file.exists())
        throw WorkbookErrors::missing(path);
    if (!file.open(QIODevice::ReadOnly))
        throw WorkbookErrors::cannotRead(path);
    if (file.size() > kMaxCsvBytes)
        throw WorkbookErrors::tooLarge(path);
    // The file's bytes go once decoded: a long list is held once, as text.
    QString text = decode(file.readAll());
    return parseText(path, text, limits);
}
