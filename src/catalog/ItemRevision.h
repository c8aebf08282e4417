#pragma once

#include "catalog/RegArticulo.h"

#include <QString>

class ReviewListModel;

// An item of the review list read back as F12 sends it: texts without outer blanks, the
// article code and descriptions with apostrophes as blanks, the weight from the user's
// number format (raises AppError when it is no number).
RegArticulo ArticuloDelItem(const ReviewListModel &lista, int item);

// The article code of the item, as F12 sends it.
QString CodigoDelItem(const ReviewListModel &lista, int item);
