#pragma once

#include <QDate>
#include <QString>

// Pieces of the catalog statement texts. Numbers are written with ASCII digits and "." as
// decimal point whatever the operator's number format, as the catalog databases expect.
namespace FormatoSql {

// "00.00": at least two integer digits, two decimals, rounded; e.g. 1.5 -> 01.50.
QString pesoInsert(double kilos);

// General format, no grouping, as many decimals as needed; e.g. 1.5 -> 1.5.
QString pesoUpdate(double kilos);

// The number a database reads from pesoUpdate(kilos): kilos to 15 significant digits.
double pesoUpdateLeido(double kilos);

// Year, month and day (4, 2 and 2 digits) joined by the operator's date separator.
QString fechaAccess(const QDate &fecha);

} // namespace FormatoSql
