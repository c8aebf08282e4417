#pragma once

#include <QtGlobal>

// Whether grouped questions to the catalog are still worth asking. Each must take less than
// the single questions it replaces, timed on the quickest of a few asked first: a server
// without statistics on the table yet may answer a group by reading the whole catalog.
//
// Groups judged slow are paused, never dropped: a machine or a link that stalls for a few
// questions must not cost the rest of the run one round trip per article. A pause lasts a
// bounded number of single questions, then a group is tried again; only groups that stay
// slow make the next pause longer.
class JuicioDeGrupos {
public:
    // True until those first single questions are timed.
    bool faltanSolas() const { return m_solas < kSolasDePrueba; }
    // Whether the next question may be a group. While groups are paused each call stands
    // for one single question asked instead, and brings the end of the pause nearer.
    bool agrupar();

    void anotarSola(qint64 nanosegundos);
    void anotarGrupo(qint64 nanosegundos, qsizetype codigos);
    // A refused grouped question (or a failing connection) leaves the rest to single ones,
    // which report any lasting failure.
    void renunciar() { m_renuncia = true; }

    static constexpr int kPausaMinima = 64;
    static constexpr int kPausaMaxima = 1024;

private:
    static constexpr qint64 kSolasDePrueba = 3;
    // A slow group counts up, a quick one down; at this count groups pause.
    static constexpr int kMaxGruposLentos = 4;

    qint64 m_solaNs = 0;
    qint64 m_solas = 0;
    int m_gruposLentos = 0;
    int m_pausa = 0;
    int m_largoPausa = kPausaMinima;
    bool m_renuncia = false;
};
