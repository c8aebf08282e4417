#pragma once

#include <QString>

// Texts compared as an operator reads them, not as they are typed.
namespace Plegado {
// Without surrounding white space, letter case or accents: "  Descripción " and
// "DESCRIPCION" give the same text. Marks are dropped only over Latin, Greek and Cyrillic
// letters: in other scripts they are part of the letter.
QString sinMayusculasNiAcentos(const QString &texto);
// As above, and only letters and digits kept: "EE. UU." and "eeuu" give the same text.
QString soloLetrasYCifras(const QString &texto);
} // namespace Plegado
