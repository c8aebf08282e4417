#pragma once

#include <QString>
#include <QStringDecoder>
#include <cstddef>

// Decodes the 8-bit text of a workbook by the code page its CODEPAGE record names
// (Windows, DOS, Mac and East Asian code pages through Qt's converters).
class XlsCodepage {
public:
    // 1252 when the file gives none; 1200 (UTF-16) means that 8-bit text is Latin-1.
    explicit XlsCodepage(int codepage = 1252);

    QString decode(const char *data, std::size_t size) const;
    bool isLatin1() const { return m_latin1; }

    static const char *converterName(int codepage);
    // The Windows code page of a FONT record's character set; 0 for the Western, symbol
    // and OEM sets, which say nothing beyond the default.
    static int fromCharset(int charset);

private:
    bool m_latin1 = false;
    mutable QStringDecoder m_decoder;
};
