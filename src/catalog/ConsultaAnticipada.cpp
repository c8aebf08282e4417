#include "catalog/ConsultaAnticipada.h"

#include "catalog/GrupoDeCodigos.h"
#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>

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

void ConsultaAnticipada::preguntarCon(std::function<bool(const QStringList &)> pregunta)
{
    m_pregunta = std::move(pregunta);
}

bool ConsultaAnticipada::preguntar(const QStringList &codigos)
{
    return m_pregunta ? m_pregunta(codigos) : modEntidadCatalogo::ExisteAlguno(m_idCatalogo, codigos);
}

// The question the article's own statement would have asked, asked here instead.
void ConsultaAnticipada::consultarSola(std::size_t posicion)
{
    if (!m_pregunta)
        return;
    const QStringList codigo{m_pendientes[posicion].second};
    if (m_antesDePreguntar)
        m_antesDePreguntar(codigo);
    try {
        m_grupoAusente = !preguntar(codigo);
    } catch (const AppError &) {
        m_juicio.renunciar();
    }
}

void ConsultaAnticipada::consultarGrupo(std::size_t desde)
{
    m_grupoAusente = false;
    m_hasta = desde + 1;
    // While groups are paused the article is asked alone: by its own statement, or by
    // consultarSola.
    if (!m_juicio.agrupar()) {
        consultarSola(desde);
        return;
    }
    GrupoDeCodigos grupo;
    // The first questions go alone, timed to judge the groups by.
    const std::size_t maxGrupo = m_juicio.faltanSolas() ? 1 : m_maxGrupo;
    std::size_t hasta = desde;
    while (hasta < m_pendientes.size() && hasta - desde < maxGrupo && grupo.agregar(m_pendientes[hasta].second))
        ++hasta;
    const QStringList &codigos = grupo.codigos();
    // A code that cannot join a group is asked alone.
    m_hasta = std::max(hasta, desde + 1);
    if (codigos.isEmpty()) {
        consultarSola(desde);
        return;
    }
    if (m_antesDePreguntar)
        m_antesDePreguntar(codigos);
    try {
        QElapsedTimer reloj;
        reloj.start();
        m_grupoAusente = !preguntar(codigos);
        if (maxGrupo == 1)
            m_juicio.anotarSola(reloj.nsecsElapsed());
        else
            m_juicio.anotarGrupo(reloj.nsecsElapsed(), codigos.size());
    } catch (const AppError &) {
        m_juicio.renunciar();
    }
}
