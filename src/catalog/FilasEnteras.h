#pragma once

#include "database/Sentencia.h"

#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Rows of catarticulos as they stand, every column, kept so that a statement can find them
// again and put them back exactly: a value is null, a text, or a number as it is written back
// ({"n": "1.5"}). FECHA is read as its text, to the last digit the database keeps.
namespace FilasEnteras {
using Fila = QJsonObject;

// The rows of the catalog among `codigos`, keyed by idarticulo as stored, in grouped
// questions. An "ACCESS" catalog has no remark columns. Raises AppError.
QHash<QString, Fila> leer(const QString &idCatalogo, const QStringList &codigos, const QString &tipoBase);

// idarticulo as stored.
QString codigo(const Fila &fila);

// Deletes the row where every column still equals `despues`.
Sentencia borrar(const Fila &despues);
// Gives the row every column of `antes` back where every column still equals `despues`.
Sentencia reponer(const Fila &antes, const Fila &despues);
} // namespace FilasEnteras
