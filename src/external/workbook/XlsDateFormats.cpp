#include "external/workbook/XlsDateFormats.h"

bool XlsDateFormats::isDateFormat(quint16 id, const QString &code)
{
    if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47))
        return true;
    // Format 0 is General, whatever name a localized writer gives it ("Standard" has a d).
    return id != 0 && hasDateTokens(code);
}

bool XlsDateFormats::hasDateTokens(const QString &code)
{
    const qsizetype n = code.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = code.at(i);
        if (c == u'"') {
            while (++i < n && code.at(i) != u'"') {
            }
        } else if (c == u'[') {
            // Elapsed-time brackets ([h], [mm], [ss]) are time; colours and locales are not.
            const qsizetype close = code.indexOf(u']', i);
            const QString inner = code.mid(i + 1, close < 0 ? -1 : close - i - 1).toLower();
            if (!inner.isEmpty() && inner.count(inner.at(0)) == inner.size() &&
                (inner.at(0) == u'h' || inner.at(0) == u'm' || inner.at(0) == u's'))
                return true;
            if (close < 0)
                return false;
            i = close;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else {
            switch (c.toLower().unicode()) {
            case u'd': case u'm': case u'y': case u'h': case u's':
                return true;
            default:
                break;
            }
        }
    }
    return false;
}
