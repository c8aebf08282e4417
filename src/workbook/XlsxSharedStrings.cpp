#include "workbook/XlsxSharedStrings.h"

#include "core/AppError.h"
#include "workbook/WorkbookErrors.h"
#include "workbook/XlsxText.h"
#include "workbook/XmlStream.h"
#include "workbook/ZipPackage.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace {

constexpr unsigned long long kMaxSharedStringsPart = 256ull * 1024 * 1024;

struct SharedStringsHandler : XmlHandler {
    std::vector<QString> &strings;
    const QString &path;
    long long budget;
    long long used = 0;
    std::string text;
    bool inItem = false;
    bool collecting = false;
    int phonetic = 0;

    SharedStringsHandler(std::vector<QString> &out, const QString &file, long long memoryBudget)
        : strings(out), path(file), budget(memoryBudget)
    {
    }

    void startElement(const char *name, const char **atts) override
    {
        const char *local = localName(name);
        if (std::strcmp(local, "si") == 0) {
            inItem = true;
            text.clear();
        } else if (std::strcmp(local, "t") == 0) {
            collecting = inItem && phonetic == 0;
        } else if (std::strcmp(local, "rPh") == 0) {
            ++phonetic; // reading aids of East Asian text, not part of the value
        } else if (std::strcmp(local, "sst") == 0) {
            if (const char *count = attribute(atts, "uniqueCount")) {
                long long n = 0;
                std::from_chars(count, count + std::strlen(count), n);
                strings.reserve(static_cast<std::size_t>(std::clamp<long long>(n, 0, 1 << 20)));
            }
        }
    }
    void endElement(const char *name) override
    {
        const char *local = localName(name);
        if (std::strcmp(local, "t") == 0) {
            collecting = false;
        } else if (std::strcmp(local, "rPh") == 0) {
            --phonetic;
        } else if (std::strcmp(local, "si") == 0) {
            strings.push_back(XlsxText::decode(text));
            inItem = false;
            // The string object, and its heap block with header and terminator.
            const qsizetype length = strings.back().size();
            used += static_cast<long long>(sizeof(QString)) + (length > 0 ? 32 + 2 * length : 0);
            if (used > budget)
                throw WorkbookErrors::tooLarge(path);
        }
    }
    void characters(const char *data, int length) override
    {
        if (collecting)
            text.append(data, static_cast<std::size_t>(length));
    }
};

} // namespace

XlsxSharedStrings::XlsxSharedStrings(const ZipPackage &package, long long index, long long memoryBudget)
{
    SharedStringsHandler handler(m_strings, package.path(), memoryBudget);
    XmlStream::parse(package, index, kMaxSharedStringsPart, handler);
}
