// Must not build: the data models hold no Qt Gui value.
#include "modelos/GridModel.h"

#include <QColor>
