#include "catalog/ConsultaAnticipada.h"

#include "catalog/GrupoDeCodigos.h"
#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>

namespace {

// A slow grouped question counts up, a quick one down; at this count the run asks one by
// one. A machine that stalls now and then does not lose the groups for good.
constexpr int kMaxGruposLentos = 4;

} // namespace

ConsultaAnticipada::ConsultaAnticipada(QString idCatalogo, std::vector<Pendiente> pendientes, std::size_t maxGrupo)
    : m_idCatalogo(std::move(idCatalogo)), m_pendientes(std::move(pendientes)), m_maxGrupo(maxGrupo)
{
}

// Where item `indice` is among the pending ones, or where it would be.
std::size_t ConsultaAnticipada::posicionDe(int indice) const
{
    std::size_t posicion = m_posicion;
    while (posicion < m_pendientes.size() && m_pendientes[posicion].first < indice)
        ++posicion;
    return posicion;
}

bool ConsultaAnticipada::sabidoAusente(int indice) const
{
    const std::size_t posicion = posicionDe(indice);
    return posicion < m_hasta && posicion < m_pendientes.size() && m_pendientes[posicion].first == indice
           && m_grupoAusente;
}

bool ConsultaAnticipada::ausente(int indice)
{
    m_posicion = posicionDe(indice);
    if (m_posicion >= m_pendientes.size() || m_pendientes[m_posicion].first != indice)
        return false;
    if (m_posicion >= m_hasta)
        consultarGrupo(m_posicion);
    return m_grupoAusente && m_posicion < m_hasta;
}

void ConsultaAnticipada::anotarSentencia(qint64 nanosegundos)
{
    m_sentenciasNs += nanosegundos;
    ++m_sentencias;
}

void ConsultaAnticipada::juzgarDemora(qint64 nanosegundos, qsizetype codigos)
{
    if (m_sentencias == 0)
        return;
    const qint64 unaPorUna = m_sentenciasNs / m_sentencias * codigos;
    m_gruposLentos = nanosegundos > unaPorUna ? m_gruposLentos + 1 : std::max(0, m_gruposLentos - 1);
    if (m_gruposLentos >= kMaxGruposLentos)
        m_sinGrupos = true;
}

void ConsultaAnticipada::consultarGrupo(std::size_t desde)
{
    GrupoDeCodigos grupo;
    std::size_t hasta = desde;
    while (hasta < m_pendientes.size() && hasta - desde < m_maxGrupo && grupo.agregar(m_pendientes[hasta].second))
        ++hasta;
    const QStringList &codigos = grupo.codigos();
    // A code that cannot join a group is asked alone.
    m_hasta = std::max(hasta, desde + 1);
    m_grupoAusente = false;
    if (codigos.isEmpty() || m_sinGrupos)
        return;
    if (m_antesDePreguntar)
        m_antesDePreguntar(codigos);
    try {
        QElapsedTimer reloj;
        reloj.start();
        m_grupoAusente = !modEntidadCatalogo::ExisteAlguno(m_idCatalogo, codigos);
        juzgarDemora(reloj.nsecsElapsed(), codigos.size());
    } catch (const AppError &) {
        // An engine that refuses the grouped question (or a failing connection) gets the
        // articles asked one by one for the rest of the run; that reports any lasting failure.
        m_sinGrupos = true;
    }
}
