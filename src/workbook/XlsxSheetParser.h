#pragma once

#include "workbook/XmlStream.h"

#include <string>

class SheetBuilder;
class XlsxSharedStrings;
class XlsxStyles;

// Streams the cells of one OOXML worksheet part into a SheetBuilder.
class XlsxSheetParser : public XmlHandler {
public:
    XlsxSheetParser(SheetBuilder &sheet, const XlsxSharedStrings &strings, const XlsxStyles &styles, bool date1904);

    void startElement(const char *name, const char **attributes) override;
    void endElement(const char *name) override;
    void characters(const char *data, int length) override;

private:
    enum class Kind : char { Number, Shared, Boolean, Error, Date, Text, Inline };

    void startCell(const char **attributes);
    void endCell();

    SheetBuilder &m_sheet;
    const XlsxSharedStrings &m_strings;
    const XlsxStyles &m_styles;
    double m_dateOffset;
    int m_maxRows;

    int m_row = 0;
    int m_column = 0;
    Kind m_kind = Kind::Number;
    int m_style = 0;
    bool m_inCell = false;
    bool m_inInline = false;
    bool m_collecting = false;
    bool m_hasValue = false;
    int m_phonetic = 0;
    std::string m_text;
};
