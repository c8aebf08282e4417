#include "catalog/FormatoSql.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <limits>

namespace FormatoSql {
namespace {

// QLocale gives no date separator of its own; the short date format shows it.
QString separadorFecha()
{
    const QString formato = QLocale().dateFormat(QLocale::ShortFormat);
    for (const QChar ch : formato) {
        if ((ch.isPunct() || ch.isSymbol()) && ch != QLatin1Char('\''))
            return QString(ch);
    }
    return QStringLiteral("/");
}

// QLocale::c().toString(kilos, 'g', 15) without its cost, for a weight that 15 significant
// digits write exactly (as most do): then no rounding rule can make other digits of it, and
// reading them back gives kilos itself. Other weights, zero (whose sign Qt drops) and the
// subnormal ones (of fewer significant bits than 15 digits need) are left to Qt.
class General15 {
public:
    explicit General15(double kilos)
    {
        if (!std::isfinite(kilos) || std::fabs(kilos) < std::numeric_limits<double>::min())
            return;
        // The shortest digits that read back as kilos: "-d.ddde-XX".
        char corto[40];
        const auto r = std::to_chars(corto, corto + sizeof corto, kilos, std::chars_format::scientific);
        const char *p = corto;
        const char *fin = r.ptr;
        const bool negativo = *p == '-';
        p += negativo ? 1 : 0;
        char digitos[20];
        int cuantos = 0;
        for (; p < fin && *p != 'e'; ++p)
            if (*p != '.' && cuantos < 20)
                digitos[cuantos++] = *p;
        if (r.ec != std::errc() || cuantos > 15 || p == fin)
            return;
        int exponente = 0;
        std::from_chars(p + (p[1] == '+' ? 2 : 1), fin, exponente);
        escribir(negativo, digitos, cuantos, exponente, p, fin);
    }

    bool valido() const { return m_largo > 0; }
    QLatin1String texto() const { return QLatin1String(m_texto, m_largo); }

private:
    // As printf's %.15g: fixed notation from 1e-4 to below 1e15, else the shortest scientific.
    void escribir(bool negativo, const char *digitos, int cuantos, int exponente, const char *e, const char *fin)
    {
        char *q = m_texto;
        if (negativo)
            *q++ = '-';
        if (exponente < -4 || exponente >= 15) {
            *q++ = digitos[0];
            if (cuantos > 1)
                *q++ = '.';
            for (int i = 1; i < cuantos; ++i)
                *q++ = digitos[i];
            while (e < fin)
                *q++ = *e++;
        } else if (exponente < 0) {
            *q++ = '0';
            *q++ = '.';
            for (int i = -1; i > exponente; --i)
                *q++ = '0';
            for (int i = 0; i < cuantos; ++i)
                *q++ = digitos[i];
        } else {
            for (int i = 0; i <= exponente; ++i)
                *q++ = i < cuantos ? digitos[i] : '0';
            if (cuantos > exponente + 1)
                *q++ = '.';
            for (int i = exponente + 1; i < cuantos; ++i)
                *q++ = digitos[i];
        }
        m_largo = int(q - m_texto);
    }

    char m_texto[40] = {};
    int m_largo = 0;
};

QString conCeros(int valor, int digitos)
{
    return QStringLiteral("%1").arg(valor, digitos, 10, QLatin1Char('0'));
}

} // namespace

// Digits, sign and decimal point as the C locale writes them, whatever the user's locale: a
// database reads no other. Asking the system for the user's marks cost more than the writing.
QString pesoInsert(double kilos)
{
    QString numero = QLocale::c().toString(kilos, 'f', 2);
    const qsizetype inicio = numero.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (numero.indexOf(QLatin1Char('.'), inicio) - inicio < 2)
        numero.insert(inicio, QLatin1Char('0'));
    return numero;
}

// An exponent keeps the user's letter for it (1,5E+20 as 1.5E+20) when that is the letter a
// database reads; the marks of other locales (×10^, Arabic letters) would make no number.
QString pesoUpdate(double kilos)
{
    const General15 rapido(kilos);
    QString numero = rapido.valido() ? QString(rapido.texto()) : QLocale::c().toString(kilos, 'g', 15);
    const qsizetype exponente = numero.indexOf(QLatin1Char('e'));
    if (exponente >= 0 && QLocale().exponential() == QLatin1String("E"))
        numero[exponente] = QLatin1Char('E');
    return numero;
}

// Read as QLocale::c().toDouble reads the text, which no exponent letter changes.
double pesoUpdateLeido(double kilos)
{
    if (General15(kilos).valido())
        return kilos;
    return QLocale::c().toDouble(QLocale::c().toString(kilos, 'g', 15));
}

QString fechaAccess(const QDate &fecha)
{
    const QString sep = separadorFecha();
    return conCeros(fecha.year(), 4) + sep + conCeros(fecha.month(), 2) + sep + conCeros(fecha.day(), 2);
}

} // namespace FormatoSql
