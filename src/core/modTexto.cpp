#include "core/modTexto.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"

#include <QLocale>
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

// Digits with at most one decimal point between them, read as the locale reads them. The
// locale's own reading weighs every character against each of its symbols, which costs more
// than building an article's statement.
bool leerDigitos(const QString &texto, const QLocale &local, double &valor)
{
    if (texto.isEmpty() || texto.size() > 40 || local.zeroDigit() != QLatin1String("0"))
        return false;
    const QString punto = local.decimalPoint();
    if (punto.size() != 1)
        return false;
    QByteArray c(texto.size(), Qt::Uninitialized);
    bool conPunto = false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t u = texto[i].unicode();
        if (u >= u'0' && u <= u'9') {
            c[i] = char(u);
        } else if (u == punto[0].unicode() && !conPunto && i > 0 && i + 1 < texto.size()) {
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

} // namespace

double aNumero(const QString &texto)
{
    const QLocale local;
    double valor = 0;
    if (leerDigitos(texto, local, valor))
        return valor;
    bool ok = false;
    valor = local.toDouble(texto, &ok);
    // The locale reads "inf" and "nan" as numbers; no weight or setting is one.
    if (!ok || !std::isfinite(valor))
        throw AppError(ErrorNumbers::kTypeMismatch, QStringLiteral("Sorvanta"),
                       QStringLiteral("No coinciden los tipos"));
    return valor;
}

QString numeroComoTexto(double valor)
{
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
