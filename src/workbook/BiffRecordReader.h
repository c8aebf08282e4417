#pragma once

#include <QByteArray>
#include <cstddef>

// One record of a BIFF stream: type, payload and the stream offset of its header.
struct BiffRecord {
    quint16 type = 0;
    const char *data = nullptr;
    std::size_t size = 0;
    std::size_t offset = 0;
};

// Walks the records of a BIFF stream (4-byte header: type, payload length). A record whose
// payload runs past the end of the stream raises XlsFileError (damaged).
class BiffRecordReader {
public:
    static constexpr quint16 kContinue = 0x003C;

    explicit BiffRecordReader(const QByteArray &stream, std::size_t start = 0);

    // Moves to the next record; false at the end of the stream.
    bool next();
    const BiffRecord &record() const { return m_record; }
    // Type of the record after the current one, or -1 when there is none.
    int peekType() const;
    // Position of the record that next() would read.
    std::size_t position() const { return m_pos; }

private:
    const QByteArray &m_stream;
    std::size_t m_pos;
    BiffRecord m_record;
};
