// Must not build: processing links no Qt Gui.
#include "review/ProcesoArticulos.h"

#include <QGuiApplication>
