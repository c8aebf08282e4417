#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

// The rows a run changed, their columns in FilaCodificada's bytes, kept one after another in
// one buffer: a run of a hundred thousand rows makes no allocation a row, and the bytes are
// written to the journal as they stand.
class CambiosCapturados {
public:
    std::size_t size() const { return m_filas.size(); }
    bool empty() const { return m_filas.empty(); }
    // Empty when the run inserted the row.
    QByteArrayView antes(std::size_t i) const { return trozo(m_filas[i].inicio, m_filas[i].medio); }
    QByteArrayView despues(std::size_t i) const { return trozo(m_filas[i].medio, m_filas[i].fin); }

    // A row is written at the end of datos(): its before-row (if any) from `inicio`, its
    // after-row from `medio` to the end.
    QByteArray &datos() { return m_datos; }
    void cerrarFila(qsizetype inicio, qsizetype medio) { m_filas.push_back({inicio, medio, m_datos.size()}); }
    // The rows from the `cuantas`-th on go.
    void volverA(std::size_t cuantas)
    {
        if (cuantas >= m_filas.size())
            return;
        m_datos.truncate(m_filas[cuantas].inicio);
        m_filas.resize(cuantas);
    }
    void clear()
    {
        m_datos.clear();
        m_filas.clear();
    }

private:
    struct Tramo {
        qsizetype inicio;
        qsizetype medio;
        qsizetype fin;
    };
    QByteArrayView trozo(qsizetype desde, qsizetype hasta) const
    {
        return QByteArrayView(m_datos.constData() + desde, hasta - desde);
    }

    QByteArray m_datos;
    std::vector<Tramo> m_filas;
};
