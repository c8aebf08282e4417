// Must not build: processing does not see the widgets folder.
#include "review/ProcesoArticulos.h"
#include "widgets/MsgBox.h"
