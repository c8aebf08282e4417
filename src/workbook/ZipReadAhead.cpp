#include "workbook/ZipReadAhead.h"

#include <zip.h>

namespace {
constexpr std::size_t kChunk = 256 * 1024;
// Chunks waiting for the parser: enough to ride out a slow stretch, little memory.
constexpr std::size_t kAhead = 4;
} // namespace

ZipReadAhead::ZipReadAhead(zip_file_t *file, quint64 maxBytes)
    : m_file(file), m_maxBytes(maxBytes), m_thread(&ZipReadAhead::produce, this)
{
}

ZipReadAhead::~ZipReadAhead()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool ZipReadAhead::next(std::vector<char> &chunk)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_ready.empty() || m_done; });
    if (m_ready.empty())
        return false;
    if (chunk.capacity() > 0)
        m_spare.push_back(std::move(chunk));
    chunk = std::move(m_ready.front());
    m_ready.pop_front();
    lock.unlock();
    m_changed.notify_all();
    return true;
}

ZipReadAhead::Failure ZipReadAhead::failure() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_failure;
}

bool ZipReadAhead::takeFreeBuffer(std::vector<char> &buffer)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_ready.size() < kAhead || m_cancelled; });
    if (m_cancelled)
        return false;
    if (!m_spare.empty()) {
        buffer = std::move(m_spare.back());
        m_spare.pop_back();
    }
    buffer.resize(kChunk);
    return true;
}

void ZipReadAhead::finish(Failure failure)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_failure = failure;
        m_done = true;
    }
    m_changed.notify_all();
}

void ZipReadAhead::produce()
{
    quint64 total = 0;
    for (;;) {
        std::vector<char> buffer;
        if (!takeFreeBuffer(buffer))
            return finish(Failure::None);
        const zip_int64_t got = zip_fread(m_file, buffer.data(), buffer.size());
        if (got < 0)
            return finish(Failure::Damaged);
        if (got == 0)
            return finish(Failure::None);
        // The declared size may lie; count what really comes out.
        total += static_cast<quint64>(got);
        if (total > m_maxBytes)
            return finish(Failure::TooLarge);
        buffer.resize(static_cast<std::size_t>(got));
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_ready.push_back(std::move(buffer));
        }
        m_changed.notify_all();
    }
}
