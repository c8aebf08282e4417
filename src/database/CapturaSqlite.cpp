#include "database/CapturaSqlite.h"

#include <sqlite3.h>

namespace {
const char kTabla[] = "temp.sorvanta_cambios";

QString valores(const char *fila, const QStringList &columnas)
{
    QStringList valores;
    for (const QString &columna : columnas)
        valores << QLatin1String(fila) + QLatin1Char('.') + columna;
    return valores.join(QStringLiteral(", "));
}

bool ejecutar(sqlite3 *motor, const QString &sql)
{
    return sqlite3_exec(motor, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

QVariant valor(sqlite3_stmt *fila, int i)
{
    switch (sqlite3_column_type(fila, i)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(fila, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(fila, i);
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(fila, i)),
                                 sqlite3_column_bytes(fila, i));
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(fila, i)), sqlite3_column_bytes(fila, i));
    default:
        return QVariant();
    }
}
} // namespace

bool CapturaSqlite::crear(sqlite3 *motor, const QString &tabla, const QStringList &columnas)
{
    quitar(motor);
    QStringList sinTipo;
    for (int i = 0; i < columnas.size(); ++i)
        sinTipo << QStringLiteral("c%1").arg(i);
    const QString cols = sinTipo.join(QStringLiteral(", "));
    const QString insertar = QStringLiteral("insert into %1 (nuevo, %2) values ").arg(QLatin1String(kTabla), cols);
    // Columns without a type keep each value as the table holds it.
    const bool hecho =
        ejecutar(motor, QStringLiteral("create temp table sorvanta_cambios (nuevo integer, %1)").arg(cols))
        && ejecutar(motor, QStringLiteral("create temp trigger sorvanta_actualizado after update on main.%1 begin "
                                          "%2(0, %3); %2(1, %4); end")
                               .arg(tabla, insertar, valores("old", columnas), valores("new", columnas)))
        && ejecutar(motor, QStringLiteral("create temp trigger sorvanta_insertado after insert on main.%1 begin "
                                          "%2(2, %3); end")
                               .arg(tabla, insertar, valores("new", columnas)));
    m_columnas = int(columnas.size());
    if (!hecho)
        quitar(motor);
    return hecho;
}

std::vector<CambioDeFila> CapturaSqlite::leer(sqlite3 *motor) const
{
    std::vector<CambioDeFila> cambios;
    sqlite3_stmt *fila = nullptr;
    const QByteArray sql = QByteArrayLiteral("select * from ") + kTabla + " order by rowid";
    if (!activa() || sqlite3_prepare_v2(motor, sql.constData(), -1, &fila, nullptr) != SQLITE_OK)
        return cambios;
    while (sqlite3_step(fila) == SQLITE_ROW) {
        QVariantList valores;
        valores.reserve(m_columnas);
        for (int i = 1; i <= m_columnas; ++i)
            valores.append(valor(fila, i));
        const int nuevo = sqlite3_column_int(fila, 0);
        // An update's row before comes just ahead of its row after.
        if (nuevo == 0)
            cambios.push_back({std::move(valores), {}});
        else if (nuevo == 1 && !cambios.empty() && cambios.back().despues.isEmpty())
            cambios.back().despues = std::move(valores);
        else
            cambios.push_back({{}, std::move(valores)});
    }
    sqlite3_finalize(fila);
    return cambios;
}

void CapturaSqlite::quitar(sqlite3 *motor)
{
    if (motor) {
        ejecutar(motor, QStringLiteral("drop trigger if exists temp.sorvanta_actualizado"));
        ejecutar(motor, QStringLiteral("drop trigger if exists temp.sorvanta_insertado"));
        ejecutar(motor, QStringLiteral("drop table if exists temp.sorvanta_cambios"));
    }
    m_columnas = 0;
}
