#pragma once

#include "workbook/SheetData.h"

#include <QByteArray>
#include <QChar>
#include <QString>

// Reads a delimited text file as one worksheet of text cells. The delimiter (";", ","
// or TAB) is taken from the first line; quoted fields may hold delimiters, doubled
// quotes and line breaks. UTF-8, with Windows-1252 for bytes that are not UTF-8; UTF-16
// or UTF-32 when a byte-order mark says so.
class CsvReader {
public:
    static SheetData readFirstSheet(const QString &path, const ReadLimits &limits);
    static SheetData parse(const QString &path, const QByteArray &bytes, const ReadLimits &limits);
    // The same, on text already decoded.
    static SheetData parseText(const QString &path, const QString &text, const ReadLimits &limits);

    // A byte-order mark is dropped.
    static QString decode(const QByteArray &bytes);
    static QChar sniffDelimiter(const QString &text);
};
