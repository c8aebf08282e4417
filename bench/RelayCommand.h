#pragma once

#include <QStringList>

// `relay PORT MS [SECONDS]`: a latency relay in front of a server on loopback port PORT, adding
// MS milliseconds of round trip, for the whole batch program to be measured across a network.
// Prints the port to connect to, then serves until stopped or SECONDS (default 3600) pass.
namespace RelayCommand {
int run(const QStringList &arguments);
}
