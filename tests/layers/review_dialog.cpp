// Must not build: processing does not see the country dialog beside it.
#include "review/ProcesoArticulos.h"
#include "review/frmRelPais.h"
