// Must not build: the batch program links no Qt Gui.
#include "lote/Lote.h"

#include <QGuiApplication>
