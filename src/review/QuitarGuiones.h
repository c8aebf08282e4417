#pragma once

#include <QString>

// Cleans an article code for the remove-hyphen option: blanks go (also from `texto`
// itself), the second hyphen is dropped, every other hyphen becomes a blank, and runs of
// blanks are folded (three to one, then two to one).
QString QuitarGuiones(QString &texto);
