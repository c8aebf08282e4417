// Must not build: the data access does not see the widgets folder.
#include "database/SqlDialect.h"
#include "widgets/MsgBox.h"
