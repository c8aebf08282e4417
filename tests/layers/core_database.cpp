// Must not build: the core sees no folder above it.
#include "core/AppError.h"
#include "database/Recordset.h"
