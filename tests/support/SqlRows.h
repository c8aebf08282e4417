#pragma once

#include <QStringList>

class DataAccessManager;

// Statements a test runs through the data-access component, in its two steps.
namespace SqlRows {
void execute(DataAccessManager &datos, const QString &entity, const QString &sql);
// The first row's values as text (null as ""); empty when the query gives no row.
QStringList firstRow(DataAccessManager &datos, const QString &entity, const QString &sql);
} // namespace SqlRows
