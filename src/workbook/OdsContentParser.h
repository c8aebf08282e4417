#pragma once

#include "workbook/CellValue.h"
#include "workbook/XmlStream.h"

#include <string>
#include <vector>

class SheetBuilder;

// Streams the first table of an OpenDocument content part into a SheetBuilder. Repeated
// rows and cells are written once per repetition only when they hold a value, clamped
// to the sheet's limits; empty repetitions just move the position.
class OdsContentParser : public XmlHandler {
public:
    explicit OdsContentParser(SheetBuilder &sheet);

    void startElement(const char *name, const char **attributes) override;
    void endElement(const char *name) override;
    void characters(const char *data, int length) override;

    // Inside the first table with nothing of it open: the next element starts a row or
    // ends the table. A parse of the rest may start here.
    bool betweenRows() const { return m_tableDepth == 1 && m_openInTable == 0 && !stopped(); }
    // The sheet row the next table row will be.
    qint64 nextRow() const { return m_row; }

private:
    struct Run {
        qint64 column;
        qint64 count;
        CellValue value;
    };

    void startCell(const char **attributes);
    void endCell();
    void endRow();
    CellValue cellValue() const;

    SheetBuilder &m_sheet;
    qint64 m_maxRows;
    qint64 m_maxColumns;

    int m_tableDepth = 0;
    // Elements open inside the tables, the tables themselves not counted.
    int m_openInTable = 0;
    qint64 m_row = 1;
    qint64 m_rowRepeat = 1;
    qint64 m_column = 1;
    std::vector<Run> m_runs;

    bool m_inCell = false;
    qint64 m_cellRepeat = 1;
    std::string m_valueType;
    std::string m_value;
    bool m_isError = false;
    bool m_hasStringValue = false;
    int m_annotation = 0;
    int m_paragraphs = 0;
    int m_inParagraph = 0;
    std::string m_text;
};
