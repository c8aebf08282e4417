#include "catalog/VentanaEnvio.h"

#include "catalog/ClaveHolgada.h"
#include "catalog/EnvioArticulos.h"
#include "core/AppError.h"
#include "core/modGlobal.h"
#include "database/DataAccessManager.h"
#include "database/DatabaseConnection.h"
#include "database/ErrorDeMotor.h"

#include <utility>

namespace {
const QString kCatalogos = QStringLiteral("CATALOGOS");

std::shared_ptr<DatabaseConnection> conexion()
{
    return modGlobal::AccesoDatos->getDataConnectionByEntity(kCatalogos);
}

void enviar(const Sentencia &sql)
{
    conexion()->setSql(sql);
    conexion()->ejecutar();
}

bool claveDuplicada(const AppError &error)
{
    return error.description().startsWith(ErrorDeMotor::frase(ErrorDeMotor::Clase::ClaveDuplicada));
}
} // namespace

// An insert that meets the article another program inserted since it was asked for becomes
// what the statement builder gives when asked again: its update.
void VentanaEnvio::ejecutar(const Item &item)
{
    try {
        enviar(item.sql);
    } catch (const AppError &error) {
        if (!item.deNuevo || !claveDuplicada(error))
            throw;
        enviar(item.deNuevo());
    }
}

VentanaEnvio::VentanaEnvio(int porEnvio, ResumenEnvio &resumen, Avance avance, int cantidad)
    : m_porEnvio(porEnvio), m_resumen(resumen), m_avance(std::move(avance)), m_cantidad(cantidad)
{
}

void VentanaEnvio::agregar(int item, const Sentencia &sql, const QString &articulo, const QString &nuevo,
                           std::function<Sentencia()> deNuevo)
{
    Item puesto{item, sql, articulo, true, std::move(deNuevo)};
    if (m_porEnvio <= 1) {
        ejecutar(puesto);
        cumplir(puesto);
        return;
    }
    if (m_cola.empty())
        m_reloj.start();
    m_cola.push_back(std::move(puesto));
    if (!nuevo.isEmpty()) {
        const QString clave = claveHolgada(nuevo);
        m_cualquiera = m_cualquiera || clave.isEmpty();
        m_claves.insert(clave);
    }
    if (++m_sentencias >= m_porEnvio || m_reloj.elapsed() >= kMsPorVentana)
        vaciar();
}

void VentanaEnvio::sinCambios(int item)
{
    poner({item, Sentencia(), QString(), true, {}});
}

void VentanaEnvio::pasar(int item)
{
    poner({item, Sentencia(), QString(), false, {}});
}

// An item with nothing to send waits only behind statements still on their way.
void VentanaEnvio::poner(Item item)
{
    if (m_cola.empty())
        cumplir(item);
    else
        m_cola.push_back(std::move(item));
}

void VentanaEnvio::cumplir(const Item &item)
{
    if (!item.sql.isEmpty())
        ++m_resumen.enviados;
    else if (item.marcado)
        ++m_resumen.sinCambios;
    m_avance(item.indice + 1, item.indice + 1 == m_cantidad);
}

void VentanaEnvio::vaciar()
{
    if (m_cola.empty())
        return;
    const std::vector<Item> items = std::exchange(m_cola, {});
    m_sentencias = 0;
    m_claves.clear();
    m_cualquiera = false;
    std::vector<Sentencia> sentencias;
    sentencias.reserve(items.size());
    for (const Item &item : items) {
        if (!item.sql.isEmpty())
            sentencias.push_back(item.sql);
    }
    bool juntas = false;
    try {
        juntas = conexion()->ejecutarJuntas(sentencias);
    } catch (const AppError &) {
        // The connection was lost with the window: none of it stands, from its first article on.
        m_resumen.enCurso = items.front().articulo;
        throw;
    }
    if (!juntas) {
        unaPorUna(items);
        return;
    }
    for (const Item &item : items)
        cumplir(item);
}

void VentanaEnvio::antesDeLeer(const QStringList &codigos)
{
    if (m_claves.isEmpty())
        return;
    for (const QString &codigo : codigos) {
        const QString clave = claveHolgada(codigo);
        if (m_cualquiera || clave.isEmpty() || m_claves.contains(clave)) {
            vaciar();
            return;
        }
    }
}

// Each statement again on its own; the one that fails stops the run at its article, as it
// would have without windows.
void VentanaEnvio::unaPorUna(const std::vector<Item> &items)
{
    const QString enCurso = m_resumen.enCurso;
    for (const Item &item : items) {
        if (!item.sql.isEmpty()) {
            m_resumen.enCurso = item.articulo;
            ejecutar(item);
        }
        cumplir(item);
    }
    m_resumen.enCurso = enCurso;
}
