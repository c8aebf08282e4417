#include "workbook/OdsContentParser.h"

#include "workbook/DateSerial.h"
#include "workbook/SheetBuilder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

qint64 repeatCount(const char *text, qint64 limit)
{
    if (!text)
        return 1;
    long long n = 1;
    const auto r = std::from_chars(text, text + std::strlen(text), n);
    if (r.ec == std::errc::result_out_of_range)
        n = limit;
    return std::clamp<long long>(n, 1, limit);
}

bool toDouble(const std::string &s, double &out)
{
    std::string_view v(s);
    if (!v.empty() && v.front() == '+')
        v.remove_prefix(1);
    const auto r = std::from_chars(v.data(), v.data() + v.size(), out);
    // from_chars also takes "inf" and "nan", which no writer stores as a cell value.
    return !v.empty() && r.ec == std::errc() && r.ptr == v.data() + v.size() && std::isfinite(out);
}

} // namespace

OdsContentParser::OdsContentParser(SheetBuilder &sheet)
    : m_sheet(sheet), m_maxRows(sheet.limits().maxRows), m_maxColumns(sheet.limits().maxColumns)
{
}

void OdsContentParser::startElement(const char *name, const char **attributes)
{
    const char *local = localName(name);
    if (std::strcmp(local, "table") == 0) {
        ++m_tableDepth;
        return;
    }
    if (m_tableDepth > 0)
        ++m_openInTable;
    // A table nested in a cell is not a sheet of its own: only the outer table counts.
    if (m_tableDepth != 1)
        return;
    if (m_inCell) {
        if (std::strcmp(local, "annotation") == 0) {
            ++m_annotation;
        } else if (m_annotation > 0) {
            return;
        } else if (std::strcmp(local, "p") == 0 || std::strcmp(local, "h") == 0) {
            if (m_paragraphs++ > 0)
                m_text += '\n';
            ++m_inParagraph;
        } else if (m_inParagraph == 0) {
            return;
        } else if (std::strcmp(local, "s") == 0) {
            m_text.append(static_cast<std::size_t>(repeatCount(attribute(attributes, "c"), 1024)), ' ');
        } else if (std::strcmp(local, "tab") == 0) {
            m_text += '\t';
        } else if (std::strcmp(local, "line-break") == 0) {
            m_text += '\n';
        }
        return;
    }
    if (std::strcmp(local, "table-row") == 0) {
        m_rowRepeat = repeatCount(attribute(attributes, "number-rows-repeated"), m_maxRows);
        m_column = 1;
        m_runs.clear();
    } else if (std::strcmp(local, "table-cell") == 0 || std::strcmp(local, "covered-table-cell") == 0) {
        startCell(attributes);
    }
}

void OdsContentParser::startCell(const char **attributes)
{
    m_inCell = true;
    m_cellRepeat = repeatCount(attribute(attributes, "number-columns-repeated"), m_maxColumns);
    m_valueType.clear();
    m_value.clear();
    m_isError = false;
    m_hasStringValue = false;
    m_annotation = 0;
    m_paragraphs = 0;
    m_inParagraph = 0;
    m_text.clear();
    for (int i = 0; attributes[i]; i += 2) {
        const char *key = attributes[i];
        const char *local = localName(key);
        const char *value = attributes[i + 1];
        if (std::strcmp(local, "value-type") == 0) {
            if (std::strncmp(key, "office:", 7) == 0 || m_valueType.empty())
                m_valueType = value;
            if (std::strcmp(value, "error") == 0)
                m_isError = true;
        } else if (std::strcmp(local, "value") == 0 || std::strcmp(local, "date-value") == 0
                   || std::strcmp(local, "time-value") == 0 || std::strcmp(local, "boolean-value") == 0) {
            m_value = value;
        } else if (std::strcmp(local, "string-value") == 0) {
            m_value = value;
            m_hasStringValue = true;
        }
    }
}

void OdsContentParser::endElement(const char *name)
{
    const char *local = localName(name);
    if (std::strcmp(local, "table") == 0) {
        if (--m_tableDepth == 0)
            stop(); // only the first table is read
        return;
    }
    if (m_tableDepth > 0)
        --m_openInTable;
    if (m_tableDepth != 1)
        return;
    if (m_inCell) {
        if (std::strcmp(local, "annotation") == 0)
            --m_annotation;
        else if (m_annotation == 0 && (std::strcmp(local, "p") == 0 || std::strcmp(local, "h") == 0))
            --m_inParagraph;
        else if (std::strcmp(local, "table-cell") == 0 || std::strcmp(local, "covered-table-cell") == 0)
            endCell();
        return;
    }
    if (std::strcmp(local, "table-row") == 0)
        endRow();
}

void OdsContentParser::characters(const char *data, int length)
{
    if (m_tableDepth == 1 && m_inCell && m_inParagraph > 0 && m_annotation == 0)
        m_text.append(data, static_cast<std::size_t>(length));
}

CellValue OdsContentParser::cellValue() const
{
    // Converted only where the shown text is the value: most cells are numbers.
    const auto text = [this] { return QString::fromUtf8(m_text.data(), static_cast<qsizetype>(m_text.size())); };
    if (m_isError)
        return CellValue::fromError(text());
    double number = 0;
    const std::string &t = m_valueType;
    if ((t == "float" || t == "percentage" || t == "currency") && toDouble(m_value, number))
        return CellValue::fromNumber(number);
    if (t == "date") {
        if (const auto serial = DateSerial::fromIso(m_value))
            return CellValue::fromDateTime(*serial);
    } else if (t == "time") {
        if (const auto days = DateSerial::fromDuration(m_value); days && DateSerial::isShowable(*days))
            return CellValue::fromDateTime(*days);
    } else if (t == "boolean") {
        return CellValue::fromBoolean(m_value == "true" || m_value == "1");
    } else if (m_hasStringValue) {
        return CellValue::fromText(QString::fromUtf8(m_value.data(), static_cast<qsizetype>(m_value.size())));
    }
    return m_text.empty() ? CellValue() : CellValue::fromText(text());
}

void OdsContentParser::endCell()
{
    m_inCell = false;
    CellValue value = cellValue();
    if (value.type != CellValue::Type::Empty && m_column <= m_maxColumns) {
        // A row written once needs no run kept for its repetitions.
        if (m_rowRepeat == 1 && m_cellRepeat == 1)
            m_sheet.set(static_cast<int>(m_row), static_cast<int>(m_column), std::move(value));
        else
            m_runs.push_back(Run{m_column, m_cellRepeat, std::move(value)});
    }
    m_column = std::min(m_column + m_cellRepeat, m_maxColumns + 1);
}

void OdsContentParser::endRow()
{
    if (m_row <= m_maxRows) {
        for (const Run &run : m_runs)
            m_sheet.fill(static_cast<int>(m_row), static_cast<int>(m_rowRepeat), static_cast<int>(run.column),
                         static_cast<int>(run.count), run.value);
    }
    m_runs.clear();
    m_row = std::min(m_row + m_rowRepeat, m_maxRows + 1);
    if (m_row > m_maxRows)
        stop();
}
