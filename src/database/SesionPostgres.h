#pragma once

#include "database/SqlDialect.h"

#include <QString>

class QSqlDatabase;

// The statements double an apostrophe inside a literal and leave a backslash as it is, which
// is what PostgreSQL reads only with standard_conforming_strings on. With it off (a server's,
// a database's or a role's setting) a value ending in \ would end its literal later, and the
// rest of the value could run as commands of its own.
namespace SesionPostgres {

// Right after a connection opens: on a PostgreSQL session (driver QPSQL, or the postgres
// dialect through ODBC) sets standard_conforming_strings on and reads it back. "" when the
// session is ready (or is no PostgreSQL one); otherwise, in Spanish, why it must not be used.
QString preparar(QSqlDatabase &db, SqlDialect::Kind dialecto);

} // namespace SesionPostgres
