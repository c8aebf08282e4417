// Must not build: the data access does not link Qt Widgets.
#include "database/SqlDialect.h"

#include <QMessageBox>
