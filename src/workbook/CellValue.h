#pragma once

#include <QString>

class QLocale;

// One cell of a worksheet as the workbook gives it. Formula cells hold their cached result.
struct CellValue {
    enum class Type : quint8 { Empty, Text, Number, Boolean, DateTime, Error };

    Type type = Type::Empty;
    // Number; DateTime as a serial day number counted in the 1900 system (day 1 = 1900-01-01,
    // day 61 = 1900-03-01), whatever date system the file used; Boolean as 0 or 1.
    double number = 0.0;
    // Text; for Error the error's own code text ("#DIV/0!", "#N/A"...).
    QString text;

    static CellValue fromText(QString t)
    {
        CellValue v;
        v.type = Type::Text;
        v.text = std::move(t);
        return v;
    }
    static CellValue fromNumber(double n)
    {
        CellValue v;
        v.type = Type::Number;
        v.number = n;
        return v;
    }
    static CellValue fromBoolean(bool b)
    {
        CellValue v;
        v.type = Type::Boolean;
        v.number = b ? 1 : 0;
        return v;
    }
    static CellValue fromDateTime(double serial)
    {
        CellValue v;
        v.type = Type::DateTime;
        v.number = serial;
        return v;
    }
    static CellValue fromError(QString code)
    {
        CellValue v;
        v.type = Type::Error;
        v.text = std::move(code);
        return v;
    }

    bool isEmpty() const { return type == Type::Empty || (type == Type::Text && text.isEmpty()); }

    // The text the operator's regional settings show: numbers in general format (up to 15
    // significant digits, the locale's decimal separator, no grouping), dates in the
    // locale's short date (and time when there is one), "Verdadero"/"Falso", "" for empty.
    // An error value raises AppError 13 "No coinciden los tipos".
    QString toDisplayText(const QLocale &locale) const;
};
