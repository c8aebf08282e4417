#pragma once

class ReviewList;
class QProgressBar;

// F12: inserts every checked article of the review list into the catalog
// modGlobal::IdCatalogoActual, or updates it there. Each statement runs on its own as soon
// as it is built. Reports the outcome (or the first failure) in a message box. True when
// every checked article was sent.
bool EnviarCatalogos(ReviewList &lstArticulos, QProgressBar &prgBar);
