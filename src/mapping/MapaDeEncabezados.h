#pragma once

#include "mapping/MapaCampos.h"

#include <QStringList>

// The map a header row gives: a cell holding a field's label exactly stands for that field
// (the rightmost wins).
RegMapaCampos MapaDeEncabezados(const QStringList &encabezados);
// Refuses, with AppError (validation, source "Campos Excel"), a map without the article and
// one more field that says what it is (remarks, unit and suffixes alone do not).
void ValidarMapa(const RegMapaCampos &mapa);
