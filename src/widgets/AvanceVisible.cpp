#include "widgets/AvanceVisible.h"

#include <QProgressBar>

namespace {
constexpr qint64 kRepintadoMs = 40;
}

void AvanceVisible::comenzar()
{
    m_valor = m_barra.value();
    m_reloj.start();
}

void AvanceVisible::avanzar(int valor, bool ultimo)
{
    m_valor = valor;
    if (ultimo || m_reloj.elapsed() >= kRepintadoMs)
        mostrar();
}

void AvanceVisible::mostrar()
{
    fijar();
    m_barra.repaint();
    m_reloj.restart();
}

void AvanceVisible::fijar()
{
    m_barra.setValue(m_valor);
}
