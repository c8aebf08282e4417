#pragma once

#include "external/DataAccessManager.h"

#include <QStringList>

// Statements a test runs through the data-access component, in its two steps.
namespace SqlRows {
inline void execute(DataAccessManager &datos, const QString &entity, const QString &sql)
{
    datos.getDataConnectionByEntity(entity)->setSql(sql);
    datos.getDataConnectionByEntity(entity)->ejecutar();
}

// The first row's values as text (null as ""); empty when the query gives no row.
inline QStringList firstRow(DataAccessManager &datos, const QString &entity, const QString &sql)
{
    datos.getDataConnectionByEntity(entity)->setSql(sql);
    std::shared_ptr<Recordset> rs;
    if (!datos.getDataConnectionByEntity(entity)->crearRs(rs))
        return {};
    QStringList values;
    for (const QString &field : rs->fieldNames())
        values << rs->fields(field).toString();
    return values;
}
} // namespace SqlRows
