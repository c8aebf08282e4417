#include "catalog/ConsultaCatalogo.h"

#include "catalog/GrupoDeCodigos.h"
#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>

namespace {
constexpr int kMaxGrupo = 64;
} // namespace

ConsultaCatalogo::ConsultaCatalogo(QString idCatalogo, std::function<QString(int)> codigoDe, int filas)
    : m_idCatalogo(std::move(idCatalogo)), m_codigoDe(std::move(codigoDe)), m_filas(filas)
{
}

void ConsultaCatalogo::completar(int fila, RegArticulo &articulo)
{
    if (fila >= m_hasta && !m_juicio.faltanSolas() && m_juicio.agrupar())
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
    m_juicio.anotarSola(reloj.nsecsElapsed());
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
        m_grupoLeido = leerRespuesta(modEntidadCatalogo::NcmDeAlgunos(m_idCatalogo, codigos), grupo, filas);
        m_juicio.anotarGrupo(reloj.nsecsElapsed(), codigos.size());
    } catch (const AppError &) {
        m_juicio.renunciar();
    }
}

// Each row of the answer belongs to the one asked code with its key; a row that fits none,
// or a code answered twice, leaves the group to single questions.
bool ConsultaCatalogo::leerRespuesta(const QList<QPair<QString, QString>> &respuesta, const GrupoDeCodigos &grupo,
                                     const QList<int> &filas)
{
    for (const auto &[codigo, ncm] : respuesta) {
        const qsizetype posicion = grupo.posicionDe(codigo);
        if (posicion < 0 || m_existentes.contains(filas[posicion]))
            return false;
        m_existentes.insert(filas[posicion], ncm);
    }
    return true;
}
