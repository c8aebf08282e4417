#pragma once

#include "database/Sentencia.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// Rows of catarticulos as they stand, every column, kept so that a statement can find them
// again and put them back exactly. A row holds its values in the order of columnas(), in
// FilaCodificada's bytes; FECHA is read as its text, to the last digit the database keeps.
namespace FilasEnteras {
// The key first; an "ACCESS" catalog has no remark columns.
QStringList columnas(const QString &tipoBase);

// The rows of the catalog among `codigos`, in FilaCodificada's bytes, keyed by idarticulo as
// stored, in grouped questions. Raises AppError.
QHash<QString, QByteArray> leer(const QString &idCatalogo, const QStringList &codigos, const QString &tipoBase);
// The same rows as they came, a code the database matched twice twice.
std::vector<QByteArray> leerFilas(const QString &idCatalogo, const QStringList &codigos, const QString &tipoBase);

// Deletes the row where every column still equals `despues` (in FilaCodificada's bytes).
Sentencia borrar(QByteArrayView despues);
// Gives the row every column of `antes` back where every column still equals `despues`.
Sentencia reponer(QByteArrayView antes, QByteArrayView despues);
} // namespace FilasEnteras
