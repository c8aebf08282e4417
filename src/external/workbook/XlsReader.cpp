#include "external/workbook/XlsReader.h"

#include "platform/AppError.h"

SheetData XlsReader::readFirstSheet(const QString &path, const ReadLimits &limits)
{
    Q_UNUSED(limits);
    throw AppError(1004, path, QStringLiteral("Los libros .xls todavía no se pueden leer"));
}
