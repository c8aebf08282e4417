#pragma once

#include "core/AppError.h"
#include "database/DataAccessManager.h"

#include <QStringList>
#include <QTest>

// Statements a test runs through the data-access component, in its two steps.
namespace SqlRows {
inline long execute(DataAccessManager &datos, const QString &entity, const Sentencia &sql)
{
    datos.getDataConnectionByEntity(entity)->setSql(sql);
    return datos.getDataConnectionByEntity(entity)->ejecutar();
}

// The current row's values as text (null as "").
inline QStringList values(const Recordset &rs)
{
    QStringList out;
    for (const QString &field : rs.fieldNames())
        out << rs.fields(field).toString();
    return out;
}

// The first row's values; empty when the query gives no row.
inline QStringList firstRow(DataAccessManager &datos, const QString &entity, const QString &sql)
{
    datos.getDataConnectionByEntity(entity)->setSql(sql);
    std::shared_ptr<Recordset> rs;
    if (!datos.getDataConnectionByEntity(entity)->crearRs(rs))
        return {};
    return values(*rs);
}

// Every row, its values joined by '|'.
inline QStringList rows(DataAccessManager &datos, const QString &entity, const QString &sql)
{
    datos.getDataConnectionByEntity(entity)->setSql(sql);
    std::shared_ptr<Recordset> rs;
    QStringList out;
    if (datos.getDataConnectionByEntity(entity)->crearRs(rs))
        for (; !rs->eof(); rs->moveNext())
            out << values(*rs).join(u'|');
    return out;
}

inline QString first(DataAccessManager &datos, const QString &entity, const QString &sql)
{
    return firstRow(datos, entity, sql).value(0, QStringLiteral("<no rows>"));
}

// The error the call raises from the data-access component, as "number description".
template <typename F> QString failure(F call)
{
    try {
        call();
    } catch (const AppError &e) {
        QTest::qCompare(e.source(), QStringLiteral("DataAccessManager.DAMMain"), "source", "", __FILE__, __LINE__);
        return QString::number(e.number()) + u' ' + e.description();
    }
    return QStringLiteral("(no error)");
}
} // namespace SqlRows
