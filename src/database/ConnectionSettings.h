#pragma once

#include "database/EntitySettings.h"

#include <QHash>
#include <QString>

// The data-access configuration: one INI file in the user's configuration folder,
// one section per entity. Example:
//
//   [CATALOGOS]
//   Driver=QPSQL
//   Servidor=127.0.0.1
//   Puerto=5432
//   BaseDatos=sorvanta
//   Usuario=sorvanta
//   Clave=secreto
//   Tipo=SQL
//
// Keys: Driver (QSQLITE, QPSQL, QODBC), BaseDatos, Servidor, Puerto, Usuario, Clave,
// Opciones (Qt connect options; a server gets a 10 s connect timeout where they name none),
// EsperaMaxima (seconds a run waits for another run, and a statement for the server's answer;
// default 60), Tipo (SQL or ACCESS; default SQL) and Dialecto
// (native, sqlite, postgres; default by driver). Values are taken verbatim, so an ODBC
// connection string with ; and = needs no quoting. Lines starting with ; or # are comments.
class ConnectionSettings {
public:
    // <config folder>/sorvanta/conexiones.ini ($XDG_CONFIG_HOME or ~/.config).
    static QString configFile();
    // <data folder>/sorvanta ($XDG_DATA_HOME or ~/.local/share): the embedded databases.
    static QString dataFolder();

    // Entities keyed by upper-case name. Raises AppError for an unreadable file, a
    // missing or incomplete entity, an unknown driver, kind or dialect.
    static QHash<QString, EntitySettings> read(const QString &path);
};
