#include "workbook/XlsxParts.h"

#include "core/AppError.h"
#include "workbook/WorkbookErrors.h"
#include "workbook/XmlStream.h"
#include "workbook/ZipPackage.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

constexpr unsigned long long kSmallPart = 16ull * 1024 * 1024;

bool endsWith(const std::string &s, const char *suffix)
{
    const std::size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

std::string percentDecoded(const std::string &s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1]))
            && std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

struct RelationshipsHandler : XmlHandler {
    std::vector<std::tuple<std::string, std::string, std::string>> found; // id, type, target
    void startElement(const char *name, const char **atts) override
    {
        if (!is(name, "Relationship"))
            return;
        const char *mode = attribute(atts, "TargetMode");
        if (mode && std::strcmp(mode, "External") == 0)
            return;
        const char *id = attribute(atts, "Id");
        const char *type = attribute(atts, "Type");
        const char *target = attribute(atts, "Target");
        if (id && type && target)
            found.emplace_back(id, type, target);
    }
    void endElement(const char *) override {}
};

struct ContentTypesHandler : XmlHandler {
    std::vector<std::pair<std::string, std::string>> overrides; // part, content type
    void startElement(const char *name, const char **atts) override
    {
        if (!is(name, "Override"))
            return;
        const char *part = attribute(atts, "PartName");
        const char *type = attribute(atts, "ContentType");
        if (part && type)
            overrides.emplace_back(part, type);
    }
    void endElement(const char *) override {}
};

struct WorkbookHandler : XmlHandler {
    std::string firstSheetId;
    bool sawSheet = false;
    bool date1904 = false;
    void startElement(const char *name, const char **atts) override
    {
        if (is(name, "workbookPr")) {
            const char *v = attribute(atts, "date1904");
            date1904 = v && (std::strcmp(v, "1") == 0 || std::strcmp(v, "true") == 0);
        } else if (is(name, "sheet") && !sawSheet) {
            sawSheet = true;
            // The relationship id is the "id" attribute of the relationships namespace
            // (r:id); a plain sheetId is something else.
            for (int i = 0; atts[i]; i += 2)
                if (std::strchr(atts[i], ':') && is(atts[i], "id"))
                    firstSheetId = atts[i + 1];
        }
    }
    void endElement(const char *name) override
    {
        if (is(name, "sheets"))
            stop();
    }
};

} // namespace

XlsxParts::XlsxParts(const ZipPackage &package) : m_package(package)
{
    const std::string workbook = workbookPart();
    const qint64 workbookIndex = m_package.find(workbook);
    if (workbookIndex < 0)
        throw WorkbookErrors::notAWorkbook(m_package.path());

    WorkbookHandler wb;
    XmlStream::parse(m_package, workbookIndex, kSmallPart, wb);
    m_date1904 = wb.date1904;

    const Relationships rels = relationshipsOf(workbook);
    const auto sheetRel = rels.find(wb.firstSheetId);
    if (sheetRel != rels.end())
        m_sheet = m_package.find(resolve(workbook, sheetRel->second.target));
    if (m_sheet < 0 && !wb.sawSheet)
        throw WorkbookErrors::damaged(m_package.path());
    if (m_sheet < 0) {
        const std::string byType = overrideOfType("spreadsheetml.worksheet+xml");
        m_sheet = m_package.find(byType.empty() ? resolve(workbook, "worksheets/sheet1.xml") : byType);
    }
    if (m_sheet < 0)
        throw WorkbookErrors::damaged(m_package.path());

    m_sharedStrings = findByType(rels, workbook, "/sharedStrings");
    m_styles = findByType(rels, workbook, "/styles");
}

qint64 XlsxParts::findByType(const Relationships &rels, const std::string &source, const char *typeSuffix) const
{
    for (const auto &entry : rels)
        if (endsWith(entry.second.type, typeSuffix))
            return m_package.find(resolve(source, entry.second.target));
    return -1;
}

std::string XlsxParts::workbookPart() const
{
    for (const auto &entry : relationshipsOf(std::string()))
        if (endsWith(entry.second.type, "/officeDocument"))
            return resolve(std::string(), entry.second.target);
    for (const char *type : {"spreadsheetml.sheet.main", "ms-excel.sheet.macroEnabled.main",
                             "spreadsheetml.template.main", "ms-excel.template.macroEnabled.main"}) {
        const std::string part = overrideOfType(type);
        if (!part.empty())
            return part;
    }
    return m_package.find("xl/workbook.xml") >= 0 ? "xl/workbook.xml" : "workbook.xml";
}

std::string XlsxParts::overrideOfType(const char *contentTypeFragment) const
{
    const qint64 index = m_package.find("[Content_Types].xml");
    if (index < 0)
        return {};
    ContentTypesHandler handler;
    try {
        XmlStream::parse(m_package, index, kSmallPart, handler);
    } catch (const AppError &) {
        // A damaged content-types part is one fallback less, not a reason to give up.
    }
    for (const auto &o : handler.overrides)
        if (o.second.find(contentTypeFragment) != std::string::npos)
            return resolve(std::string(), o.first);
    return {};
}

XlsxParts::Relationships XlsxParts::relationshipsOf(const std::string &part) const
{
    const std::size_t slash = part.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
    const qint64 index = m_package.find(dir + "_rels/" + file + ".rels");
    Relationships rels;
    if (index < 0)
        return rels;
    RelationshipsHandler handler;
    try {
        XmlStream::parse(m_package, index, kSmallPart, handler);
    } catch (const AppError &e) {
        if (e.description() == WorkbookErrors::unsafeXml(m_package.path()).description())
            throw;
        // A damaged relationships part leaves the fallbacks to find the parts.
    }
    for (auto &[id, type, target] : handler.found)
        rels.emplace(id, Relationship{type, target});
    return rels;
}

std::string XlsxParts::resolve(const std::string &sourcePart, const std::string &target)
{
    std::string t = percentDecoded(target);
    std::replace(t.begin(), t.end(), '\\', '/');
    std::string path;
    if (!t.empty() && t.front() == '/') {
        path = t.substr(1);
    } else {
        const std::size_t slash = sourcePart.rfind('/');
        path = (slash == std::string::npos ? std::string() : sourcePart.substr(0, slash + 1)) + t;
    }
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string seg = path.substr(start, end - start);
        if (seg == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!seg.empty() && seg != ".") {
            segments.push_back(seg);
        }
        start = end + 1;
    }
    std::string out;
    for (const auto &seg : segments) {
        if (!out.empty())
            out += '/';
        out += seg;
    }
    return out;
}
