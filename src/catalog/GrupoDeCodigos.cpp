#include "catalog/GrupoDeCodigos.h"

#include "catalog/ClaveHolgada.h"

namespace {
constexpr qsizetype kMaxLargoConsulta = 16 * 1024;
} // namespace

bool GrupoDeCodigos::agregar(const QString &codigo)
{
    const QString clave = claveHolgada(codigo);
    const qsizetype largo = m_largo + codigo.size() + 4;
    if (clave.isEmpty() || m_posiciones.contains(clave) || largo > kMaxLargoConsulta)
        return false;
    m_largo = largo;
    m_posiciones.insert(clave, m_codigos.size());
    m_codigos << codigo;
    return true;
}

qsizetype GrupoDeCodigos::posicionDe(const QString &codigo) const
{
    return m_posiciones.value(claveHolgada(codigo), -1);
}
