#include "workbook/XlsxText.h"

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The code unit of "_xHHHH_" at position i, or -1.
int escapeAt(const QString &s, int i)
{
    if (i + 7 > s.size() || s.at(i) != QLatin1Char('_') || (s.at(i + 1) != QLatin1Char('x'))
        || s.at(i + 6) != QLatin1Char('_'))
        return -1;
    int v = 0;
    for (int k = 2; k < 6; ++k) {
        const int h = hexValue(s.at(i + k));
        if (h < 0)
            return -1;
        v = v * 16 + h;
    }
    return v;
}

} // namespace

QString XlsxText::decode(std::string_view utf8)
{
    QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (utf8.find("_x") == std::string_view::npos)
        return s;
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        const int code = escapeAt(s, i);
        if (code >= 0) {
            out += QChar(static_cast<char16_t>(code));
            i += 6;
        } else {
            out += s.at(i);
        }
    }
    return out;
}
