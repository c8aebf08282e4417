#pragma once

#include "workbook/SheetData.h"

class ZipPackage;

// Reads the first worksheet (workbook order, hidden included) of an OOXML workbook
// (.xlsx, .xlsm), streaming the sheet part.
class XlsxReader {
public:
    static SheetData readFirstSheet(const ZipPackage &package, const ReadLimits &limits);
};
