#include "modelos/ColorTexto.h"

bool ColorTexto::operator==(const ColorTexto &otro) const
{
    if (!m_valido || !otro.m_valido)
        return m_valido == otro.m_valido;
    return m_rojo == otro.m_rojo && m_verde == otro.m_verde && m_azul == otro.m_azul;
}
