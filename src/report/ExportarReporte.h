#pragma once

#include "report/TextoReporte.h"

class ReviewList;
class QWidget;

// Saves the review list as tab-separated text: one line per item, every value followed by
// a TAB, CR LF line ends, no header. Reports the outcome in a message box.
void ExportarReporte(ReviewList &lista, QWidget *owner = nullptr);
