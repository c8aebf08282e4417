#pragma once

#include <QStringList>

// `send [--postgres] FILE`: the set-up and F11 of `process`, then times F12 over every
// checked article (half new, half existing). With --postgres the catalog lives on a private
// PostgreSQL server started for the run, and the same number of single autocommit inserts
// sent by psql is timed as the floor.
namespace SendCommand {
int run(const QStringList &arguments);
} // namespace SendCommand
