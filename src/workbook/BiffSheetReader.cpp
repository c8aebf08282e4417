#include "workbook/BiffSheetReader.h"

#include "workbook/BiffRecordReader.h"
#include "workbook/BiffWorkbookGlobals.h"
#include "workbook/XlsByteReader.h"
#include "workbook/XlsFileError.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kLabel = 0x0204;
constexpr quint16 kRString = 0x00D6;
constexpr quint16 kNumber = 0x0203;
constexpr quint16 kRk = 0x027E;
constexpr quint16 kMulRk = 0x00BD;
constexpr quint16 kBoolErr = 0x0205;
constexpr quint16 kFormula = 0x0006;
constexpr quint16 kString = 0x0207;
constexpr quint16 kSharedFormula = 0x04BC;
constexpr quint16 kArray = 0x0221;
constexpr quint16 kTable = 0x0236;
// Days from 1900-01-00 to 1904-01-01 in the 1900 system (which counts 1900-02-29).
constexpr double k1904Offset = 1462.0;

double rkValue(quint32 rk)
{
    double value;
    if (rk & 0x02) {
        value = static_cast<double>(static_cast<qint32>(rk) >> 2);
    } else {
        const quint64 bits = static_cast<quint64>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100.0 : value;
}

QString errorText(quint8 code)
{
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    default:
        return QStringLiteral("#N/A");
    }
}

int rowOf(const BiffRecord &r)
{
    return XlsByteReader::u16At(r.data) + 1;
}

int columnOf(const BiffRecord &r)
{
    return XlsByteReader::u16At(r.data + 2) + 1;
}

quint16 xfOf(const BiffRecord &r)
{
    return XlsByteReader::u16At(r.data + 4);
}
} // namespace

BiffSheetReader::BiffSheetReader(const QByteArray &stream, const BiffWorkbookGlobals &globals)
    : m_stream(stream), m_globals(globals)
{
}

SheetData BiffSheetReader::read(std::size_t offset, const ReadLimits &limits)
{
    m_sheet = SheetData();
    m_sheet.setLimits(limits);
    m_pendingRow = 0;
    m_rowCells.clear();
    m_row = 0;
    BiffRecordReader records(m_stream, offset);
    if (!records.next() || records.record().type != kBof)
        throw XlsFileError::damaged("sheet does not start with a BOF record");
    // Charts embedded in the sheet come as their own BOF..EOF inside it.
    int depth = 1;
    while (depth > 0 && records.next()) {
        const BiffRecord &r = records.record();
        if (r.type == kBof)
            ++depth;
        else if (r.type == kEof)
            --depth;
        else if (depth == 1)
            readRecord(records, r);
    }
    flushRow();
    return std::move(m_sheet);
}

void BiffSheetReader::readRecord(BiffRecordReader &records, const BiffRecord &r)
{
    if (r.type != kString && r.type != kSharedFormula && r.type != kArray && r.type != kTable
        && r.type != BiffRecordReader::kContinue && r.type != kFormula)
        m_pendingRow = 0;
    switch (r.type) {
    case kLabelSst:
        if (r.size >= 10) {
            const auto &sst = m_globals.sharedStrings();
            const quint32 index = XlsByteReader::u32At(r.data + 6);
            if (index < sst.size())
                setCell(rowOf(r), columnOf(r), CellValue::fromText(sst[index]));
        }
        break;
    case kLabel:
    case kRString:
        if (r.size >= 8)
            readText(records, r, 6, rowOf(r), columnOf(r));
        break;
    case kNumber:
        if (r.size >= 14)
            setNumber(rowOf(r), columnOf(r), xfOf(r), XlsByteReader::f64At(r.data + 6));
        break;
    case kRk:
        if (r.size >= 10)
            setNumber(rowOf(r), columnOf(r), xfOf(r), rkValue(XlsByteReader::u32At(r.data + 6)));
        break;
    case kMulRk:
        readMulRk(r);
        break;
    case kBoolErr:
        if (r.size >= 8) {
            const quint8 value = static_cast<quint8>(r.data[6]);
            setCell(rowOf(r), columnOf(r),
                    r.data[7] ? CellValue::fromError(errorText(value)) : CellValue::fromBoolean(value != 0));
        }
        break;
    case kFormula:
        readFormula(r);
        break;
    case kString:
        if (m_pendingRow > 0) {
            readText(records, r, 0, m_pendingRow, m_pendingColumn);
            m_pendingRow = 0;
        }
        break;
    default:
        break;
    }
}

void BiffSheetReader::readFormula(const BiffRecord &r)
{
    m_pendingRow = 0;
    if (r.size < 14)
        return;
    const int row = rowOf(r);
    const int column = columnOf(r);
    const char *result = r.data + 6;
    if (XlsByteReader::u16At(result + 6) != 0xFFFF) {
        setNumber(row, column, xfOf(r), XlsByteReader::f64At(result));
        return;
    }
    switch (static_cast<quint8>(result[0])) {
    case 0:
        m_pendingRow = row;
        m_pendingColumn = column;
        break;
    case 1:
        setCell(row, column, CellValue::fromBoolean(result[2] != 0));
        break;
    case 2:
        setCell(row, column, CellValue::fromError(errorText(static_cast<quint8>(result[2]))));
        break;
    default:
        // An empty text result leaves the cell empty.
        break;
    }
}

void BiffSheetReader::readMulRk(const BiffRecord &r)
{
    if (r.size < 6)
        return;
    const int row = rowOf(r);
    const int first = columnOf(r);
    const std::size_t count = (r.size - 6) / 6;
    for (std::size_t i = 0; i < count; ++i) {
        const char *p = r.data + 4 + 6 * i;
        setNumber(row, first + static_cast<int>(i), XlsByteReader::u16At(p), rkValue(XlsByteReader::u32At(p + 2)));
    }
}

void BiffSheetReader::readText(BiffRecordReader &records, const BiffRecord &r, std::size_t skip, int row, int column)
{
    try {
        setCell(row, column, CellValue::fromText(continuedText(records, r, skip)));
    } catch (const XlsFileError &) {
        // A malformed text record loses that cell only.
    }
}

QString BiffSheetReader::continuedText(BiffRecordReader &records, const BiffRecord &r, std::size_t skip)
{
    m_text.clear();
    m_text.addSegment(r.data + skip, r.size - skip);
    while (records.peekType() == BiffRecordReader::kContinue) {
        records.next();
        m_text.addSegment(records.record().data, records.record().size);
    }
    if (m_globals.biffVersion() == 8)
        return m_text.unicodeString(m_globals.compressedCodepage());
    return m_text.byteString(m_globals.codepage());
}

void BiffSheetReader::setCell(int row, int column, CellValue value)
{
    if (row != m_row)
        flushRow();
    m_row = row;
    m_rowCells.emplace_back(column, std::move(value));
}

void BiffSheetReader::flushRow()
{
    if (m_rowCells.empty())
        return;
    // The rightmost cell first sizes the row in one step.
    auto last = std::max_element(m_rowCells.begin(), m_rowCells.end(),
                                 [](const auto &a, const auto &b) { return a.first < b.first; });
    if (last->first <= m_sheet.limits().maxColumns)
        std::rotate(m_rowCells.begin(), last, last + 1);
    for (auto &cell : m_rowCells)
        m_sheet.set(m_row, cell.first, std::move(cell.second));
    m_rowCells.clear();
}

void BiffSheetReader::setNumber(int row, int column, quint16 xf, double value)
{
    if (m_globals.isDateXf(xf, value))
        setCell(row, column, CellValue::fromDateTime(m_globals.uses1904() ? value + k1904Offset : value));
    else
        setCell(row, column, CellValue::fromNumber(value));
}
