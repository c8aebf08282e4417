#include "catalog/JuicioDeGrupos.h"

#include <algorithm>

bool JuicioDeGrupos::agrupar()
{
    if (m_renuncia)
        return false;
    if (m_pausa == 0)
        return true;
    --m_pausa;
    return false;
}

// The quickest one: the first questions of a connection pay for its warming up.
void JuicioDeGrupos::anotarSola(qint64 nanosegundos)
{
    m_solaNs = m_solas == 0 ? nanosegundos : std::min(m_solaNs, nanosegundos);
    ++m_solas;
}

void JuicioDeGrupos::anotarGrupo(qint64 nanosegundos, qsizetype codigos)
{
    const bool lento = nanosegundos > m_solaNs * codigos;
    if (!lento) {
        m_gruposLentos = std::max(0, m_gruposLentos - 1);
        m_largoPausa = kPausaMinima;
        return;
    }
    if (++m_gruposLentos < kMaxGruposLentos)
        return;
    m_pausa = m_largoPausa;
    m_largoPausa = std::min(m_largoPausa * 2, kPausaMaxima);
    // After the pause one more slow group is enough to pause again.
    m_gruposLentos = kMaxGruposLentos - 1;
}
