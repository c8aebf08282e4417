// Must not build: the batch program links no Qt Widgets.
#include "lote/Lote.h"

#include <QWidget>
