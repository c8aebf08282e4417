#pragma once

#include <QElapsedTimer>

class QProgressBar;

// Moves a progress bar through a long run without a painting per item: the value is set
// only when the bar is painted, at most every 40 ms, at the last item and when asked.
// QProgressBar::setValue queries the style and paints by itself every few items, which
// over 65,000 items costs a noticeable fraction of a second.
class AvanceVisible {
public:
    explicit AvanceVisible(QProgressBar &barra) : m_barra(barra) {}

    // Once the bar's range and first value are set.
    void comenzar();
    // The run has come to `valor`; painted when due or when `ultimo`.
    void avanzar(int valor, bool ultimo);
    // Sets the value reached and paints it now.
    void mostrar();
    // Sets the value reached without painting (a dialog about to open paints it).
    void fijar();

private:
    QProgressBar &m_barra;
    QElapsedTimer m_reloj;
    int m_valor = 0;
};
