#include "catalog/FormatoSql.h"

#include <QLocale>

namespace FormatoSql {
namespace {

QLocale formatoUsuario()
{
    QLocale local;
    local.setNumberOptions(local.numberOptions() | QLocale::OmitGroupSeparator);
    return local;
}

// Decimal comma to point. Locales that write their own digits, sign or decimal mark
// (Arabic, Persian) would give text no database reads, so those go to ASCII first.
QString conPuntoDecimal(QString numero, const QLocale &local)
{
    numero.replace(local.negativeSign(), QStringLiteral("-"));
    numero.replace(local.decimalPoint(), QStringLiteral("."));
    for (QChar &ch : numero) {
        if (ch.isDigit() && ch.digitValue() >= 0)
            ch = QLatin1Char(char('0' + ch.digitValue()));
    }
    return numero.replace(QLatin1Char(','), QLatin1Char('.'));
}

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

// Digits, sign and mark as the C locale writes them: every locale's own come back to those
// (conPuntoDecimal), and the C locale writes them without asking the system for the user's.
QString pesoInsert(double kilos)
{
    QString numero = QLocale::c().toString(kilos, 'f', 2);
    const qsizetype inicio = numero.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (numero.indexOf(QLatin1Char('.'), inicio) - inicio < 2)
        numero.insert(inicio, QLatin1Char('0'));
    return numero;
}

// Only an exponent is written the user's way (1,5E+20 as 1.5E+20).
QString pesoUpdate(double kilos)
{
    const QString numero = QLocale::c().toString(kilos, 'g', 15);
    if (!numero.contains(QLatin1Char('e')))
        return numero;
    const QLocale local = formatoUsuario();
    return conPuntoDecimal(local.toString(kilos, 'g', 15), local);
}

QString fechaAccess(const QDate &fecha)
{
    const QString sep = separadorFecha();
    return conCeros(fecha.year(), 4) + sep + conCeros(fecha.month(), 2) + sep + conCeros(fecha.day(), 2);
}

} // namespace FormatoSql
