#pragma once

#include "workbook/BiffContinuedReader.h"
#include "workbook/SheetData.h"

#include <QByteArray>
#include <utility>
#include <vector>

class BiffWorkbookGlobals;
class BiffRecordReader;
struct BiffRecord;

// Reads the cells of one worksheet substream (BOF to its EOF) into SheetData: shared and
// inline strings, numbers, RK values, booleans, errors and the cached results of formulas.
// Numbers whose cell format is a date become date serials in the 1900 system.
class BiffSheetReader {
public:
    BiffSheetReader(const QByteArray &stream, const BiffWorkbookGlobals &globals);

    SheetData read(std::size_t offset, const ReadLimits &limits);

private:
    void readRecord(BiffRecordReader &records, const BiffRecord &r);
    void readFormula(const BiffRecord &r);
    void readMulRk(const BiffRecord &r);
    void readText(BiffRecordReader &records, const BiffRecord &r, std::size_t skip, int row, int column);
    QString continuedText(BiffRecordReader &records, const BiffRecord &r, std::size_t skip);
    void setNumber(int row, int column, quint16 xf, double value);
    void setCell(int row, int column, CellValue value);
    void flushRow();

    const QByteArray &m_stream;
    const BiffWorkbookGlobals &m_globals;
    BiffContinuedReader m_text;
    SheetData m_sheet;
    // Cells of the row being read, stored together so that each row is allocated once.
    std::vector<std::pair<int, CellValue>> m_rowCells;
    int m_row = 0;
    // The cell of a formula whose text result comes in the next STRING record.
    int m_pendingRow = 0;
    int m_pendingColumn = 0;
};
