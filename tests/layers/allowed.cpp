// Must build: what the reader and the data access may use, so a refusal above means the rule.
#include "core/AppError.h"
#include "database/SqlDialect.h"
#include "workbook/SheetData.h"

#include <QSqlDatabase>
#include <QString>
