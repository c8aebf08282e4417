#pragma once

#include <QStringList>

// `grid FILE`: loads FILE the way the "..." button does and prints the grid, header row
// first, as CSV (RFC 4180) on standard output, to set beside another program's export.
namespace GridCommand {
int run(const QStringList &arguments);
}
