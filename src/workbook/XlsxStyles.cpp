#include "workbook/XlsxStyles.h"

#include "workbook/NumberFormat.h"
#include "workbook/XmlStream.h"

#include <QHash>
#include <QString>
#include <charconv>

namespace {

constexpr unsigned long long kMaxStylesPart = 64ull * 1024 * 1024;

int toInt(const char *text, int fallback)
{
    if (!text)
        return fallback;
    int v = fallback;
    std::from_chars(text, text + std::strlen(text), v);
    return v;
}

struct StylesHandler : XmlHandler {
    QHash<int, QString> codes;
    std::vector<int> cellFormats;
    bool inCellXfs = false;

    void startElement(const char *name, const char **atts) override
    {
        if (is(name, "numFmt")) {
            const char *code = attribute(atts, "formatCode");
            codes.insert(toInt(attribute(atts, "numFmtId"), -1), QString::fromUtf8(code ? code : ""));
        } else if (is(name, "cellXfs")) {
            inCellXfs = true;
        } else if (inCellXfs && is(name, "xf")) {
            cellFormats.push_back(toInt(attribute(atts, "numFmtId"), 0));
        }
    }
    void endElement(const char *name) override
    {
        if (is(name, "cellXfs"))
            stop();
    }
};

} // namespace

XlsxStyles::XlsxStyles(const ZipPackage &package, long long index)
{
    StylesHandler handler;
    XmlStream::parse(package, index, kMaxStylesPart, handler);
    m_date.reserve(handler.cellFormats.size());
    for (int id : handler.cellFormats)
        m_date.push_back(NumberFormat::dateRule(id, handler.codes.value(id)));
}
