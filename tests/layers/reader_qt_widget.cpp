// Must not build: the readers do not link Qt Widgets.
#include "workbook/SheetData.h"

#include <QWidget>
