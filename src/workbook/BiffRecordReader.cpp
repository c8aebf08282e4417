#include "workbook/BiffRecordReader.h"

#include "workbook/XlsByteReader.h"
#include "workbook/XlsFileError.h"

BiffRecordReader::BiffRecordReader(const QByteArray &stream, std::size_t start) : m_stream(stream), m_pos(start) {}

bool BiffRecordReader::next()
{
    const std::size_t total = static_cast<std::size_t>(m_stream.size());
    // Fewer than four bytes left is the stream's padding, not a record.
    if (m_pos > total || total - m_pos < 4)
        return false;
    const char *p = m_stream.constData() + m_pos;
    const std::size_t size = XlsByteReader::u16At(p + 2);
    if (size > total - m_pos - 4)
        throw XlsFileError::damaged("record runs past the end of the stream");
    m_record.type = XlsByteReader::u16At(p);
    m_record.data = p + 4;
    m_record.size = size;
    m_record.offset = m_pos;
    m_pos += 4 + size;
    return true;
}

int BiffRecordReader::peekType() const
{
    const std::size_t total = static_cast<std::size_t>(m_stream.size());
    if (m_pos > total || total - m_pos < 4)
        return -1;
    return XlsByteReader::u16At(m_stream.constData() + m_pos);
}
