#include "catalog/ClaveHolgada.h"

QString claveHolgada(const QString &codigo)
{
    QString clave;
    clave.reserve(codigo.size());
    for (const QChar ch : codigo) {
        const char16_t u = ch.unicode();
        if (u < 0x20 || u > 0x7e)
            return QString();
        if (u >= 'A' && u <= 'Z')
            clave += QChar(u + ('a' - 'A'));
        else if ((u >= 'a' && u <= 'z') || (u >= '0' && u <= '9'))
            clave += ch;
    }
    // A code of blanks and signs only still needs a key of its own kind.
    return clave.isEmpty() ? QStringLiteral("-") : clave;
}
