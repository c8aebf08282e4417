#include "catalog/ClaveHolgada.h"

namespace {

// Grave, acute, circumflex, tilde, caron, cedilla: a collation either weighs them or ignores
// them. Diaeresis and ring are left out: German and Danish rules read ä as ae and å as aa.
bool acentoIgnorable(char16_t u)
{
    return u == 0x0300 || u == 0x0301 || u == 0x0302 || u == 0x0303 || u == 0x030c || u == 0x0327;
}

// Appends the key of one printable ASCII character; false for any other.
bool agregarAscii(QString &clave, char16_t u)
{
    if (u < 0x20 || u > 0x7e)
        return false;
    if (u >= 'A' && u <= 'Z')
        clave += QChar(u + ('a' - 'A'));
    else if ((u >= 'a' && u <= 'z') || (u >= '0' && u <= '9'))
        clave += QChar(u);
    return true;
}

} // namespace

QString claveHolgada(const QString &codigo)
{
    QString clave;
    clave.reserve(codigo.size());
    bool soloAscii = true;
    for (const QChar ch : codigo) {
        if (!agregarAscii(clave, ch.unicode())) {
            soloAscii = false;
            break;
        }
    }
    if (!soloAscii) {
        clave.clear();
        for (const QChar ch : codigo.normalized(QString::NormalizationForm_D)) {
            if (!acentoIgnorable(ch.unicode()) && !agregarAscii(clave, ch.unicode()))
                return QString();
        }
    }
    // A code of blanks and signs only still needs a key of its own kind.
    return clave.isEmpty() ? QStringLiteral("-") : clave;
}
