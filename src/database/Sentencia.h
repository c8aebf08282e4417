#pragma once

#include <QString>
#include <vector>

// One statement as data: its SQL, in the program's own dialect, with a place marked for each
// value, and the values in order. The connection runs it the way its engine does best (bound,
// or written out as text); texto() writes it out as the program has always written it.
//
// Values never enter the SQL, so nothing a value holds can change the statement's shape.
class Sentencia {
public:
    struct Valor {
        enum Tipo : char {
            Texto,  // written between apostrophes, each apostrophe doubled
            Numero, // written as given: digits, sign, point, exponent
            Fecha,  // a date literal as given, #2026/12/31#
        };
        Tipo tipo;
        QString escrito;
    };

    // Where a value goes in forma(); a noncharacter, never part of the program's SQL.
    static constexpr char16_t kLugar = 0xFDD0;

    Sentencia() = default;
    // A statement without values, run as it stands.
    Sentencia(const QString &sql) : m_forma(sql) {}
    Sentencia(const char *sql) : m_forma(QString::fromUtf8(sql)) {}

    // Room for a statement built once per article, grown once rather than at each piece.
    void reservar(qsizetype largo, size_t valores)
    {
        m_forma.reserve(largo);
        m_valores.reserve(valores);
    }

    // Appends SQL of the program's own.
    Sentencia &operator<<(QLatin1String sql);
    // Appends another statement, its SQL and its values.
    Sentencia &operator<<(const Sentencia &otra);
    // Appends a value: a text between apostrophes, a number as written, a date literal.
    Sentencia &texto(const QString &valor);
    Sentencia &numero(const QString &escrito);
    Sentencia &fecha(const QString &literal);

    // The SQL with kLugar where each value goes (the apostrophes of a text around it).
    const QString &forma() const { return m_forma; }
    const std::vector<Valor> &valores() const { return m_valores; }
    bool isEmpty() const { return m_forma.isEmpty(); }

    // Takes `misma`, equal to forma(), in its place: statements kept by the thousand share one.
    void compartirForma(const QString &misma) { m_forma = misma; }

    // Written out whole, in the program's own dialect.
    QString texto() const;
    // Appends a value as the text of a statement spells it: the one rule of escaping.
    static void escribir(QString &sql, const Valor &valor);

private:
    QString m_forma;
    std::vector<Valor> m_valores;
};
