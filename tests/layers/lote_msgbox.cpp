// Must not build: the batch program does not see the widgets folder.
#include "lote/Lote.h"
#include "widgets/MsgBox.h"
