#pragma once

#include <QString>

class ReviewList;
class ReviewListModel;
class QWidget;

// The report's text: one line per item, every value followed by a TAB (a TAB inside a value
// becomes a blank), CR LF line ends, no header.
QString TextoReporte(const ReviewListModel &lista);

// Saves the review list as tab-separated text: one line per item, every value followed by
// a TAB, CR LF line ends, no header. Reports the outcome in a message box.
void ExportarReporte(ReviewList &lista, QWidget *owner = nullptr);
