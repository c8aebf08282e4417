#pragma once

#include "workbook/NumberFormat.h"
#include "workbook/XlsCodepage.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

// What the workbook globals substream says about the whole workbook: BIFF version, code
// page, date system, shared strings, which cell formats are dates, and where the sheets
// start. A FILEPASS record (encrypted workbook) raises XlsFileError (encrypted).
class BiffWorkbookGlobals {
public:
    struct Sheet {
        quint32 offset = 0;
        quint8 type = 0;
    };

    // defaultBiff is 8 for a "Workbook" stream and 5 for a "Book" stream; the BOF record
    // decides when it says.
    BiffWorkbookGlobals(const QByteArray &stream, int defaultBiff);

    int biffVersion() const { return m_biff; }
    bool uses1904() const { return m_1904; }
    const XlsCodepage &codepage() const { return m_codepage; }
    // Code page of 8-bit characters inside BIFF8 strings.
    const XlsCodepage &compressedCodepage() const { return m_compressed; }
    const std::vector<QString> &sharedStrings() const { return m_sst; }
    const std::vector<Sheet> &sheets() const { return m_sheets; }
    // Whether cell format `xf` shows `value` as a date or a time.
    bool isDateXf(quint32 xf, double value) const { return xf < m_dateXf.size() && m_dateXf[xf].isDate(value); }
    // Stream offset just past the globals' EOF record.
    std::size_t endOffset() const { return m_end; }

private:
    void readBof(const char *data, std::size_t size, int defaultBiff);
    void readFont(const char *data, std::size_t size);
    void readFormat(const char *data, std::size_t size);
    void readSheet(const char *data, std::size_t size);
    void markDateXfs();

    int m_biff = 8;
    bool m_1904 = false;
    XlsCodepage m_codepage;
    bool m_codepageNamed = false;
    bool m_codepageFromFont = false;
    XlsCodepage m_compressed{1200};
    std::vector<QString> m_sst;
    std::vector<Sheet> m_sheets;
    QHash<quint16, QString> m_formats;
    std::vector<quint16> m_xfFormats;
    std::vector<NumberFormat::DateRule> m_dateXf;
    std::size_t m_end = 0;
};
