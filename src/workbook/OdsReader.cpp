#include "workbook/OdsReader.h"

#include "core/AppError.h"
#include "workbook/OdsContentParser.h"
#include "workbook/SheetBuilder.h"
#include "workbook/WorkbookErrors.h"
#include "workbook/ZipPackage.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace {
constexpr unsigned long long kMaxContentPart = 1024ull * 1024 * 1024;
constexpr unsigned long long kMaxManifest = 16ull * 1024 * 1024;
// Parts declared larger are parsed in one go rather than held whole in memory.
constexpr unsigned long long kMaxBuffered = 512ull * 1024 * 1024;
constexpr std::string_view kRow = "<table:table-row";
// The second part is fed in pieces of this size, to notice between them that the first
// part no longer needs it.
constexpr std::size_t kSecondPartPiece = 1024 * 1024;
// The element the second part is parsed in, as if its table had started there.
constexpr std::string_view kSecondPartTable = "table:table";

// The start of a row element of the usual prefix at or after `from`.
std::size_t rowStartFrom(std::string_view xml, std::size_t from)
{
    for (std::size_t at = xml.find(kRow, from); at != std::string_view::npos; at = xml.find(kRow, at + 1)) {
        const std::size_t next = at + kRow.size();
        if (next < xml.size() && (xml[next] == ' ' || xml[next] == '>' || xml[next] == '/'))
            return at;
    }
    return std::string_view::npos;
}

// The rows from `from` to the end of the first table, parsed as if the table started
// there; `complete` only when that parse reached the end of a table. Given up, incomplete,
// once `abandoned` is set.
struct SecondHalf {
    std::optional<SheetBuilder> sheet;
    bool complete = false;

    void parse(const ZipPackage &package, std::string_view xml, std::size_t from, const ReadLimits &limits,
               const std::atomic<bool> &abandoned)
    {
        try {
            sheet.emplace(package.path(), limits);
            OdsContentParser parser(*sheet);
            XmlFeed feed(package, parser);
            const std::string open = "<" + std::string(kSecondPartTable) + ">";
            feed.feed(open.data(), open.size(), false);
            bool more = true;
            std::size_t at = from;
            do {
                if (abandoned.load(std::memory_order_relaxed))
                    return;
                const std::size_t size = std::min(kSecondPartPiece, xml.size() - at);
                more = feed.feed(xml.data() + at, size, at + size == xml.size());
                at += size;
            } while (more && at < xml.size());
            complete = !more && parser.stopped();
        } catch (...) {
            // Whatever went wrong here, the first parser reads on and meets it itself.
            complete = false;
        }
    }
};

// Passes the first half's events on, except the row that starts exactly at the split
// point when the second half has taken it: then the first half is done.
class SplitWatch : public XmlHandler {
public:
    explicit SplitWatch(OdsContentParser &parser) : m_parser(parser) {}

    void attach(const XmlFeed &feed) { m_feed = &feed; }
    void splitAt(std::size_t split) { m_split = split; }
    void handOver(bool secondHalfComplete) { m_handOver = secondHalfComplete; }
    bool handedOver() const { return m_handedOver; }

    void startElement(const char *name, const char **attributes) override
    {
        if (!m_tableSeen && is(name, "table")) {
            m_tableSeen = true;
            m_tableAsSecondPart = name == kSecondPartTable;
        }
        // The second part closed its table as "table:table": only a table opened so gives
        // what one parse gives (any other end tag would not match).
        if (m_handOver && !m_handedOver && m_tableAsSecondPart
            && m_feed->currentByte() == static_cast<long long>(m_split) && is(name, "table-row")
            && m_parser.betweenRows()) {
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
    std::size_t m_split = 0;
    const XmlFeed *m_feed = nullptr;
    bool m_handOver = false;
    bool m_handedOver = false;
    bool m_tableSeen = false;
    bool m_tableAsSecondPart = false;
};

SheetData readStreaming(const ZipPackage &package, qint64 content, const ReadLimits &limits)
{
    SheetBuilder sheet(package.path(), limits);
    OdsContentParser parser(sheet);
    XmlStream::parse(package, content, kMaxContentPart, parser);
    return sheet.take();
}

// content.xml unzipped on one thread into a buffer of the size the zip declares, and
// read on another as it comes.
class Unzipped {
public:
    explicit Unzipped(std::size_t capacity) : m_data(new char[capacity]), m_capacity(capacity) {}

    // On the unzipping thread. False when the part is damaged or larger than declared.
    bool fill(const ZipPackage &package, qint64 content)
    {
        bool fits = true;
        try {
            package.stream(content, kMaxContentPart, [&](const char *data, std::size_t size) {
                if (size > m_capacity - m_written || abandoned()) {
                    fits = false;
                    return false;
                }
                std::memcpy(m_data.get() + m_written, data, size);
                m_written += size;
                publish([&] { m_size = m_written; });
                return true;
            });
        } catch (...) {
            // Read again in one parse, which reports what went wrong.
            fits = false;
        }
        return fits;
    }
    // Once all is out (or not): where the second part starts, npos for none.
    void finish(bool whole, std::size_t split)
    {
        publish([&] {
            m_done = true;
            m_whole = whole;
            m_split = split;
        });
    }

    struct State {
        std::size_t size;
        bool done;
        bool whole;
        std::size_t split;
    };
    // On the reading thread: once more than `fed` bytes are out, or (when `needEnd`) all.
    State wait(std::size_t fed, bool needEnd)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_done || (!needEnd && m_size > fed); });
        return State{m_size, m_done, m_whole, m_split};
    }

    // The reading thread needs no more: the unzipping thread stops as soon as it sees it.
    void abandon() { m_abandoned.store(true, std::memory_order_relaxed); }
    bool abandoned() const { return m_abandoned.load(std::memory_order_relaxed); }
    const std::atomic<bool> &abandonedFlag() const { return m_abandoned; }

    std::string_view view() const { return std::string_view(m_data.get(), m_written); }
    const char *data() const { return m_data.get(); }

private:
    template <class Change> void publish(Change change)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            change();
        }
        m_changed.notify_all();
    }

    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity;
    std::size_t m_written = 0; // the unzipping thread's own count
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_size = 0;
    bool m_done = false;
    bool m_whole = false;
    std::size_t m_split = std::string_view::npos;
    std::atomic<bool> m_abandoned{false};
};

// A big sheet is parsed in two parts on two cores: the first while the part is being
// unzipped, the second once it is all out, on the unzipping thread. The second part's rows
// are used only when the first part's parser meets its first row exactly where the second
// began, between two rows of the first table; otherwise the first parses on, as if alone.
// A part larger than declared, or damaged, is read again in one parse, which reports it.
SheetData readInParts(const ZipPackage &package, qint64 content, quint64 declared, const ReadLimits &limits,
                      bool *halves)
{
    Unzipped unzipped(static_cast<std::size_t>(declared));
    // The first part is longer: it starts while the second is still being unzipped.
    const std::size_t target = static_cast<std::size_t>(declared * 60 / 100);
    SecondHalf second;
    std::thread worker([&] {
        const bool whole = unzipped.fill(package, content);
        const std::size_t split = whole ? rowStartFrom(unzipped.view(), target) : std::string_view::npos;
        unzipped.finish(whole, split);
        if (split != std::string_view::npos && !unzipped.abandoned())
            second.parse(package, unzipped.view(), split, limits, unzipped.abandonedFlag());
    });
    // Leaving before the explicit join below (the first part ended the read, or threw)
    // means the worker's result goes unused: it is told to stop, then waited for.
    struct Join {
        std::thread &t;
        Unzipped &unzipped;
        ~Join()
        {
            if (t.joinable()) {
                unzipped.abandon();
                t.join();
            }
        }
    } join{worker, unzipped};

    SheetBuilder sheet(package.path(), limits);
    OdsContentParser parser(sheet);
    SplitWatch watch(parser);
    XmlFeed feed(package, watch);
    watch.attach(feed);
    std::size_t fed = 0;
    Unzipped::State state{};
    for (;;) {
        state = unzipped.wait(fed, fed >= target);
        if (state.done && !state.whole)
            break;
        const std::size_t limit = !state.done                             ? std::min(state.size, target)
                                  : state.split == std::string_view::npos ? state.size
                                                                          : state.split;
        if (limit > fed) {
            const bool more = feed.feed(unzipped.data() + fed, limit - fed, false);
            fed = limit;
            if (!more)
                return sheet.take();
        } else if (state.done) {
            break;
        }
    }
    worker.join();
    if (!state.whole)
        return readStreaming(package, content, limits);
    if (state.split != std::string_view::npos) {
        watch.splitAt(state.split);
        watch.handOver(second.complete && sheet.slotsUsed() + second.sheet->slotsUsed() <= sheet.slotBudget());
    }
    feed.feed(unzipped.data() + fed, state.size - fed, true);
    if (!watch.handedOver())
        return sheet.take();
    if (halves)
        *halves = true;
    SheetData first = sheet.take();
    first.append(second.sheet->take(), static_cast<int>(parser.nextRow() - 1));
    return first;
}

} // namespace

SheetData OdsReader::readFirstSheet(const ZipPackage &package, const ReadLimits &limits, unsigned long long splitFrom,
                                    bool *halves)
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
    const quint64 declared = package.declaredSize(content);
    if (declared < splitFrom || declared == 0 || declared > kMaxBuffered)
        return readStreaming(package, content, limits);
    return readInParts(package, content, declared, limits, halves);
}
