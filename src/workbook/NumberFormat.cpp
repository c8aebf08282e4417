#include "workbook/NumberFormat.h"

namespace {

bool isBuiltInDate(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

bool isDateCode(const QString &code)
{
    const int n = code.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = code.at(i);
        switch (c.unicode()) {
        case '"': {
            const int close = code.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0)
                return false;
            i = close;
            break;
        }
        case '[': {
            // [h], [mm], [ss]: elapsed time; other brackets are colours, conditions, locales.
            const int close = code.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                return false;
            const QString inner = code.mid(i + 1, close - i - 1).toLower();
            if (!inner.isEmpty()
                && (inner.count(QLatin1Char('h')) == inner.size() || inner.count(QLatin1Char('m')) == inner.size()
                    || inner.count(QLatin1Char('s')) == inner.size()))
                return true;
            i = close;
            break;
        }
        case '\\':
        case '_':
        case '*':
            ++i; // the next character is literal or padding
            break;
        case ';':
            return false; // only the first section decides
        default: {
            const char16_t l = c.toLower().unicode();
            if (l == 'd' || l == 'm' || l == 'y' || l == 'h' || l == 's')
                return true;
            if (l == 'a'
                && (code.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0
                    || code.mid(i, 3).compare(QLatin1String("A/P"), Qt::CaseInsensitive) == 0))
                return true;
        }
        }
    }
    return false;
}

} // namespace

namespace NumberFormat {

bool isDate(int id, const QString &code)
{
    if (id == 0)
        return false;
    return code.isEmpty() ? isBuiltInDate(id) : isDateCode(code);
}

} // namespace NumberFormat
