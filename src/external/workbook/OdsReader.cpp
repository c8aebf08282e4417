#include "external/workbook/OdsReader.h"

#include "external/workbook/OdsContentParser.h"
#include "external/workbook/SheetBuilder.h"
#include "external/workbook/WorkbookErrors.h"
#include "external/workbook/ZipPackage.h"
#include "platform/AppError.h"

#include <optional>
#include <string_view>
#include <thread>

namespace {
constexpr unsigned long long kMaxContentPart = 1024ull * 1024 * 1024;
constexpr unsigned long long kMaxManifest = 16ull * 1024 * 1024;
constexpr std::string_view kRow = "<table:table-row";

// The start of a row element of the usual prefix at or after `from`.
std::size_t rowStartFrom(const std::string &xml, std::size_t from)
{
    for (std::size_t at = xml.find(kRow, from); at != std::string::npos; at = xml.find(kRow, at + 1)) {
        const std::size_t next = at + kRow.size();
        if (next < xml.size() && (xml[next] == ' ' || xml[next] == '>' || xml[next] == '/'))
            return at;
    }
    return std::string::npos;
}

// The rows from `from` to the end of the first table, parsed as if the table started
// there; `complete` only when that parse reached the end of a table.
struct SecondHalf {
    std::optional<SheetBuilder> sheet;
    bool complete = false;

    void parse(const ZipPackage &package, const std::string &xml, std::size_t from, const ReadLimits &limits)
    {
        try {
            sheet.emplace(package.path(), limits);
            OdsContentParser parser(*sheet);
            XmlFeed feed(package, parser);
            static constexpr std::string_view kOpen = "<table:table>";
            feed.feed(kOpen.data(), kOpen.size(), false);
            complete = !feed.feed(xml.data() + from, xml.size() - from, true) && parser.stopped();
        } catch (const AppError &) {
            complete = false;
        }
    }
};

// Passes the first half's events on, except the row that starts exactly at the split
// point when the second half has taken it: then the first half is done.
class SplitWatch : public XmlHandler {
public:
    SplitWatch(OdsContentParser &parser, std::size_t split) : m_parser(parser), m_split(split) {}

    void attach(const XmlFeed &feed) { m_feed = &feed; }
    void handOver(bool secondHalfComplete) { m_handOver = secondHalfComplete; }
    bool handedOver() const { return m_handedOver; }

    void startElement(const char *name, const char **attributes) override
    {
        if (m_handOver && !m_handedOver && m_feed->currentByte() == static_cast<long long>(m_split)
            && is(name, "table-row") && m_parser.betweenRows()) {
            m_handedOver = true;
            stop();
            return;
        }
        m_parser.startElement(name, attributes);
        follow();
    }
    void endElement(const char *name) override
    {
        m_parser.endElement(name);
        follow();
    }
    void characters(const char *data, int length) override { m_parser.characters(data, length); }

private:
    void follow()
    {
        if (m_parser.stopped())
            stop();
    }

    OdsContentParser &m_parser;
    std::size_t m_split;
    const XmlFeed *m_feed = nullptr;
    bool m_handOver = false;
    bool m_handedOver = false;
};

SheetData readStreaming(const ZipPackage &package, qint64 content, const ReadLimits &limits)
{
    SheetBuilder sheet(package.path(), limits);
    OdsContentParser parser(sheet);
    XmlStream::parse(package, content, kMaxContentPart, parser);
    return sheet.take();
}

// A big sheet is parsed in two halves on two cores. The second half is used only when
// the first half's parser meets its first row exactly where the second began, between
// two rows of the first table; otherwise the first half parses on, as if alone.
SheetData readInHalves(const ZipPackage &package, qint64 content, const ReadLimits &limits, bool *halves)
{
    const std::string xml = package.read(content, kMaxContentPart);
    const std::size_t split = rowStartFrom(xml, xml.size() / 2);
    SheetBuilder sheet(package.path(), limits);
    OdsContentParser parser(sheet);
    SplitWatch watch(parser, split);
    XmlFeed feed(package, watch);
    watch.attach(feed);
    if (split == std::string::npos) {
        feed.feed(xml.data(), xml.size(), true);
        return sheet.take();
    }
    SecondHalf second;
    bool more = false;
    {
        std::thread worker([&] { second.parse(package, xml, split, limits); });
        struct Join {
            std::thread &t;
            ~Join() { t.join(); }
        } join{worker};
        more = feed.feed(xml.data(), split, false);
    }
    if (!more)
        return sheet.take();
    watch.handOver(second.complete && sheet.slotsUsed() + second.sheet->slotsUsed() <= sheet.slotBudget());
    feed.feed(xml.data() + split, xml.size() - split, true);
    if (!watch.handedOver())
        return sheet.take();
    if (halves)
        *halves = true;
    SheetData first = sheet.take();
    first.append(second.sheet->take(), static_cast<int>(parser.nextRow() - 1));
    return first;
}

} // namespace

SheetData OdsReader::readFirstSheet(const ZipPackage &package, const ReadLimits &limits,
                                    unsigned long long splitFrom, bool *halves)
{
    if (halves)
        *halves = false;
    // A password-protected document lists its encrypted parts in the manifest; their
    // bytes would only read as damaged XML.
    const qint64 manifest = package.find("META-INF/manifest.xml");
    if (manifest >= 0 && package.read(manifest, kMaxManifest).find("encryption-data") != std::string::npos)
        throw WorkbookErrors::encrypted(package.path());
    const qint64 content = package.find("content.xml");
    if (content < 0)
        throw WorkbookErrors::notAWorkbook(package.path());
    if (package.declaredSize(content) < splitFrom)
        return readStreaming(package, content, limits);
    return readInHalves(package, content, limits, halves);
}
