#include "database/CapturaSqlite.h"

#include "database/FilaCodificada.h"

#define SQLITE_ENABLE_PREUPDATE_HOOK
#include <algorithm>
#include <sqlite3.h>

namespace {
// A row is a few hundred bytes: room for it at once rather than growing value by value.
constexpr qsizetype kBytesPorFila = 384;

void gancho(void *captura, sqlite3 * /*motor*/, int operacion, const char *base, const char *tabla,
            sqlite3_int64 /*antes*/, sqlite3_int64 /*despues*/)
{
    if (qstrcmp(base, "main") == 0)
        static_cast<CapturaSqlite *>(captura)->registrar(operacion, tabla);
}

// The value as the engine holds it.
void agregar(QByteArray &fila, sqlite3_value *valor)
{
    switch (valor ? sqlite3_value_type(valor) : SQLITE_NULL) {
    case SQLITE_INTEGER:
        return FilaCodificada::entero(fila, sqlite3_value_int64(valor));
    case SQLITE_FLOAT:
        return FilaCodificada::real(fila, sqlite3_value_double(valor));
    case SQLITE_TEXT: {
        const auto *texto = reinterpret_cast<const char *>(sqlite3_value_text(valor));
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
    m_tabla = tabla.toUtf8();
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

void CapturaSqlite::volverA(std::size_t marca)
{
    if (marca < m_cambios.size())
        m_cambios.resize(marca);
}

void CapturaSqlite::registrar(int operacion, const char *tabla)
{
    if ((operacion != SQLITE_UPDATE && operacion != SQLITE_INSERT) || qstricmp(tabla, m_tabla.constData()) != 0)
        return;
    CambioDeFila cambio;
    sqlite3_value *valor = nullptr;
    if (operacion == SQLITE_UPDATE) {
        cambio.antes.reserve(kBytesPorFila);
        for (int posicion : m_posiciones)
            agregar(cambio.antes, sqlite3_preupdate_old(m_motor, posicion, &valor) == SQLITE_OK ? valor : nullptr);
    }
    cambio.despues.reserve(kBytesPorFila);
    for (int posicion : m_posiciones)
        agregar(cambio.despues, sqlite3_preupdate_new(m_motor, posicion, &valor) == SQLITE_OK ? valor : nullptr);
    m_cambios.push_back(std::move(cambio));
}
