#pragma once

#include <QtGlobal>

// Whether grouped questions to the catalog are still worth asking. Each must take less than
// the single questions it replaces, timed on the quickest of a few asked first: a server
// without statistics on the table yet may answer a group by reading the whole catalog.
class JuicioDeGrupos {
public:
    // True until those first single questions are timed.
    bool faltanSolas() const { return m_solas < kSolasDePrueba; }
    bool sinGrupos() const { return m_sinGrupos; }

    void anotarSola(qint64 nanosegundos);
    void anotarGrupo(qint64 nanosegundos, qsizetype codigos);
    // A refused grouped question (or a failing connection) leaves the rest to single ones,
    // which report any lasting failure.
    void renunciar() { m_sinGrupos = true; }

private:
    static constexpr qint64 kSolasDePrueba = 3;
    // A slow group counts up, a quick one down; at this count the run asks one by one. A
    // machine that stalls now and then does not lose the groups for good.
    static constexpr int kMaxGruposLentos = 4;

    qint64 m_solaNs = 0;
    qint64 m_solas = 0;
    int m_gruposLentos = 0;
    bool m_sinGrupos = false;
};
