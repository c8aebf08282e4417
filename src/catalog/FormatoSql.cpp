#include "catalog/FormatoSql.h"

#include <QLocale>

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
    QString numero = QLocale::c().toString(kilos, 'g', 15);
    const qsizetype exponente = numero.indexOf(QLatin1Char('e'));
    if (exponente >= 0 && QLocale().exponential() == QLatin1String("E"))
        numero[exponente] = QLatin1Char('E');
    return numero;
}

QString fechaAccess(const QDate &fecha)
{
    const QString sep = separadorFecha();
    return conCeros(fecha.year(), 4) + sep + conCeros(fecha.month(), 2) + sep + conCeros(fecha.day(), 2);
}

} // namespace FormatoSql
