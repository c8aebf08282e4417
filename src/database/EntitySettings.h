#pragma once

#include "database/SqlDialect.h"

#include <QString>

// How one entity ("CATALOGOS", "SYSTABLAS") reaches its database.
struct EntitySettings {
    QString entity;
    // Qt SQL driver: QSQLITE, QPSQL or QODBC.
    QString driver;
    // File (QSQLITE), database name (QPSQL), DSN or whole connection string (QODBC).
    QString database;
    QString host;
    int port = -1;
    QString user;
    QString password;
    // Qt connect options, e.g. "connect_timeout=5" or "QSQLITE_BUSY_TIMEOUT=10000".
    QString options;
    // Seconds a run waits for another run's hold, and a statement for a server's answer.
    int esperaMaxima = 60;
    // "SQL" or "ACCESS", handed to the program by getDataConnectionTAG.
    QString tag = QStringLiteral("SQL");
    SqlDialect::Kind dialect = SqlDialect::Native;
};
