#pragma once

#include <QString>

// The SQL the program writes is SQL Server / Access text. For databases that do not
// speak it, a few forms are rewritten before the statement runs: GETDATE(), #date#
// literals, [bracketed] names and + next to a string literal. Nothing inside a string
// literal, a quoted name or a comment is ever touched.
class SqlDialect {
public:
    enum Kind { Native, Sqlite, Postgres };

    // "native", "sqlite" or "postgres", any letter case; false for anything else.
    static bool fromName(const QString &name, Kind &kind);
    // The dialect a Qt SQL driver speaks unless told otherwise.
    static Kind defaultFor(const QString &driver);

    static QString translate(const QString &statement, Kind kind);
};
