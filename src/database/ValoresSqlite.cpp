#include "database/ValoresSqlite.h"

#include "database/FilaCodificada.h"

#include <sqlite3.h>

namespace ValoresSqlite {

bool esUtf8(sqlite3 *motor)
{
    sqlite3_stmt *pragma = nullptr;
    bool utf8 = false;
    if (sqlite3_prepare_v2(motor, "pragma main.encoding", -1, &pragma, nullptr) == SQLITE_OK
        && sqlite3_step(pragma) == SQLITE_ROW)
        utf8 = qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(pragma, 0)), "UTF-8") == 0;
    sqlite3_finalize(pragma);
    return utf8;
}

void agregar(QByteArray &fila, sqlite3_value *valor, bool utf8)
{
    switch (valor ? sqlite3_value_type(valor) : SQLITE_NULL) {
    case SQLITE_INTEGER:
        return FilaCodificada::entero(fila, sqlite3_value_int64(valor));
    case SQLITE_FLOAT:
        return FilaCodificada::real(fila, sqlite3_value_double(valor));
    case SQLITE_TEXT: {
        const auto *texto = utf8 ? static_cast<const char *>(sqlite3_value_blob(valor))
                                 : reinterpret_cast<const char *>(sqlite3_value_text(valor));
        return FilaCodificada::texto(fila, texto, sqlite3_value_bytes(valor));
    }
    case SQLITE_BLOB: {
        const auto *datos = static_cast<const char *>(sqlite3_value_blob(valor));
        return FilaCodificada::bytes(fila, datos, sqlite3_value_bytes(valor));
    }
    default:
        return FilaCodificada::nulo(fila);
    }
}

void agregarColumna(QByteArray &fila, sqlite3_stmt *paso, int columna, bool utf8)
{
    switch (sqlite3_column_type(paso, columna)) {
    case SQLITE_INTEGER:
        return FilaCodificada::entero(fila, sqlite3_column_int64(paso, columna));
    case SQLITE_FLOAT:
        return FilaCodificada::real(fila, sqlite3_column_double(paso, columna));
    case SQLITE_TEXT: {
        const auto *texto = utf8 ? static_cast<const char *>(sqlite3_column_blob(paso, columna))
                                 : reinterpret_cast<const char *>(sqlite3_column_text(paso, columna));
        return FilaCodificada::texto(fila, texto, sqlite3_column_bytes(paso, columna));
    }
    case SQLITE_BLOB: {
        const auto *datos = static_cast<const char *>(sqlite3_column_blob(paso, columna));
        return FilaCodificada::bytes(fila, datos, sqlite3_column_bytes(paso, columna));
    }
    default:
        return FilaCodificada::nulo(fila);
    }
}

QVariant variante(sqlite3_stmt *paso, int columna)
{
    switch (sqlite3_column_type(paso, columna)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(paso, columna)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(paso, columna));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(paso, columna)),
                          sqlite3_column_bytes(paso, columna));
    default: {
        // The engine's own reading of a text that is not valid UTF-8, as Qt's driver asks it.
        const void *texto = sqlite3_column_text16(paso, columna);
        return QString(static_cast<const QChar *>(texto), sqlite3_column_bytes16(paso, columna) / 2);
    }
    }
}

QStringList nombres(sqlite3_stmt *paso)
{
    QStringList todos;
    for (int i = 0; i < sqlite3_column_count(paso); ++i)
        todos << QString(static_cast<const QChar *>(sqlite3_column_name16(paso, i))).remove(QLatin1Char('"'));
    return todos;
}

} // namespace ValoresSqlite
