#pragma once

#include <QStringList>

// "load FILE": loads FILE into the grid the way the "..." button does and reports time and memory.
namespace LoadCommand {
int run(const QStringList &arguments);
}
