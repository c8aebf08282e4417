#include "catalog/ConsultaCatalogo.h"

#include "catalog/ClaveHolgada.h"
#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>

namespace {
constexpr int kMaxGrupo = 64;
// Well under the statement length any engine takes, Access included.
constexpr qsizetype kMaxLargoConsulta = 16 * 1024;
// Single questions timed before the first group, to judge the groups by.
constexpr qint64 kSolasDePrueba = 3;
// A slow group counts up, a quick one down; at this count the run asks one by one.
constexpr int kMaxGruposLentos = 4;
} // namespace

ConsultaCatalogo::ConsultaCatalogo(QString idCatalogo, std::function<QString(int)> codigoDe, int filas)
    : m_idCatalogo(std::move(idCatalogo)), m_codigoDe(std::move(codigoDe)), m_filas(filas)
{
}

void ConsultaCatalogo::completar(int fila, RegArticulo &articulo)
{
    if (fila >= m_hasta && !m_sinGrupos && m_solas >= kSolasDePrueba)
        consultarGrupo(fila);
    if (fila < m_desde || fila >= m_hasta || !m_grupoLeido) {
        preguntarSolo(articulo);
        return;
    }
    const auto existente = m_existentes.constFind(fila);
    if (existente == m_existentes.constEnd()) {
        articulo.estado = QStringLiteral("Nuevo");
        articulo.ncm_catalogo.clear();
    } else {
        articulo.estado = QStringLiteral("Existe");
        articulo.ncm_catalogo = *existente;
    }
}

void ConsultaCatalogo::preguntarSolo(RegArticulo &articulo)
{
    QElapsedTimer reloj;
    reloj.start();
    modEntidadCatalogo::getArticuloenCatalogo(m_idCatalogo, articulo);
    // The quickest one: the first questions of a connection pay for its warming up.
    const qint64 demora = reloj.nsecsElapsed();
    m_solaNs = m_solas == 0 ? demora : std::min(m_solaNs, demora);
    ++m_solas;
}

void ConsultaCatalogo::consultarGrupo(int desde)
{
    QStringList codigos;
    QHash<QString, int> porClave; // key -> row
    qsizetype largo = 0;
    int hasta = desde;
    for (; hasta < m_filas && codigos.size() < kMaxGrupo; ++hasta) {
        const QString codigo = m_codigoDe(hasta);
        if (codigo.isEmpty())
            continue; // a row without article asks nothing
        const QString clave = claveHolgada(codigo);
        largo += codigo.size() + 4;
        if (clave.isEmpty() || porClave.contains(clave) || largo > kMaxLargoConsulta)
            break;
        porClave.insert(clave, hasta);
        codigos << codigo;
    }
    // A code that cannot join a group is asked alone.
    m_desde = desde;
    m_hasta = std::max(hasta, desde + 1);
    m_grupoLeido = false;
    m_existentes.clear();
    if (codigos.isEmpty())
        return;
    try {
        QElapsedTimer reloj;
        reloj.start();
        m_grupoLeido = leerRespuesta(modEntidadCatalogo::NcmDeAlgunos(m_idCatalogo, codigos), porClave);
        // Worth it only while quicker than the single questions it replaces.
        const bool lento = reloj.nsecsElapsed() > m_solaNs * codigos.size();
        m_gruposLentos = lento ? m_gruposLentos + 1 : std::max(0, m_gruposLentos - 1);
        m_sinGrupos = m_gruposLentos >= kMaxGruposLentos;
    } catch (const AppError &) {
        // The single questions report any lasting failure.
        m_sinGrupos = true;
    }
}

// Each row of the answer belongs to the one asked code with its key; a row that fits none,
// or a code answered twice, leaves the group to single questions.
bool ConsultaCatalogo::leerRespuesta(const QList<QPair<QString, QString>> &filas, const QHash<QString, int> &porClave)
{
    for (const auto &[codigo, ncm] : filas) {
        const auto fila = porClave.constFind(claveHolgada(codigo));
        if (fila == porClave.constEnd() || m_existentes.contains(*fila))
            return false;
        m_existentes.insert(*fila, ncm);
    }
    return true;
}
