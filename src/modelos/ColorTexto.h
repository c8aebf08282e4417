#pragma once

#include <QMetaType>

// A text colour the data models hold: red, green and blue, or none. The models link Qt Core
// only, so the batch program runs without any graphical library; the views turn it into the
// brush they paint with (widgets/ConversionesDeModelos).
class ColorTexto {
public:
    constexpr ColorTexto() = default;
    constexpr ColorTexto(int rojo, int verde, int azul) : m_rojo(rojo), m_verde(verde), m_azul(azul), m_valido(true) {}

    constexpr bool isValid() const { return m_valido; }
    constexpr int red() const { return m_rojo; }
    constexpr int green() const { return m_verde; }
    constexpr int blue() const { return m_azul; }

    bool operator==(const ColorTexto &otro) const;
    bool operator!=(const ColorTexto &otro) const { return !(*this == otro); }

private:
    int m_rojo = 0;
    int m_verde = 0;
    int m_azul = 0;
    bool m_valido = false;
};

Q_DECLARE_METATYPE(ColorTexto)
