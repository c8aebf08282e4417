#include "external/workbook/OdsReader.h"
#include "external/workbook/WorkbookEngine.h"
#include "external/workbook/ZipPackage.h"
#include "platform/AppError.h"

#include <QTemporaryDir>
#include <QtTest>
#include <zip.h>

// OpenDocument files written by the test as zip packages.
class OdsReaderTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeOds(const QByteArray &table, const QByteArray &manifestExtra = QByteArray())
    {
        static int n = 0;
        const QString path = m_dir.filePath(QStringLiteral("t%1.ods").arg(++n));
        static QList<QByteArray> keep; // libzip reads the buffers at close
        keep << QByteArray("application/vnd.oasis.opendocument.spreadsheet")
             << ("<?xml version=\"1.0\"?><office:document-content "
                 "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                 "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                 "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                 "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\">"
                 "<office:body><office:spreadsheet>" + table
                 + "<table:table table:name=\"Second\"><table:table-row><table:table-cell office:value-type=\"string\">"
                   "<text:p>second sheet</text:p></table:table-cell></table:table-row></table:table>"
                   "</office:spreadsheet></office:body></office:document-content>")
             << ("<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
                 + manifestExtra + "</manifest:manifest>");
        int error = 0;
        zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        const char *names[] = {"mimetype", "content.xml", "META-INF/manifest.xml"};
        for (int i = 0; i < 3; ++i) {
            const QByteArray &b = keep[keep.size() - 3 + i];
            zip_file_add(z, names[i], zip_source_buffer(z, b.constData(), b.size(), 0), ZIP_FL_OVERWRITE);
        }
        zip_close(z);
        return path;
    }

    SheetData read(const QString &path) { return OdsReader::readFirstSheet(ZipPackage(path), WorkbookEngine::defaultLimits()); }

private slots:
    void valueTypesAndText()
    {
        const SheetData s = read(writeOds(
            "<table:table table:name=\"First\"><table:table-row>"
            "<table:table-cell office:value-type=\"float\" office:value=\"1234.5\"><text:p>1.234,50</text:p></table:table-cell>"
            "<table:table-cell office:value-type=\"percentage\" office:value=\"0.25\"><text:p>25%</text:p></table:table-cell>"
            "<table:table-cell office:value-type=\"date\" office:date-value=\"2023-03-15T18:00:00\"/>"
            "<table:table-cell office:value-type=\"time\" office:time-value=\"PT10H10M10S\"/>"
            "<table:table-cell office:value-type=\"boolean\" office:boolean-value=\"true\"/>"
            "<table:table-cell table:formula=\"of:=1/0\" office:value-type=\"float\" office:value=\"0\" "
            "calcext:value-type=\"error\"><text:p>#DIV/0!</text:p></table:table-cell>"
            "</table:table-row><table:table-row>"
            "<table:table-cell office:value-type=\"string\"><text:p>a<text:s text:c=\"3\"/>b<text:tab/>c</text:p>"
            "<text:p>second<text:line-break/>line</text:p>"
            "<office:annotation><text:p>a comment</text:p></office:annotation></table:table-cell>"
            "<table:covered-table-cell office:value-type=\"string\"><text:p><text:span>covered</text:span></text:p>"
            "</table:covered-table-cell></table:table-row></table:table>"));
        QCOMPARE(s.at(1, 1).type, CellValue::Type::Number);
        QCOMPARE(s.at(1, 1).number, 1234.5);
        QCOMPARE(s.at(1, 2).number, 0.25);
        QCOMPARE(s.at(1, 3).type, CellValue::Type::DateTime);
        QCOMPARE(s.at(1, 3).number, 45000.75);
        QCOMPARE(s.at(1, 4).type, CellValue::Type::DateTime);
        QVERIFY(qAbs(s.at(1, 4).number - (10 * 3600 + 610) / 86400.0) < 1e-9);
        QCOMPARE(s.at(1, 5).type, CellValue::Type::Boolean);
        QCOMPARE(s.at(1, 6).type, CellValue::Type::Error);
        QCOMPARE(s.at(1, 6).text, QStringLiteral("#DIV/0!"));
        QCOMPARE(s.at(2, 1).text, QStringLiteral("a   b\tc\nsecond\nline"));
        QCOMPARE(s.at(2, 2).text, QStringLiteral("covered"));
        QCOMPARE(s.rowCount(), 2);
    }

    void repeatsAreBoundedAndEmptyOnesCostNothing()
    {
        const SheetData s = read(writeOds(
            "<table:table><table:table-row table:number-rows-repeated=\"3\">"
            "<table:table-cell table:number-columns-repeated=\"2\" office:value-type=\"string\"><text:p>x</text:p></table:table-cell>"
            "<table:table-cell table:number-columns-repeated=\"16000\"/>"
            "<table:table-cell office:value-type=\"string\"><text:p>end</text:p></table:table-cell></table:table-row>"
            "<table:table-row table:number-rows-repeated=\"1048000\"><table:table-cell table:number-columns-repeated=\"1024\"/></table:table-row>"
            "<table:table-row><table:table-cell><text:p>never</text:p></table:table-cell></table:table-row>"
            "</table:table>"));
        QCOMPARE(s.at(3, 2).text, QStringLiteral("x"));
        QVERIFY(s.at(4, 1).isEmpty());
        QCOMPARE(s.at(1, 16003).text, QStringLiteral("end"));
        QCOMPARE(s.rowCount(), 3); // row 1,048,004 lies beyond 65,536
    }

    void hugeRepeatedValueIsRefused()
    {
        const QString path = writeOds(
            "<table:table><table:table-row table:number-rows-repeated=\"999999999\">"
            "<table:table-cell table:number-columns-repeated=\"999999999\"><text:p>X</text:p></table:table-cell>"
            "</table:table-row></table:table>");
        try {
            read(path);
            QFAIL("a billion cells were accepted");
        } catch (const AppError &e) {
            QCOMPARE(e.description(), QStringLiteral("El archivo %1 es demasiado grande para leerlo").arg(path));
        }
    }

    void encryptedIsSaidSo()
    {
        const QString path = writeOds("<table:table/>",
                                      "<manifest:file-entry manifest:full-path=\"content.xml\">"
                                      "<manifest:encryption-data/></manifest:file-entry>");
        try {
            read(path);
            QFAIL("an encrypted document was read");
        } catch (const AppError &e) {
            QCOMPARE(e.description(),
                     QStringLiteral("El archivo %1 está cifrado (protegido con contraseña) y no se puede leer").arg(path));
        }
    }
};

QTEST_GUILESS_MAIN(OdsReaderTest)
#include "OdsReader_test.moc"
