#pragma once

#include <QString>

// Letters folded to lower case and digits, nothing else; empty when the code has a character
// outside printable ASCII. Codes a database compares as equal, whatever its case, accent,
// blank or punctuation rules, give the same key: codes with different keys are never taken
// for one another, so a grouped question about them can be answered code by code.
QString claveHolgada(const QString &codigo);
