#include "catalog/ConsultaCatalogo.h"

#include "catalog/FilasCatalogo.h"
#include "catalog/GrupoDeCodigos.h"
#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"
#include "core/modGlobal.h"
#include "database/DataAccessManager.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>

namespace {
constexpr int kMaxGrupo = 256;
} // namespace

ConsultaCatalogo::ConsultaCatalogo(QString idCatalogo, std::function<QString(int)> codigoDe, int filas)
    : m_idCatalogo(std::move(idCatalogo)), m_codigoDe(std::move(codigoDe)), m_filas(filas)
{
}

namespace {
void marcar(RegArticulo &articulo, const std::optional<FilaCatalogo> &fila)
{
    if (fila) {
        articulo.estado = QStringLiteral("Existe");
        articulo.ncm_catalogo = fila->ncm.toString();
    } else {
        articulo.estado = QStringLiteral("Nuevo");
        articulo.ncm_catalogo.clear();
    }
}
} // namespace

const QString &ConsultaCatalogo::tipoBase()
{
    if (!m_tipoBase) {
        m_tipoBase = QString();
        try {
            if (modGlobal::AccesoDatos)
                m_tipoBase = modGlobal::AccesoDatos->getDataConnectionTAG(QStringLiteral("CATALOGOS"));
        } catch (const AppError &) {
            // Unknown kind: the whole row is asked as for "SQL"; F12 refuses such a catalog anyway.
        }
    }
    return *m_tipoBase;
}

std::optional<FilaCatalogo> ConsultaCatalogo::completar(int fila, RegArticulo &articulo)
{
    if (fila >= m_hasta && !m_juicio.faltanSolas() && m_juicio.agrupar())
        consultarGrupo(fila);
    if (fila < m_desde || fila >= m_hasta || !m_grupoLeido)
        return preguntarSolo(articulo);
    std::optional<FilaCatalogo> existente;
    if (const auto leida = m_existentes.constFind(fila); leida != m_existentes.constEnd())
        existente = *leida;
    marcar(articulo, existente);
    return existente;
}

// A catalog that refuses the whole row (columns of another name) still answers F11: with
// the NCM alone, as before, and without foresight for those rows.
std::optional<FilaCatalogo> ConsultaCatalogo::preguntarSolo(RegArticulo &articulo)
{
    QElapsedTimer reloj;
    reloj.start();
    std::optional<FilaCatalogo> fila;
    bool respondida = false;
    if (m_filasEnteras) {
        try {
            fila = FilasCatalogo::deUno(m_idCatalogo, articulo.idarticulo, tipoBase());
            respondida = true;
        } catch (const AppError &) {
            m_filasEnteras = false;
        }
    }
    if (respondida) {
        marcar(articulo, fila);
    } else {
        modEntidadCatalogo::getArticuloenCatalogo(m_idCatalogo, articulo);
        if (articulo.estado == QLatin1String("Existe"))
            fila = FilaCatalogo{}; // exists, row unknown
    }
    m_juicio.anotarSola(reloj.nsecsElapsed());
    return fila;
}

void ConsultaCatalogo::consultarGrupo(int desde)
{
    GrupoDeCodigos grupo;
    QList<int> filas; // the row of each code of the group
    int hasta = desde;
    for (; hasta < m_filas && filas.size() < kMaxGrupo; ++hasta) {
        const QString codigo = m_codigoDe(hasta);
        if (codigo.isEmpty())
            continue; // a row without article asks nothing
        if (!grupo.agregar(codigo))
            break;
        filas << hasta;
    }
    // A code that cannot join a group is asked alone.
    m_desde = desde;
    m_hasta = std::max(hasta, desde + 1);
    m_grupoLeido = false;
    m_existentes.clear();
    const QStringList &codigos = grupo.codigos();
    if (codigos.isEmpty())
        return;
    try {
        QElapsedTimer reloj;
        reloj.start();
        m_grupoLeido = leerRespuesta(FilasCatalogo::deAlgunos(m_idCatalogo, codigos, tipoBase()), grupo, filas);
        m_juicio.anotarGrupo(reloj.nsecsElapsed(), codigos.size());
    } catch (const AppError &) {
        m_juicio.renunciar();
    }
}

// Each row of the answer belongs to the one asked code with its key; a row that fits none,
// or a code answered twice, leaves the group to single questions.
bool ConsultaCatalogo::leerRespuesta(const QList<FilaCatalogo> &respuesta, const GrupoDeCodigos &grupo,
                                     const QList<int> &filas)
{
    for (const FilaCatalogo &fila : respuesta) {
        const qsizetype posicion = grupo.posicionDe(fila.idarticulo);
        if (posicion < 0 || m_existentes.contains(filas[posicion]))
            return false;
        m_existentes.insert(filas[posicion], fila);
    }
    return true;
}
