#include "workbook/XlsCodepage.h"

#include <QByteArrayView>

namespace {
struct CodepageName {
    int codepage;
    const char *name;
};

constexpr CodepageName kNames[] = {
    {437, "IBM437"},
    {737, "IBM737"},
    {775, "IBM775"},
    {850, "IBM850"},
    {852, "IBM852"},
    {855, "IBM855"},
    {857, "IBM857"},
    {860, "IBM860"},
    {861, "IBM861"},
    {862, "IBM862"},
    {863, "IBM863"},
    {864, "IBM864"},
    {865, "IBM865"},
    {866, "IBM866"},
    {869, "IBM869"},
    {874, "windows-874"},
    {932, "Shift_JIS"},
    {936, "GBK"},
    {949, "windows-949"},
    {950, "Big5"},
    {1250, "windows-1250"},
    {1251, "windows-1251"},
    {1252, "windows-1252"},
    {1253, "windows-1253"},
    {1254, "windows-1254"},
    {1255, "windows-1255"},
    {1256, "windows-1256"},
    {1257, "windows-1257"},
    {1258, "windows-1258"},
    {10000, "macintosh"},
    {10006, "x-mac-greek"},
    {10007, "x-mac-cyrillic"},
    {10029, "x-mac-centraleurroman"},
    {10079, "macintosh"},
    {10081, "x-mac-turkish"},
    {32768, "macintosh"},
    {32769, "windows-1252"},
    {65001, "UTF-8"},
};

constexpr int kCharsetCodepages[][2] = {
    {128, 932},  {129, 949},  {134, 936},  {136, 950},  {161, 1253}, {162, 1254}, {163, 1258},
    {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250},
};

bool isAscii(const char *data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    }
    return true;
}
} // namespace

const char *XlsCodepage::converterName(int codepage)
{
    for (const auto &entry : kNames) {
        if (entry.codepage == codepage)
            return entry.name;
    }
    return nullptr;
}

int XlsCodepage::fromCharset(int charset)
{
    for (const auto &entry : kCharsetCodepages) {
        if (entry[0] == charset)
            return entry[1];
    }
    return 0;
}

XlsCodepage::XlsCodepage(int codepage)
{
    // 367 is plain ASCII; 1200 marks a Unicode workbook whose 8-bit strings are Latin-1.
    if (codepage == 367 || codepage == 1200 || codepage == 21010) {
        m_latin1 = true;
        return;
    }
    const char *name = converterName(codepage);
    m_decoder = QStringDecoder(name ? name : "windows-1252", QStringConverter::Flag::Stateless);
    if (!m_decoder.isValid())
        m_decoder = QStringDecoder("windows-1252", QStringConverter::Flag::Stateless);
    m_latin1 = !m_decoder.isValid();
}

QString XlsCodepage::decode(const char *data, std::size_t size) const
{
    if (m_latin1 || isAscii(data, size))
        return QString::fromLatin1(data, static_cast<qsizetype>(size));
    return m_decoder.decode(QByteArrayView(data, static_cast<qsizetype>(size)));
}
