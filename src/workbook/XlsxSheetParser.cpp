#include "workbook/XlsxSheetParser.h"

#include "workbook/DateSerial.h"
#include "workbook/SheetBuilder.h"
#include "workbook/XlsxSharedStrings.h"
#include "workbook/XlsxStyles.h"
#include "workbook/XlsxText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

std::string_view trimmed(const std::string &s)
{
    std::string_view v(s);
    while (!v.empty() && std::isspace(static_cast<unsigned char>(v.front())))
        v.remove_prefix(1);
    while (!v.empty() && std::isspace(static_cast<unsigned char>(v.back())))
        v.remove_suffix(1);
    if (!v.empty() && v.front() == '+')
        v.remove_prefix(1);
    return v;
}

bool toDouble(const std::string &s, double &out)
{
    const std::string_view v = trimmed(s);
    const auto r = std::from_chars(v.data(), v.data() + v.size(), out);
    // from_chars also takes "inf" and "nan", which no writer stores as a cell value.
    return r.ec == std::errc() && r.ptr == v.data() + v.size() && !v.empty() && std::isfinite(out);
}

// "AB12" gives column 28 and row 12; either part may be missing.
void parseReference(const char *ref, int &column, int &row)
{
    int c = 0;
    const char *p = ref;
    for (; *p; ++p) {
        const char ch = *p;
        if (ch >= 'A' && ch <= 'Z')
            c = c * 26 + (ch - 'A' + 1);
        else if (ch >= 'a' && ch <= 'z')
            c = c * 26 + (ch - 'a' + 1);
        else if (ch != '$')
            break;
        if (c > 1 << 20)
            c = 1 << 20;
    }
    if (c > 0)
        column = c;
    int r = 0;
    const auto res = std::from_chars(p, p + std::strlen(p), r);
    if (res.ec == std::errc() && r > 0)
        row = r;
}

} // namespace

XlsxSheetParser::XlsxSheetParser(SheetBuilder &sheet, const XlsxSharedStrings &strings, const XlsxStyles &styles,
                                 bool date1904)
    : m_sheet(sheet), m_strings(strings), m_styles(styles), m_dateOffset(date1904 ? DateSerial::k1904Offset : 0.0),
      m_maxRows(sheet.limits().maxRows)
{
    m_text.reserve(256);
}

void XlsxSheetParser::startElement(const char *name, const char **attributes)
{
    const char *local = localName(name);
    switch (local[0]) {
    case 'c':
        if (local[1] == 0)
            startCell(attributes);
        break;
    case 'v':
        if (local[1] == 0 && m_inCell) {
            m_text.clear();
            m_collecting = true;
        }
        break;
    case 't':
        if (local[1] == 0 && m_inInline && m_phonetic == 0)
            m_collecting = true; // rich-text runs append to one another
        break;
    case 'i':
        if (std::strcmp(local, "is") == 0 && m_inCell) {
            m_inInline = true;
            m_text.clear();
        }
        break;
    case 'r':
        if (std::strcmp(local, "row") == 0) {
            int row = m_row + 1;
            if (const char *r = attribute(attributes, "r")) {
                int column = 0;
                parseReference(r, column, row);
            }
            m_row = row;
            m_column = 0;
            // Rows come in ascending order; nothing past the limit is kept.
            if (m_row > m_maxRows)
                stop();
        } else if (std::strcmp(local, "rPh") == 0) {
            ++m_phonetic;
        }
        break;
    default:
        break;
    }
}

void XlsxSheetParser::startCell(const char **attributes)
{
    m_inCell = true;
    m_hasValue = false;
    m_kind = Kind::Number;
    m_style = 0;
    int column = m_column + 1;
    int row = m_row == 0 ? 1 : m_row;
    for (int i = 0; attributes[i]; i += 2) {
        const char *key = attributes[i];
        const char *value = attributes[i + 1];
        if (key[0] == 'r' && key[1] == 0) {
            parseReference(value, column, row);
        } else if (key[0] == 's' && key[1] == 0) {
            std::from_chars(value, value + std::strlen(value), m_style);
        } else if (key[0] == 't' && key[1] == 0) {
            if (std::strcmp(value, "s") == 0)
                m_kind = Kind::Shared;
            else if (std::strcmp(value, "str") == 0)
                m_kind = Kind::Text;
            else if (std::strcmp(value, "inlineStr") == 0)
                m_kind = Kind::Inline;
            else if (std::strcmp(value, "b") == 0)
                m_kind = Kind::Boolean;
            else if (std::strcmp(value, "e") == 0)
                m_kind = Kind::Error;
            else if (std::strcmp(value, "d") == 0)
                m_kind = Kind::Date;
        }
    }
    m_column = column;
    m_row = row;
}

void XlsxSheetParser::endElement(const char *name)
{
    const char *local = localName(name);
    switch (local[0]) {
    case 'c':
        if (local[1] == 0 && m_inCell)
            endCell();
        break;
    case 'v':
        if (local[1] == 0 && m_collecting) {
            m_collecting = false;
            m_hasValue = true;
        }
        break;
    case 't':
        if (local[1] == 0)
            m_collecting = false;
        break;
    case 'i':
        if (std::strcmp(local, "is") == 0 && m_inInline) {
            m_inInline = false;
            m_kind = Kind::Inline;
            m_hasValue = true;
        }
        break;
    case 'r':
        if (std::strcmp(local, "rPh") == 0 && m_phonetic > 0)
            --m_phonetic;
        break;
    case 's':
        if (std::strcmp(local, "sheetData") == 0)
            stop();
        break;
    default:
        break;
    }
}

void XlsxSheetParser::characters(const char *data, int length)
{
    if (m_collecting)
        m_text.append(data, static_cast<std::size_t>(length));
}

void XlsxSheetParser::endCell()
{
    m_inCell = false;
    m_collecting = false;
    if (!m_hasValue)
        return;
    double number = 0;
    switch (m_kind) {
    case Kind::Shared: {
        long long index = -1;
        const std::string_view v = trimmed(m_text);
        std::from_chars(v.data(), v.data() + v.size(), index);
        if (const QString *s = m_strings.at(index))
            m_sheet.set(m_row, m_column, CellValue::fromText(*s));
        break;
    }
    case Kind::Text:
    case Kind::Inline:
        m_sheet.set(m_row, m_column, CellValue::fromText(XlsxText::decode(m_text)));
        break;
    case Kind::Boolean:
        m_sheet.set(m_row, m_column, CellValue::fromBoolean(trimmed(m_text) == "1" || trimmed(m_text) == "true"));
        break;
    case Kind::Error:
        m_sheet.set(m_row, m_column, CellValue::fromError(QString::fromUtf8(m_text.data(), m_text.size())));
        break;
    case Kind::Date:
        if (const auto serial = DateSerial::fromIso(trimmed(m_text)))
            m_sheet.set(m_row, m_column, CellValue::fromDateTime(*serial));
        break;
    case Kind::Number:
        if (!toDouble(m_text, number))
            break;
        if (m_styles.isDate(m_style, number) && DateSerial::isShowable(number + m_dateOffset))
            m_sheet.set(m_row, m_column, CellValue::fromDateTime(number + m_dateOffset));
        else
            m_sheet.set(m_row, m_column, CellValue::fromNumber(number));
        break;
    }
}
