#pragma once

#include "catalog/JuicioDeGrupos.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <utility>
#include <vector>

// Asks the catalog, for the next new articles of one sending run, in groups rather than
// one by one, which of them it surely lacks; one question per group instead of one per
// article halves the round trips to a database server.
//
// The answer for a group must stay true until each of its articles is inserted, so a
// group is asked just before its first article is sent and never holds two codes the
// database might take for the same one: those, and codes without a key of ClaveHolgada,
// end the group and are asked alone.
class ConsultaAnticipada {
public:
    // Item index in the list and the article code exactly as it will be sent.
    using Pendiente = std::pair<int, QString>;

    // pendientes: the checked new articles in list order; up to maxGrupo codes a question.
    ConsultaAnticipada(QString idCatalogo, std::vector<Pendiente> pendientes, std::size_t maxGrupo = 8);

    // True only when the catalog surely lacks the code of item `indice` now; false means
    // "ask for this one alone". Items must be asked about in list order.
    bool ausente(int indice);
    // True when ausente(indice) would answer true from a group already asked, asking nothing.
    bool sabidoAusente(int indice) const;
    // Hears the codes of each grouped question just before it is asked.
    void antesDePreguntar(std::function<void(const QStringList &)> oyente) { m_antesDePreguntar = std::move(oyente); }
    // Asks through `pregunta` (whether the catalog holds any of the codes) instead, and asks
    // every code before its statement goes, alone where it cannot go in a group: the one who
    // answers may read what it needs of the catalog then.
    void preguntarCon(std::function<bool(const QStringList &)> pregunta);

private:
    std::size_t posicionDe(int indice) const;
    void consultarGrupo(std::size_t desde);
    void consultarSola(std::size_t posicion);
    bool preguntar(const QStringList &codigos);

    QString m_idCatalogo;
    std::vector<Pendiente> m_pendientes;
    std::size_t m_maxGrupo;
    std::function<void(const QStringList &)> m_antesDePreguntar;
    std::function<bool(const QStringList &)> m_pregunta;
    std::size_t m_posicion = 0;
    // The group asked last ends before m_hasta in m_pendientes.
    std::size_t m_hasta = 0;
    bool m_grupoAusente = false;
    JuicioDeGrupos m_juicio;
};
