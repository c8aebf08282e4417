#pragma once

#include "workbook/SheetData.h"

class ZipPackage;

// Reads the first table of an OpenDocument spreadsheet (.ods), streaming content.xml.
class OdsReader {
public:
    // content.xml from splitFrom bytes up is parsed in two halves at once; `halves` tells
    // whether the second half's rows were used.
    static constexpr unsigned long long kSplitFrom = 16ull * 1024 * 1024;
    static SheetData readFirstSheet(const ZipPackage &package, const ReadLimits &limits,
                                    unsigned long long splitFrom = kSplitFrom, bool *halves = nullptr);
};
