#pragma once

#include "database/Sentencia.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Rows of catarticulos as they stand, every column, kept so that a statement can find them
// again and put them back exactly. A row holds its values in the order of columnas(); FECHA is
// read as its text, to the last digit the database keeps.
namespace FilasEnteras {
using Fila = QVariantList;

// The key first; an "ACCESS" catalog has no remark columns.
QStringList columnas(const QString &tipoBase);

// The rows of the catalog among `codigos`, keyed by idarticulo as stored, in grouped
// questions. Raises AppError.
QHash<QString, Fila> leer(const QString &idCatalogo, const QStringList &codigos, const QString &tipoBase);

// idarticulo as stored.
QString codigo(const Fila &fila);

// Deletes the row where every column still equals `despues`.
Sentencia borrar(const Fila &despues);
// Gives the row every column of `antes` back where every column still equals `despues`.
Sentencia reponer(const Fila &antes, const Fila &despues);
} // namespace FilasEnteras
