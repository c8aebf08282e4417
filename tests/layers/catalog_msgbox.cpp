// Must not build: the catalog's statements and sending do not see the widgets folder.
#include "catalog/EnvioArticulos.h"
#include "widgets/MsgBox.h"
