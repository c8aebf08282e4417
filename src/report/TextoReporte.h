#pragma once

#include <QString>

class ReviewListModel;

// The report's text: one line per item, every value followed by a TAB (a TAB inside a value
// becomes a blank), CR LF line ends, no header.
QString TextoReporte(const ReviewListModel &lista);
