#include "workbook/CellValue.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace {
// Serial day 1 is 1900-01-01; the 1900 system counts a 29 February 1900 that never was,
// so serials from 61 on are one day ahead of the calendar.
QDateTime fromSerial(double serial)
{
    double days = std::floor(serial);
    const double fraction = serial - days;
    if (days < 61)
        days += 1;
    const QDate date = QDate(1899, 12, 30).addDays(qint64(days));
    const qint64 ms = std::llround(fraction * 86400000.0);
    return QDateTime(date, QTime(0, 0)).addMSecs(ms);
}

// The long time format names the time zone, which a cell never has.
QString timeWithSeconds(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    const int minutes = format.indexOf(QLatin1String("mm"));
    if (!format.contains(QLatin1String("ss")) && minutes >= 0)
        format.insert(minutes + 2, QLatin1String(":ss"));
    return format;
}

QString generalNumber(double number, const QLocale &locale)
{
    QLocale shown(locale);
    shown.setNumberOptions(shown.numberOptions() | QLocale::OmitGroupSeparator);
    return shown.toString(number, 'G', 15); // "1E+22", as Excel writes it
}
} // namespace

QString CellValue::toDisplayText(const QLocale &locale) const
{
    switch (type) {
    case Type::Empty:
        return QString();
    case Type::Text:
        return text;
    case Type::Number:
        return generalNumber(number, locale);
    case Type::Boolean:
        return number != 0 ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    case Type::DateTime: {
        const QDateTime moment = fromSerial(number);
        if (moment.time() == QTime(0, 0))
            return locale.toString(moment.date(), QLocale::ShortFormat);
        if (number < 1)
            return locale.toString(moment.time(), timeWithSeconds(locale));
        return locale.toString(moment, QLocale::ShortFormat);
    }
    case Type::Error:
        break;
    }
    throw AppError(ErrorNumbers::kTypeMismatch, QStringLiteral("Excel.Application"),
                   QStringLiteral("No coinciden los tipos"));
}
