#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

typedef struct zip_file zip_file_t;

// Inflates one part of a zip file on a second thread while the caller parses what has
// already come out: on two cores the unzipping hides behind the parse. Only this object
// touches the part while it lives; the zip file itself must outlive it.
class ZipReadAhead {
public:
    enum class Failure { None, Damaged, TooLarge };

    ZipReadAhead(zip_file_t *file, quint64 maxBytes);
    // Stops the reading thread and waits for it.
    ~ZipReadAhead();
    ZipReadAhead(const ZipReadAhead &) = delete;
    ZipReadAhead &operator=(const ZipReadAhead &) = delete;

    // The next chunk into `chunk` (its old buffer is reused); false at the end of the part
    // or once reading failed (see failure()).
    bool next(std::vector<char> &chunk);
    Failure failure() const;

private:
    void produce();
    bool takeFreeBuffer(std::vector<char> &buffer);
    void finish(Failure failure);

    zip_file_t *m_file;
    quint64 m_maxBytes;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<char>> m_ready;
    std::vector<std::vector<char>> m_spare;
    bool m_done = false;
    bool m_cancelled = false;
    Failure m_failure = Failure::None;
    std::thread m_thread;
};
