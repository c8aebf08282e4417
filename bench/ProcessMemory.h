#pragma once

#include <QtGlobal>

// Resident memory of this process, from /proc/self/status, in KiB (0 when unknown).
namespace ProcessMemory {
qint64 residentKiB();
qint64 peakResidentKiB();
} // namespace ProcessMemory
