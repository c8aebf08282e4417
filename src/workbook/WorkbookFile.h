#pragma once

#include "workbook/SheetData.h"

#include <QString>
#include <QStringList>

// Reads the first worksheet of a workbook file, telling its format by content:
// zip packages (OOXML or OpenDocument), compound files (.xls, or an encrypted OOXML),
// and any other text as CSV.
class WorkbookFile {
public:
    enum class Format { Xlsx, Ods, Xls, EncryptedOoxml, Csv, Unknown };

    static SheetData readFirstSheet(const QString &path, const ReadLimits &limits);
    // Raises the missing-file error; Unknown for bytes no reader takes.
    static Format detect(const QString &path);
    // Extensions, without the dot, of the files the readers take: what an open dialog offers.
    static const QStringList &readableExtensions();
};
