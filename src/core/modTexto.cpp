#include "core/modTexto.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"

#include <QLocale>

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

QString literal(QString texto)
{
    return texto.replace(QLatin1Char('\''), QStringLiteral("''"));
}

double aNumero(const QString &texto)
{
    bool ok = false;
    const double valor = QLocale().toDouble(texto, &ok);
    if (!ok)
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

} // namespace modTexto
