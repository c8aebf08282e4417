#include "workbook/DateSerial.h"

#include <charconv>
#include <cmath>

namespace {

const QDate kEpoch(1899, 12, 30);

bool readInt(std::string_view &text, std::size_t digits, int &out)
{
    if (text.size() < digits)
        return false;
    const auto r = std::from_chars(text.data(), text.data() + digits, out);
    if (r.ec != std::errc() || r.ptr != text.data() + digits)
        return false;
    text.remove_prefix(digits);
    return true;
}

bool expect(std::string_view &text, char c)
{
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

// "hh:mm[:ss[.fff]]" as a fraction of a day.
std::optional<double> readTime(std::string_view &text)
{
    int h = 0, m = 0;
    if (!readInt(text, 2, h) || !expect(text, ':') || !readInt(text, 2, m))
        return std::nullopt;
    double s = 0;
    if (expect(text, ':')) {
        std::size_t n = 0;
        while (n < text.size() && (std::isdigit(static_cast<unsigned char>(text[n])) || text[n] == '.'))
            ++n;
        const auto r = std::from_chars(text.data(), text.data() + n, s);
        if (r.ec != std::errc())
            return std::nullopt;
        text.remove_prefix(n);
    }
    if (h > 24 || m > 59 || s >= 61)
        return std::nullopt;
    return (h * 3600.0 + m * 60.0 + s) / 86400.0;
}

} // namespace

namespace DateSerial {

double fromDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    double serial = static_cast<double>(kEpoch.daysTo(date));
    // Before 1900-03-01 the 1900 system counts one day less (it has the false leap day).
    if (serial >= 2 && serial < 61)
        serial -= 1;
    return serial;
}

bool isShowable(double serial)
{
    return std::isfinite(serial) && serial >= -693593 && serial <= 2958466;
}

QDateTime toDateTime(double serial)
{
    if (!isShowable(serial))
        return {};
    const qint64 seconds = std::llround(serial * 86400.0);
    qint64 days = seconds / 86400;
    qint64 rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        days -= 1;
    }
    // Serials 1 to 59 count from 1899-12-31; 60, the false leap day, shows as 1900-02-28.
    if (days >= 1 && days < 60)
        days += 1;
    return QDateTime(kEpoch.addDays(days), QTime(0, 0).addSecs(static_cast<int>(rest)));
}

std::optional<double> fromIso(std::string_view text)
{
    std::string_view rest = text;
    int y = 0, mo = 0, d = 0;
    if (text.size() >= 8 && text[2] == ':') {
        auto t = readTime(rest);
        return t;
    }
    if (!readInt(rest, 4, y) || !expect(rest, '-') || !readInt(rest, 2, mo) || !expect(rest, '-')
        || !readInt(rest, 2, d))
        return std::nullopt;
    if (!QDate(y, mo, d).isValid())
        return std::nullopt;
    double serial = fromDate(y, mo, d);
    if (expect(rest, 'T') || expect(rest, ' ')) {
        auto t = readTime(rest);
        if (!t)
            return std::nullopt;
        serial += *t;
    }
    return serial;
}

std::optional<double> fromDuration(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() != 'P')
        return std::nullopt;
    text.remove_prefix(1);
    double seconds = 0;
    bool inTime = false;
    while (!text.empty()) {
        if (text.front() == 'T') {
            inTime = true;
            text.remove_prefix(1);
            continue;
        }
        double value = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
        if (r.ec != std::errc() || r.ptr == text.data() + text.size())
            return std::nullopt;
        const char unit = *r.ptr;
        text.remove_prefix(static_cast<std::size_t>(r.ptr - text.data()) + 1);
        switch (unit) {
        case 'D':
            seconds += value * 86400;
            break;
        case 'H':
            seconds += value * 3600;
            break;
        case 'M':
            seconds += inTime ? value * 60 : value * 30 * 86400;
            break;
        case 'S':
            seconds += value;
            break;
        case 'W':
            seconds += value * 7 * 86400;
            break;
        case 'Y':
            seconds += value * 365 * 86400;
            break;
        default:
            return std::nullopt;
        }
    }
    return (negative ? -seconds : seconds) / 86400.0;
}

} // namespace DateSerial
