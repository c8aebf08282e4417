#include "database/CapturaSqlite.h"

#include "database/ValoresSqlite.h"

#define SQLITE_ENABLE_PREUPDATE_HOOK
#include <algorithm>
#include <sqlite3.h>

namespace {
// Room for a few thousand rows at first; the buffer then doubles as it needs.
constexpr qsizetype kBytesIniciales = 1 << 20;

void gancho(void *captura, sqlite3 * /*motor*/, int operacion, const char *base, const char *tabla,
            sqlite3_int64 /*antes*/, sqlite3_int64 /*despues*/)
{
    if (qstrcmp(base, "main") == 0)
        static_cast<CapturaSqlite *>(captura)->registrar(operacion, tabla);
}

// Each column's place in the table, by name, letter case aside; -1 for one it lacks.
std::vector<int> posiciones(sqlite3 *motor, const QString &tabla, const QStringList &columnas)
{
    std::vector<int> donde(std::size_t(columnas.size()), -1);
    sqlite3_stmt *info = nullptr;
    const QByteArray sql = "select cid, name from pragma_table_info(?1, 'main')";
    if (sqlite3_prepare_v2(motor, sql.constData(), -1, &info, nullptr) != SQLITE_OK)
        return donde;
    const QByteArray nombre = tabla.toUtf8();
    sqlite3_bind_text(info, 1, nombre.constData(), int(nombre.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(info) == SQLITE_ROW) {
        const QString columna = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info, 1)));
        for (qsizetype i = 0; i < columnas.size(); ++i)
            if (columnas[i].compare(columna, Qt::CaseInsensitive) == 0)
                donde[std::size_t(i)] = sqlite3_column_int(info, 0);
    }
    sqlite3_finalize(info);
    return donde;
}

} // namespace

bool CapturaSqlite::crear(sqlite3 *motor, const QString &tabla, const QStringList &columnas)
{
    quitar(motor);
    if (!motor)
        return false;
    m_posiciones = posiciones(motor, tabla, columnas);
    if (columnas.isEmpty() || std::find(m_posiciones.begin(), m_posiciones.end(), -1) != m_posiciones.end())
        return false;
    m_motor = motor;
    m_utf8 = ValoresSqlite::esUtf8(motor);
    m_tabla = tabla.toUtf8();
    m_cambios.datos().reserve(kBytesIniciales);
    sqlite3_preupdate_hook(motor, gancho, this);
    return true;
}

void CapturaSqlite::quitar(sqlite3 *motor)
{
    if (m_motor && m_motor == motor)
        sqlite3_preupdate_hook(motor, nullptr, nullptr);
    m_motor = nullptr;
    m_cambios.clear();
    m_posiciones.clear();
}

void CapturaSqlite::registrar(int operacion, const char *tabla)
{
    if ((operacion != SQLITE_UPDATE && operacion != SQLITE_INSERT) || qstricmp(tabla, m_tabla.constData()) != 0)
        return;
    QByteArray &datos = m_cambios.datos();
    const qsizetype inicio = datos.size();
    sqlite3_value *valor = nullptr;
    if (operacion == SQLITE_UPDATE)
        for (int posicion : m_posiciones)
            ValoresSqlite::agregar(
                datos, sqlite3_preupdate_old(m_motor, posicion, &valor) == SQLITE_OK ? valor : nullptr, m_utf8);
    const qsizetype medio = datos.size();
    for (int posicion : m_posiciones)
        ValoresSqlite::agregar(datos, sqlite3_preupdate_new(m_motor, posicion, &valor) == SQLITE_OK ? valor : nullptr,
                               m_utf8);
    m_cambios.cerrarFila(inicio, medio);
}
