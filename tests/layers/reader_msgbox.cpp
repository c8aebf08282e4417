// Must not build: the readers do not see the widgets folder.
#include "widgets/MsgBox.h"
#include "workbook/SheetData.h"
