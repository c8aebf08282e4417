#pragma once

#include "catalog/RegArticulo.h"

// An empty article: every text empty, weight 0.
RegArticulo NuevoArticulo();
