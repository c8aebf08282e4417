#pragma once

#include "external/workbook/SheetData.h"

class ZipPackage;

// Reads the first table of an OpenDocument spreadsheet (.ods), streaming content.xml.
class OdsReader {
public:
    static SheetData readFirstSheet(const ZipPackage &package, const ReadLimits &limits);
};
