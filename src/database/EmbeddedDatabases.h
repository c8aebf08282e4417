#pragma once

#include <QString>

// The databases the program uses when no connection configuration exists: two SQLite
// files, catalogos.sqlite (catalogo, catarticulos, ORG) and systablas.sqlite (PAIS),
// with two sample catalogs and the ISO 3166-1 countries. Text keys compare without
// regard to letter case.
class EmbeddedDatabases {
public:
    static QString catalogosFile(const QString &folder);
    static QString systablasFile(const QString &folder);

    // Creates whichever of the two files is missing in folder (made if needed);
    // existing files are left as they are. Raises AppError when a file cannot be made.
    static void ensure(const QString &folder);
};
