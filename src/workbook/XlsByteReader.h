#pragma once

#include <QtGlobal>
#include <cstddef>

// Little-endian reads over a byte range; every read is bounds-checked and a read past the
// end raises XlsFileError (damaged), so no malformed record can read outside its data.
class XlsByteReader {
public:
    XlsByteReader(const char *data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t size() const { return m_size; }
    std::size_t pos() const { return m_pos; }
    std::size_t remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos >= m_size; }
    const char *data() const { return m_data; }

    void seek(std::size_t pos);
    void skip(std::size_t count);
    quint8 u8();
    quint16 u16();
    quint32 u32();
    double f64();
    // Pointer to the next count bytes, which the read moves past.
    const char *take(std::size_t count);

    static quint16 u16At(const char *p);
    static quint32 u32At(const char *p);
    static double f64At(const char *p);

private:
    void need(std::size_t count) const;

    const char *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};
