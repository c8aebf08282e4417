#include "SqlRows.h"

#include "external/DataAccessManager.h"

namespace SqlRows {

void execute(DataAccessManager &datos, const QString &entity, const QString &sql)
{
    datos.getDataConnectionByEntity(entity)->setSql(sql);
    datos.getDataConnectionByEntity(entity)->ejecutar();
}

QStringList firstRow(DataAccessManager &datos, const QString &entity, const QString &sql)
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
