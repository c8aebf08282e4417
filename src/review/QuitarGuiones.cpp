#include "review/QuitarGuiones.h"

QString QuitarGuiones(QString &texto)
{
    texto.remove(QLatin1Char(' '));

    QString resultado;
    resultado.reserve(texto.size());
    int guiones = 0;
    for (const QChar ch : std::as_const(texto)) {
        if (ch != QLatin1Char('-')) {
            resultado.append(ch);
            continue;
        }
        ++guiones;
        if (guiones != 2)
            resultado.append(QLatin1Char(' '));
    }

    // One left-to-right pass each, matches not overlapping: "    " (four) leaves two blanks
    // after the first pass and one after the second.
    resultado.replace(QStringLiteral("   "), QStringLiteral(" "));
    resultado.replace(QStringLiteral("  "), QStringLiteral(" "));
    return resultado;
}
