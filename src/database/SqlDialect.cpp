#include "database/SqlDialect.h"

#include <QStringList>

#include <algorithm>

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('@');
}

// Copies a quoted run (string literal or quoted name) that starts at i, doubled quotes
// included; an unterminated one runs to the end.
int copyQuoted(const QString &s, int i, QString &out)
{
    const QChar quote = s[i];
    qsizetype j = i + 1;
    for (;;) {
        const qsizetype close = s.indexOf(quote, j);
        if (close < 0) {
            j = s.size();
            break;
        }
        j = close + 1;
        if (j < s.size() && s[j] == quote)
            ++j;
        else
            break;
    }
    out += QStringView(s).mid(i, j - i);
    return int(j);
}

int copyComment(const QString &s, int i, QString &out)
{
    int j;
    if (s[i] == QLatin1Char('-')) {
        j = s.indexOf(QLatin1Char('\n'), i);
        j = j < 0 ? s.size() : j;
    } else {
        j = s.indexOf(QLatin1String("*/"), i + 2);
        j = j < 0 ? s.size() : j + 2;
    }
    out += QStringView(s).mid(i, j - i);
    return j;
}

int skipBlanks(const QString &s, int i)
{
    while (i < s.size() && s[i].isSpace())
        ++i;
    return i;
}

QString twoDigits(const QString &digits)
{
    return digits.rightJustified(2, QLatin1Char('0'));
}

// "#2026/12/31#" (any separator; also month first with the year last, and an optional
// time) as an ISO text; empty when the text between the # signs is no date.
QString isoDate(QStringView inner)
{
    const QString text = inner.trimmed().toString();
    // The time, if any, is the last blank-separated part and holds a colon; a blank may
    // also be part of the user's date separator.
    const int colon = text.indexOf(QLatin1Char(':'));
    const int blank = colon < 0 ? -1 : text.lastIndexOf(QLatin1Char(' '), colon);
    if (colon >= 0 && blank < 0)
        return {};
    const QString datePart = blank < 0 ? text : text.left(blank);
    const QString timePart = blank < 0 ? QString() : text.mid(blank + 1).trimmed();

    QStringList d;
    QString current;
    for (QChar c : datePart) {
        if (c.isDigit()) {
            current += c;
        } else if (!current.isEmpty()) {
            d << current;
            current.clear();
        }
    }
    if (!current.isEmpty())
        d << current;
    if (d.size() != 3)
        return {};
    QString year, month, day;
    if (d[0].size() == 4 && d[1].size() <= 2 && d[2].size() <= 2) {
        year = d[0], month = d[1], day = d[2];
    } else if (d[2].size() == 4 && d[0].size() <= 2 && d[1].size() <= 2) {
        month = d[0], day = d[1], year = d[2];
    } else {
        return {};
    }
    if (month.toInt() < 1 || month.toInt() > 12 || day.toInt() < 1 || day.toInt() > 31)
        return {};
    QString iso = year + QLatin1Char('-') + twoDigits(month) + QLatin1Char('-') + twoDigits(day);
    if (timePart.isEmpty())
        return iso;
    const QStringList t = timePart.split(QLatin1Char(':'));
    if (t.size() < 2 || t.size() > 3)
        return {};
    QStringList hms;
    for (const QString &part : t) {
        if (part.isEmpty() || part.size() > 2
            || !std::all_of(part.begin(), part.end(), [](QChar c) { return c.isDigit(); }))
            return {};
        hms << twoDigits(part);
    }
    if (hms.size() == 2)
        hms << QStringLiteral("00");
    return iso + QLatin1Char(' ') + hms.join(QLatin1Char(':'));
}

// statement.contains("getdate", Qt::CaseInsensitive), asked only where a g stands: the
// library's own search folds the case of every character.
bool mentionsGetdate(const QString &statement)
{
    const QStringView s(statement);
    for (qsizetype i = 0; i + 7 <= s.size(); ++i) {
        if ((s[i] == u'g' || s[i] == u'G') && s.mid(i, 7).compare(QLatin1String("getdate"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

class Rewriter {
public:
    Rewriter(const QString &source, SqlDialect::Kind kind) : s(source), m_kind(kind) { out.reserve(s.size() + 32); }

    QString run()
    {
        int i = 0;
        while (i < s.size()) {
            const int plain = plainRun(i);
            out += QStringView(s).mid(i, plain - i);
            i = plain < s.size() ? step(plain) : plain;
        }
        return out;
    }

private:
    // The end of the run from i that step() would copy unchanged, one character at a time:
    // ASCII other than the marks it rewrites or skips over, and no word that may be GETDATE.
    int plainRun(int i) const
    {
        int j = i;
        for (; j < s.size(); ++j) {
            const char16_t c = s[j].unicode();
            if (c >= 0x80 || c == u'\'' || c == u'-' || c == u'/' || c == u'"' || c == u'[' || c == u'#' || c == u'+')
                break;
            if ((c == u'G' || c == u'g') && (j == 0 || !isWordChar(s[j - 1])))
                break;
        }
        return j;
    }

    int step(int i)
    {
        const QChar c = s[i];
        const QChar next = i + 1 < s.size() ? s[i + 1] : QChar();
        if (c == QLatin1Char('\'')) {
            const int end = copyQuoted(s, i, out);
            m_lastLiteralEnd = out.size();
            return end;
        }
        if ((c == QLatin1Char('-') && next == QLatin1Char('-')) || (c == QLatin1Char('/') && next == QLatin1Char('*')))
            return copyComment(s, i, out);
        if (c.isSpace()) {
            out += c;
            return i + 1;
        }
        if (c == QLatin1Char('"'))
            return copyQuoted(s, i, out);
        if (c == QLatin1Char('['))
            return bracketName(i);
        if (c == QLatin1Char('#'))
            return dateLiteral(i);
        if (c == QLatin1Char('+'))
            return plus(i);
        if (isWordChar(c))
            return word(i);
        out += c;
        return i + 1;
    }

    int bracketName(int i)
    {
        const int close = s.indexOf(QLatin1Char(']'), i + 1);
        if (close < 0) {
            out += s[i];
            return i + 1;
        }
        QString name = s.mid(i + 1, close - i - 1);
        name.replace(QLatin1Char('"'), QLatin1String("\"\""));
        out += QLatin1Char('"') + name + QLatin1Char('"');
        return close + 1;
    }

    int dateLiteral(int i)
    {
        const int close = s.indexOf(QLatin1Char('#'), i + 1);
        const QString iso = close < 0 || close - i > 40 ? QString() : isoDate(QStringView(s).mid(i + 1, close - i - 1));
        if (iso.isEmpty()) {
            out += s[i];
            return i + 1;
        }
        out += QLatin1Char('\'') + iso + QLatin1Char('\'');
        return close + 1;
    }

    int plus(int i)
    {
        const int after = skipBlanks(s, i + 1);
        const bool literalAfter = after < s.size() && s[after] == QLatin1Char('\'');
        out += literalBefore() || literalAfter ? QLatin1String("||") : QLatin1String("+");
        return i + 1;
    }

    bool literalBefore() const
    {
        int j = out.size() - 1;
        while (j >= 0 && out[j].isSpace())
            --j;
        return j >= 0 && m_lastLiteralEnd == j + 1;
    }

    int word(int i)
    {
        int j = i;
        while (j < s.size() && isWordChar(s[j]))
            ++j;
        const QStringView w = QStringView(s).mid(i, j - i);
        if (w.compare(QLatin1String("GETDATE"), Qt::CaseInsensitive) == 0) {
            int k = skipBlanks(s, j);
            if (k < s.size() && s[k] == QLatin1Char('(')) {
                k = skipBlanks(s, k + 1);
                if (k < s.size() && s[k] == QLatin1Char(')')) {
                    out += m_kind == SqlDialect::Postgres ? QLatin1String("LOCALTIMESTAMP")
                                                          : QLatin1String("datetime('now','localtime')");
                    return k + 1;
                }
            }
        }
        out += w;
        return j;
    }

    const QString &s;
    SqlDialect::Kind m_kind;
    QString out;
    int m_lastLiteralEnd = -1;
};

} // namespace

bool SqlDialect::fromName(const QString &name, Kind &kind)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("native"))
        kind = Native;
    else if (n == QLatin1String("sqlite"))
        kind = Sqlite;
    else if (n == QLatin1String("postgres"))
        kind = Postgres;
    else
        return false;
    return true;
}

SqlDialect::Kind SqlDialect::defaultFor(const QString &driver)
{
    if (driver == QLatin1String("QSQLITE"))
        return Sqlite;
    if (driver == QLatin1String("QPSQL"))
        return Postgres;
    return Native;
}

QString SqlDialect::translate(const QString &statement, Kind kind)
{
    if (kind == Native)
        return statement;
    // Most statements carry none of the forms; skip the rewrite for them.
    if (!statement.contains(QLatin1Char('[')) && !statement.contains(QLatin1Char('#'))
        && !statement.contains(QLatin1Char('+')) && !mentionsGetdate(statement))
        return statement;
    return Rewriter(statement, kind).run();
}
