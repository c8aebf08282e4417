// Must not build: the catalog's statements and sending link no Qt Widgets.
#include "catalog/EnvioArticulos.h"

#include <QWidget>
