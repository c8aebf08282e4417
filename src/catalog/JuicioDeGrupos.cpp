#include "catalog/JuicioDeGrupos.h"

#include <algorithm>

// The quickest one: the first questions of a connection pay for its warming up.
void JuicioDeGrupos::anotarSola(qint64 nanosegundos)
{
    m_solaNs = m_solas == 0 ? nanosegundos : std::min(m_solaNs, nanosegundos);
    ++m_solas;
}

void JuicioDeGrupos::anotarGrupo(qint64 nanosegundos, qsizetype codigos)
{
    const bool lento = nanosegundos > m_solaNs * codigos;
    m_gruposLentos = lento ? m_gruposLentos + 1 : std::max(0, m_gruposLentos - 1);
    if (m_gruposLentos >= kMaxGruposLentos)
        m_sinGrupos = true;
}
