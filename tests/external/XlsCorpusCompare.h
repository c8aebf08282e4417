#pragma once

// Compares a worksheet read from an .xls file with the CSV text LibreOffice exported for it
// (en-US display text): text exactly, numbers and dates by the value their text shows.

#include "external/workbook/SheetData.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QtMath>
#include <cmath>
#include <vector>

namespace XlsCorpusCompare {

inline std::vector<QStringList> parseCsv(const QString &text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\n') {
            row << field;
            field.clear();
            rows.push_back(row);
            row.clear();
        } else {
            field += c;
        }
    }
    return rows;
}

// The value a formatted number shows, or NaN; tolerance gets half a unit of the last digit.
inline double shownNumber(QString s, double &tolerance)
{
    s = s.trimmed();
    // Accounting formats show negatives in parentheses.
    double sign = 1;
    if (s.startsWith(u'(') && s.endsWith(u')')) {
        sign = -1;
        s = s.mid(1, s.size() - 2);
    }
    s.remove(u',');
    s.remove(u'$');
    s.remove(QChar(0x20AC));
    s = s.trimmed();
    double scale = 1;
    if (s.endsWith(u'%')) {
        scale = 0.01;
        s.chop(1);
    }
    static const QRegularExpression fraction(QStringLiteral("^(-?\\d+) (\\d+)/(\\d+)$"));
    const auto m = fraction.match(s);
    if (m.hasMatch()) {
        const double den = m.captured(3).toDouble();
        tolerance = 1.0 / den;
        return sign * (m.captured(1).toDouble() + m.captured(2).toDouble() / den);
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(s, &ok);
    if (!ok)
        return std::nan("");
    const qsizetype e = s.indexOf(u'E', 0, Qt::CaseInsensitive);
    const QString mantissa = e >= 0 ? s.left(e) : s;
    const qsizetype dot = mantissa.indexOf(u'.');
    const int decimals = dot < 0 ? 0 : int(mantissa.size() - dot - 1);
    double unit = std::pow(10.0, -decimals) * scale;
    if (e >= 0)
        unit *= std::pow(10.0, s.mid(e + 1).toInt());
    tolerance = unit / 2 + 1e-9 * std::fabs(v * scale);
    return sign * v * scale;
}

// Every number in a shown date or time is one of the parts of the serial, and a month
// name, if any, is the serial's month.
inline bool dateMatches(const QString &shown, double serial)
{
    const qint64 days = qint64(std::floor(serial));
    const QDate date = QDate(1899, 12, 30).addDays(days - (days < 61 ? -1 : 0));
    // Seconds shown truncated or rounded, whichever the format does.
    const double dayFraction = (serial - std::floor(serial)) * 86400.0;
    const qint64 seconds = qint64(std::floor(dayFraction + 1e-6));
    const qint64 totalHours = qint64(std::floor(serial * 24.0 + 1e-9));
    const QList<qint64> parts{date.year(), date.year() % 100, date.month(), date.day(),
                              seconds / 3600, (seconds / 3600) % 12, (seconds / 3600 + 11) % 12 + 1,
                              (seconds / 60) % 60, seconds % 60, qRound64(dayFraction) % 60, totalHours};
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    auto it = digits.globalMatch(shown);
    bool any = false;
    while (it.hasNext()) {
        any = true;
        if (!parts.contains(it.next().captured().toLongLong()))
            return false;
    }
    static const QRegularExpression words(QStringLiteral("[A-Za-z]{3,}"));
    auto w = words.globalMatch(shown);
    while (w.hasNext()) {
        const QString word = w.next().captured();
        if (word == u"AM" || word == u"PM")
            continue;
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        if (!en.monthName(date.month()).startsWith(word, Qt::CaseInsensitive) &&
            !en.dayName(date.dayOfWeek()).startsWith(word, Qt::CaseInsensitive))
            return false;
    }
    return any;
}

inline bool cellMatches(const CellValue &v, const QString &shown)
{
    switch (v.type) {
    case CellValue::Type::Empty:
        return shown.isEmpty();
    case CellValue::Type::Text:
        return v.text == shown;
    case CellValue::Type::Error:
        return v.text == shown;
    case CellValue::Type::Boolean:
        return shown == (v.number != 0 ? QStringLiteral("1") : QStringLiteral("0")) ||
               shown == (v.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    case CellValue::Type::DateTime:
        return dateMatches(shown, v.number);
    case CellValue::Type::Number: {
        double tolerance = 0;
        const double n = shownNumber(shown, tolerance);
        return !std::isnan(n) && std::fabs(n - v.number) <= tolerance;
    }
    }
    return false;
}

// Cells that differ, as "B3: read <value> shown <text>".
inline QStringList differences(const SheetData &sheet, const std::vector<QStringList> &expected,
                               const QStringList &skipped)
{
    QStringList out;
    int columns = 0;
    for (const auto &row : expected)
        columns = std::max(columns, int(row.size()));
    const int rows = std::max(int(expected.size()), sheet.rowCount());
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= std::max(columns, 40); ++c) {
            const QString shown = r <= int(expected.size()) && c <= expected[r - 1].size() ? expected[r - 1][c - 1] : QString();
            const QString name = QString(QChar(u'A' + (c - 1) % 26)).prepend(c > 26 ? QString(QChar(u'A' + (c - 1) / 26 - 1)) : QString()) + QString::number(r);
            if (skipped.contains(name))
                continue;
            const CellValue &v = sheet.at(r, c);
            if (!cellMatches(v, shown))
                out << QStringLiteral("%1: read %2/%3 shown '%4'").arg(name).arg(int(v.type)).arg(v.type == CellValue::Type::Text || v.type == CellValue::Type::Error ? v.text : QString::number(v.number, 'g', 17), shown);
        }
    }
    return out;
}

} // namespace XlsCorpusCompare
