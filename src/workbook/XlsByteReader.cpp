#include "workbook/XlsByteReader.h"

#include "workbook/XlsFileError.h"

#include <QtEndian>
#include <cstring>

void XlsByteReader::need(std::size_t count) const
{
    if (count > m_size - m_pos)
        throw XlsFileError::damaged("read past the end of a record");
}

void XlsByteReader::seek(std::size_t pos)
{
    if (pos > m_size)
        throw XlsFileError::damaged("seek past the end of a record");
    m_pos = pos;
}

void XlsByteReader::skip(std::size_t count)
{
    need(count);
    m_pos += count;
}

quint8 XlsByteReader::u8()
{
    need(1);
    return static_cast<quint8>(m_data[m_pos++]);
}

quint16 XlsByteReader::u16()
{
    need(2);
    const quint16 v = u16At(m_data + m_pos);
    m_pos += 2;
    return v;
}

quint32 XlsByteReader::u32()
{
    need(4);
    const quint32 v = u32At(m_data + m_pos);
    m_pos += 4;
    return v;
}

double XlsByteReader::f64()
{
    need(8);
    const double v = f64At(m_data + m_pos);
    m_pos += 8;
    return v;
}

const char *XlsByteReader::take(std::size_t count)
{
    need(count);
    const char *p = m_data + m_pos;
    m_pos += count;
    return p;
}

quint16 XlsByteReader::u16At(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 XlsByteReader::u32At(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

double XlsByteReader::f64At(const char *p)
{
    const quint64 bits = qFromLittleEndian<quint64>(p);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}
