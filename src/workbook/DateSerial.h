#pragma once

#include <QDateTime>
#include <optional>
#include <string_view>

// Serial day numbers of the 1900 date system, as CellValue keeps dates: day 1 is
// 1900-01-01, day 60 the 1900-02-29 that never was, day 61 is 1900-03-01.
namespace DateSerial {

// Days between the 1904 system's day 0 and the 1900 system's.
constexpr double k1904Offset = 1462.0;

double fromDate(int year, int month, int day);
// Finite and within years 1 to 9999: anything else cannot be shown as a date.
bool isShowable(double serial);
// Whole seconds, rounded; an invalid QDateTime for serials outside years 1 to 9999.
QDateTime toDateTime(double serial);

// "2021-01-01", "2021-01-01T10:10:10.5", with an optional "Z" or offset (ignored: cells
// show wall-clock time). A bare "10:10:10" gives a time of day.
std::optional<double> fromIso(std::string_view text);
// An ISO 8601 duration "PT10H10M10.5S" (or "-P1DT2H"), as a fraction of days.
std::optional<double> fromDuration(std::string_view text);

} // namespace DateSerial
