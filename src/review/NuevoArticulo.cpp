#include "review/NuevoArticulo.h"

RegArticulo NuevoArticulo()
{
    return RegArticulo();
}
