#include "core/modTexto.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace modTexto {

QString recortar(const QString &texto)
{
    int inicio = 0, fin = texto.size();
    while (inicio < fin && texto[inicio] == QLatin1Char(' '))
        ++inicio;
    while (fin > inicio && texto[fin - 1] == QLatin1Char(' '))
        --fin;
    return texto.mid(inicio, fin - inicio);
}

QString sinApostrofes(QString texto)
{
    return texto.replace(QLatin1Char('\''), QLatin1Char(' '));
}

namespace {

// The default locale's symbols, asked of it again only when it changes: asking costs more than
// reading or writing a weight.
struct Simbolos {
    bool leidos = false;
    QLocale local;
    // Its digits are ASCII, its decimal point and minus sign one character each.
    bool sencillos = false;
    // And it writes numbers with no option of its own.
    bool sinOpciones = false;
    char16_t punto = u'.';
    char16_t menos = u'-';
};

const Simbolos &simbolos()
{
    thread_local Simbolos guardados;
    const QLocale actual;
    if (!guardados.leidos || !(guardados.local == actual)
        || guardados.local.numberOptions() != actual.numberOptions()) {
        guardados.leidos = true;
        const QString punto = actual.decimalPoint();
        const QString menos = actual.negativeSign();
        guardados.local = actual;
        guardados.sencillos = actual.zeroDigit() == QLatin1String("0") && punto.size() == 1 && menos.size() == 1;
        guardados.sinOpciones = (actual.numberOptions() & ~QLocale::NumberOptions(QLocale::OmitGroupSeparator)) == 0;
        guardados.punto = punto.isEmpty() ? u'.' : punto[0].unicode();
        guardados.menos = menos.isEmpty() ? u'-' : menos[0].unicode();
    }
    return guardados;
}

// Digits with at most one decimal point between them, read as the locale reads them. The
// locale's own reading weighs every character against each of its symbols, which costs more
// than building an article's statement.
bool leerDigitos(const QString &texto, double &valor)
{
    const Simbolos &s = simbolos();
    if (texto.isEmpty() || texto.size() > 40 || !s.sencillos)
        return false;
    QByteArray c(texto.size(), Qt::Uninitialized);
    bool conPunto = false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t u = texto[i].unicode();
        if (u >= u'0' && u <= u'9') {
            c[i] = char(u);
        } else if (u == s.punto && !conPunto && i > 0 && i + 1 < texto.size()) {
            conPunto = true;
            c[i] = '.';
        } else {
            return false;
        }
    }
    bool ok = false;
    valor = c.toDouble(&ok);
    return ok;
}

// The digits of a finite number other than zero when 15 significant ones are enough to write
// it exactly as read back (0.05: "5", its decimal point falling at -1). Those are then the
// digits of its rounding to 15, whatever way a tie goes; a longer one is for the locale.
bool digitos(double valor, char (&cifras)[16], int &cantidad, int &punto)
{
    char texto[32];
    const std::to_chars_result escrito = std::to_chars(texto, texto + sizeof texto, std::fabs(valor),
                                                       std::chars_format::scientific);
    const char *fin = escrito.ptr;
    const std::errc error = escrito.ec;
    const char *e = std::find(static_cast<const char *>(texto), fin, 'e');
    if (error != std::errc() || e == fin)
        return false;
    cantidad = 0;
    for (const char *c = texto; c != e; ++c) {
        if (*c == '.')
            continue;
        if (cantidad == 15)
            return false;
        cifras[cantidad++] = *c;
    }
    int exponente = 0;
    if (std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), fin, exponente).ec != std::errc())
        return false;
    punto = exponente + 1;
    return true;
}

// The locale's text of 15 significant digits for the numbers every Qt writes without an
// exponent: from 0.001 on, below 10^15, and at most three zeros after the digits (later ones
// write 100000 as "1e+05").
bool escribirDecimal(double valor, QString &texto)
{
    const Simbolos &s = simbolos();
    char cifras[16];
    int cantidad = 0;
    int punto = 0;
    if (!s.sencillos || !s.sinOpciones || !std::isfinite(valor) || valor == 0
        || !digitos(valor, cifras, cantidad, punto) || punto < -2 || punto > std::min(cantidad + 3, 15))
        return false;
    texto.clear();
    texto.reserve(cantidad + 8);
    if (valor < 0)
        texto += QChar(s.menos);
    if (punto <= 0) {
        texto += QLatin1Char('0');
        texto += QChar(s.punto);
        texto += QString(-punto, QLatin1Char('0'));
        texto += QLatin1String(cifras, cantidad);
    } else if (punto >= cantidad) {
        texto += QLatin1String(cifras, cantidad);
        texto += QString(punto - cantidad, QLatin1Char('0'));
    } else {
        texto += QLatin1String(cifras, punto);
        texto += QChar(s.punto);
        texto += QLatin1String(cifras + punto, cantidad - punto);
    }
    return true;
}

} // namespace

double aNumero(const QString &texto)
{
    double valor = 0;
    if (leerDigitos(texto, valor))
        return valor;
    bool ok = false;
    valor = QLocale().toDouble(texto, &ok);
    // The locale reads "inf" and "nan" as numbers; no weight or setting is one.
    if (!ok || !std::isfinite(valor))
        throw AppError(ErrorNumbers::kTypeMismatch, QStringLiteral("Sorvanta"),
                       QStringLiteral("No coinciden los tipos"));
    return valor;
}

QString numeroComoTexto(double valor)
{
    QString texto;
    if (escribirDecimal(valor, texto))
        return texto;
    QLocale local;
    local.setNumberOptions(local.numberOptions() | QLocale::OmitGroupSeparator);
    return local.toString(valor, 'g', 15);
}

QString paraMensaje(const QString &valor)
{
    if (valor.size() <= kLargoEnMensaje)
        return valor;
    qsizetype corte = kLargoEnMensaje;
    // A character outside the basic plane is never cut in half.
    if (valor[corte - 1].isHighSurrogate())
        --corte;
    return valor.left(corte) + QChar(0x2026);
}

} // namespace modTexto
