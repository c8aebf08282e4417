#pragma once

#include "review/RelacionPais.h"

#include <QList>
#include <QString>

// The origin-country tables, without any window: the countries of the customs system
// (PAIS, entity SYSTABLAS) and the learned translations of origin values (ORG, CATALOGOS).
namespace TablaPaises {

struct Pais {
    QString id;
    QString descripcion;
};

// Every country, by description.
QList<Pais> paises();
// The translation stored for exactly this origin value; false when there is none.
bool buscarOrigen(const QString &valor, RelacionPais &relacion);
// Stores a translation; gives the number of rows the database reports written.
long guardarOrigen(const QString &valor, const QString &idPais, const QString &esm);

} // namespace TablaPaises
