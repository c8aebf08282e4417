#pragma once

#include "catalog/FilaCatalogo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Whole rows of catarticulos for F11, asked the way the NCM alone was: many codes in one
// question, or one code. Catalogs of kind "ACCESS" have no remark columns, so none is asked
// there. Failures come back as AppError kInnerOperation with the location in front.
namespace FilasCatalogo {

// The rows of the catalog among the given codes (any order; codes as they will be sent).
QList<FilaCatalogo> deAlgunos(const QString &idCatalogo, const QStringList &idsArticulo, const QString &tipoBase);

// The row of one code; none when the catalog lacks it.
std::optional<FilaCatalogo> deUno(const QString &idCatalogo, const QString &idArticulo, const QString &tipoBase);

} // namespace FilasCatalogo
