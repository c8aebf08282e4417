#pragma once

#include <QString>

// Letters folded to lower case and stripped of the accents a collation may ignore, and digits,
// nothing else; empty when the code has a character this cannot weigh (beyond Latin letters,
// or a letter some collations spell as two, such as ä or å). Codes a database compares as
// equal, whatever its case, accent, blank or punctuation rules, give the same key: codes with
// different keys are never taken for one another, so a grouped question about them can be
// answered code by code.
QString claveHolgada(const QString &codigo);
