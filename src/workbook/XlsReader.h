#pragma once

#include "workbook/SheetData.h"

#include <QString>

// Reads the first worksheet (workbook order, hidden included) of an .xls file:
// BIFF8 (and BIFF5) inside a compound file. Raises AppError with a Spanish description
// for a file that is missing, damaged, truncated or encrypted.
class XlsReader {
public:
    static SheetData readFirstSheet(const QString &path, const ReadLimits &limits = ReadLimits());
};
