#include "workbook/NumberFormat.h"

#include <QStringList>

namespace {

using Section = NumberFormat::DateRule::Section;

bool isBuiltInDate(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

// Index just past the quoted text, bracket or escaped character at i; i + 1 otherwise.
// -1 when a quote or bracket is never closed.
int skipLiteral(const QString &code, int i)
{
    switch (code.at(i).unicode()) {
    case '"': {
        const int close = code.indexOf(QLatin1Char('"'), i + 1);
        return close < 0 ? -1 : close + 1;
    }
    case '[': {
        const int close = code.indexOf(QLatin1Char(']'), i + 1);
        return close < 0 ? -1 : close + 1;
    }
    case '\\':
    case '_':
    case '*':
        return i + 2; // the next character is literal or padding
    default:
        return i + 1;
    }
}

// The sections between the semicolons that are not quoted, bracketed or escaped.
QStringList splitSections(const QString &code)
{
    QStringList sections;
    int start = 0;
    for (int i = 0; i < code.size();) {
        if (code.at(i) == QLatin1Char(';')) {
            sections << code.mid(start, i - start);
            start = ++i;
            continue;
        }
        const int next = skipLiteral(code, i);
        if (next < 0)
            break;
        i = next;
    }
    sections << code.mid(start);
    return sections;
}

bool isElapsed(const QString &inner)
{
    return !inner.isEmpty()
           && (inner.count(QLatin1Char('h')) == inner.size() || inner.count(QLatin1Char('m')) == inner.size()
               || inner.count(QLatin1Char('s')) == inner.size());
}

bool isDateSection(const QString &code)
{
    const int n = code.size();
    for (int i = 0; i < n;) {
        const QChar c = code.at(i);
        const int next = skipLiteral(code, i);
        if (next < 0)
            return false;
        // [h], [mm], [ss]: elapsed time; other brackets are colours, conditions, locales.
        if (c == QLatin1Char('[') && isElapsed(code.mid(i + 1, next - i - 2).toLower()))
            return true;
        const char16_t l = c.toLower().unicode();
        if (l == 'd' || l == 'm' || l == 'y' || l == 'h' || l == 's')
            return true;
        if (l == 'a'
            && (code.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0
                || code.mid(i, 3).compare(QLatin1String("A/P"), Qt::CaseInsensitive) == 0))
            return true;
        i = next;
    }
    return false;
}

// The condition among the brackets that open a section ([Red][<=100]), if any.
void readCondition(const QString &code, Section &section)
{
    static const std::pair<const char *, char> kOps[] = {{"<=", 'l'}, {">=", 'g'}, {"<>", 'n'},
                                                         {"<", '<'},  {">", '>'},  {"=", '='}};
    for (int i = 0; i < code.size() && code.at(i) == QLatin1Char('[');) {
        const int close = code.indexOf(QLatin1Char(']'), i + 1);
        if (close < 0)
            return;
        const QString inner = code.mid(i + 1, close - i - 1).trimmed();
        for (const auto &[text, op] : kOps) {
            if (!inner.startsWith(QLatin1String(text)))
                continue;
            bool ok = false;
            const double bound = inner.mid(int(qstrlen(text))).trimmed().toDouble(&ok);
            if (ok) {
                section.op = op;
                section.bound = bound;
            }
            return;
        }
        i = close + 1;
    }
}

bool meets(const Section &s, double v)
{
    switch (s.op) {
    case '<':
        return v < s.bound;
    case '>':
        return v > s.bound;
    case '=':
        return v == s.bound;
    case 'l':
        return v <= s.bound;
    case 'g':
        return v >= s.bound;
    case 'n':
        return v != s.bound;
    default:
        return true;
    }
}

} // namespace

namespace NumberFormat {

bool DateRule::isDate(double value) const
{
    if (!conditional)
        return count > 0 && sections[0].date;
    for (int i = 0; i < count; ++i)
        if (meets(sections[std::size_t(i)], value))
            return sections[std::size_t(i)].date;
    return false;
}

bool DateRule::anyDate() const
{
    for (int i = 0; i < count; ++i)
        if (sections[std::size_t(i)].date)
            return true;
    return false;
}

DateRule dateRule(int id, const QString &code)
{
    DateRule rule;
    if (id == 0)
        return rule;
    if (code.isEmpty()) {
        rule.count = 1;
        rule.sections[0].date = isBuiltInDate(id);
        return rule;
    }
    // A fourth section is for text: numbers are shown by the first three at most.
    const QStringList parts = splitSections(code);
    for (const QString &part : parts) {
        if (rule.count == int(rule.sections.size()))
            break;
        Section &section = rule.sections[std::size_t(rule.count++)];
        section.date = isDateSection(part);
        readCondition(part, section);
        rule.conditional = rule.conditional || section.op != 0;
    }
    return rule;
}

} // namespace NumberFormat
