#include "WorkbookTestZip.h"
#include "external/workbook/WorkbookEngine.h"
#include "external/workbook/WorkbookFile.h"
#include "external/workbook/XlsxSharedStrings.h"
#include "external/workbook/ZipPackage.h"
#include "platform/AppError.h"

#include <QTemporaryDir>
#include <QtTest>

// The xlsx reader on packages written part by part, for the exact XML a case needs.
class XlsxReaderTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_count = 0;

    static constexpr const char *kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

    static QByteArray relationships(const QList<QByteArray> &typeAndTarget)
    {
        QByteArray items;
        for (int i = 0; i + 1 < typeAndTarget.size(); i += 2)
            items += "<Relationship Id=\"rId" + QByteArray::number(i) + "\" Type=\"http://schemas.openxmlformats.org/"
                     "officeDocument/2006/relationships/" + typeAndTarget[i] + "\" Target=\"" + typeAndTarget[i + 1] + "\"/>";
        return "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + items
               + "</Relationships>";
    }

    // Styles: xf 0 General, 1 built-in 14 (date), 2 custom 164, 3 built-in 2 (0.00).
    static QByteArray stylesWith(const QByteArray &customCode)
    {
        return QByteArray("<styleSheet xmlns=\"") + kMain + "\"><numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\""
               + customCode + "\"/></numFmts><cellXfs count=\"4\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/>"
                              "<xf numFmtId=\"164\"/><xf numFmtId=\"2\"/></cellXfs></styleSheet>";
    }

    QString write(const WorkbookTestZip::Parts &parts)
    {
        const QString path = m_dir.filePath(QStringLiteral("libro%1.xlsx").arg(++m_count));
        if (!WorkbookTestZip::write(path, parts))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QString writeXlsx(const QByteArray &sheetData, const QByteArray &sharedStrings = {},
                      const QByteArray &styles = stylesWith("0.0"), const QByteArray &workbookPr = {})
    {
        return write({
            {"[Content_Types].xml", "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
            {"_rels/.rels", relationships({"officeDocument", "xl/workbook.xml"})},
            {"xl/workbook.xml", QByteArray("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"http://schemas.openxmlformats.org/"
                                "officeDocument/2006/relationships\">" + workbookPr
                                + "<sheets><sheet name=\"Hoja1\" sheetId=\"1\" r:id=\"rId0\"/></sheets></workbook>"},
            {"xl/_rels/workbook.xml.rels", relationships({"worksheet", "worksheets/sheet1.xml", "styles", "styles.xml",
                                                          "sharedStrings", "sharedStrings.xml"})},
            {"xl/worksheets/sheet1.xml", QByteArray("<worksheet xmlns=\"") + kMain + "\"><sheetData>" + sheetData
                                             + "</sheetData></worksheet>"},
            {"xl/styles.xml", styles},
            {"xl/sharedStrings.xml", QByteArray("<sst xmlns=\"") + kMain + "\">" + sharedStrings + "</sst>"},
        });
    }

    static SheetData read(const QString &path) { return WorkbookFile::readFirstSheet(path, WorkbookEngine::defaultLimits()); }

private slots:
    void valuesOfEveryKind()
    {
        const SheetData s = read(writeXlsx(
            "<row r=\"1\"><c r=\"A1\"><v>1234567.891</v></c><c r=\"B1\" s=\"1\"><v>45292.5</v></c>"
            "<c r=\"C1\" t=\"b\"><v>1</v></c><c r=\"D1\" t=\"b\"><v>0</v></c>"
            "<c r=\"E1\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c></row>"
            "<row r=\"2\"><c r=\"A2\"><f>A1*2</f><v>2469135.782</v></c>"
            "<c r=\"B2\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c>"
            "<c r=\"C2\"><f>A1</f></c>" // no cached result: nothing to show
            "<c r=\"D2\" s=\"3\"><v>-0.5</v></c><c r=\"E2\" t=\"d\"><v>2024-01-01T06:00:00</v></c></row>"
            "<row r=\"3\"><c r=\"A3\" s=\"1\"><v>nan</v></c><c r=\"B3\"><v>inf</v></c><c r=\"C3\" s=\"1\"><v>-inf</v></c>"
            "<c r=\"D3\" s=\"1\"><v>1e300</v></c><c r=\"E3\" s=\"1\"><v>2958465</v></c></row>"));
        using T = CellValue::Type;
        QCOMPARE(s.at(1, 1).number, 1234567.891);
        QCOMPARE(s.at(1, 2).type, T::DateTime);
        QCOMPARE(s.at(1, 2).number, 45292.5);
        QCOMPARE(s.at(1, 3).type, T::Boolean);
        QCOMPARE(s.at(1, 3).number, 1.0);
        QCOMPARE(s.at(1, 4).number, 0.0);
        QCOMPARE(s.at(1, 5).type, T::Error);
        QCOMPARE(s.at(1, 5).text, QStringLiteral("#DIV/0!"));
        QCOMPARE(s.at(2, 1).number, 2469135.782);
        QCOMPARE(s.at(2, 2).text, QStringLiteral("ab"));
        QCOMPARE(s.at(2, 3).type, T::Empty);
        QCOMPARE(s.at(2, 4).type, T::Number);
        QCOMPARE(s.at(2, 4).number, -0.5);
        QCOMPARE(s.at(2, 5).type, T::DateTime);
        QCOMPARE(s.at(2, 5).number, 45292.25);
        // Numbers no cell can hold are left out; past year 9999 a date stays a number.
        QCOMPARE(s.at(3, 1).type, T::Empty);
        QCOMPARE(s.at(3, 2).type, T::Empty);
        QCOMPARE(s.at(3, 3).type, T::Empty);
        QCOMPARE(s.at(3, 4).type, T::Number);
        QCOMPARE(s.at(3, 4).number, 1e300);
        QCOMPARE(s.at(3, 5).type, T::DateTime);
    }

    void sharedAndInlineStrings()
    {
        const SheetData s = read(writeXlsx(
            "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
            "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>99</v></c></row>"
            "<row r=\"3\"><c r=\"B3\" t=\"inlineStr\"><is><t>Arandela</t></is></c>"
            "<c r=\"C3\" t=\"inlineStr\"><is><r><t>Rich </t></r><r><t>run</t></r><rPh><t>x</t></rPh></is></c>"
            "<c r=\"D3\" t=\"inlineStr\"><is><t>uno_x000D_dos_x0009_tres_x005F_</t></is></c>"
            "<c r=\"E3\" t=\"inlineStr\"><is><t>uno\r\ndos</t></is></c></row>",
            "<si><t xml:space=\"preserve\">Tornillo\tM6\nlargo</t></si>"
            "<si><r><rPr><b/></rPr><t>Caño </t></r><r><t>ñandú</t></r></si>"
            "<si><t>東京</t><rPh sb=\"0\" eb=\"2\"><t>トウキョウ</t></rPh></si>"));
        QCOMPARE(s.at(1, 1).text, QStringLiteral("Tornillo\tM6\nlargo"));
        QCOMPARE(s.at(1, 2).text, QStringLiteral("Caño ñandú"));
        QCOMPARE(s.at(1, 3).text, QStringLiteral("東京")); // phonetic runs left out
        QCOMPARE(s.at(1, 4).type, CellValue::Type::Empty); // index past the table
        QCOMPARE(s.at(3, 2).text, QStringLiteral("Arandela"));
        QCOMPARE(s.at(3, 3).text, QStringLiteral("Rich run"));
        QCOMPARE(s.at(3, 4).text, QStringLiteral("uno\rdos\ttres_"));
        // XML itself turns a raw CR LF into a line feed.
        QCOMPARE(s.at(3, 5).text, QStringLiteral("uno\ndos"));
        QCOMPARE(s.rowCount(), 3);
    }

    void sharedStringTableHasAMemoryBudget()
    {
        // Millions of tiny strings fit in a small package; each costs far more in memory.
        const QString path = writeXlsx("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>999</v></c></row>",
                                       QByteArray("<si><t>ab</t></si>").repeated(1000));
        const ZipPackage package(path);
        const qint64 index = package.find("xl/sharedStrings.xml");
        QCOMPARE(XlsxSharedStrings(package, index).size(), std::size_t(1000));
        try {
            XlsxSharedStrings(package, index, 50000);
            QFAIL("the table went past its budget");
        } catch (const AppError &e) {
            QCOMPARE(e.description(), QStringLiteral("El archivo %1 es demasiado grande para leerlo").arg(path));
        }
        QCOMPARE(read(path).at(1, 1).text, QStringLiteral("ab"));
    }

    void customFormatsDecideDates_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<bool>("isDate");
        QTest::newRow("day month year") << QByteArray("dd/mm/yyyy") << true;
        QTest::newRow("time") << QByteArray("h:mm AM/PM") << true;
        QTest::newRow("elapsed hours") << QByteArray("[h]:mm") << true;
        QTest::newRow("colour and locale") << QByteArray("[$-F800]dddd\\,\\ mmmm\\ dd\\,\\ yyyy") << true;
        QTest::newRow("quoted letters") << QByteArray("0.00 &quot;days&quot;") << false;
        QTest::newRow("red bracket") << QByteArray("[Red]0.00") << false;
        QTest::newRow("escaped letter") << QByteArray("0\\d") << false;
        QTest::newRow("general") << QByteArray("General") << false;
        QTest::newRow("currency") << QByteArray("[$$-409]#,##0.00") << false;
    }

    void customFormatsDecideDates()
    {
        QFETCH(QByteArray, code);
        QFETCH(bool, isDate);
        const SheetData s = read(writeXlsx("<row r=\"1\"><c r=\"A1\" s=\"2\"><v>40000</v></c></row>", {}, stylesWith(code)));
        QCOMPARE(s.at(1, 1).type, isDate ? CellValue::Type::DateTime : CellValue::Type::Number);
        QCOMPARE(s.at(1, 1).number, 40000.0);
    }

    void builtInFormatsDecideDates_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("isDate");
        QTest::newRow("14 date") << 14 << true;
        QTest::newRow("27 East Asian date") << 27 << true;
        QTest::newRow("36 East Asian date") << 36 << true;
        QTest::newRow("50 East Asian date") << 50 << true;
        QTest::newRow("58 East Asian date") << 58 << true;
        QTest::newRow("37 accounting") << 37 << false;
        QTest::newRow("49 text") << 49 << false;
    }

    void builtInFormatsDecideDates()
    {
        QFETCH(int, id);
        QFETCH(bool, isDate);
        const QByteArray styles = QByteArray("<styleSheet xmlns=\"") + kMain + "\"><cellXfs><xf numFmtId=\""
                                  + QByteArray::number(id) + "\"/></cellXfs></styleSheet>";
        const SheetData s = read(writeXlsx("<row r=\"1\"><c r=\"A1\" s=\"0\"><v>40000</v></c></row>", {}, styles));
        QCOMPARE(s.at(1, 1).type, isDate ? CellValue::Type::DateTime : CellValue::Type::Number);
    }

    void dates1904CountFrom1900()
    {
        const SheetData s = read(writeXlsx("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>0</v></c><c r=\"B1\"><v>0</v></c></row>",
                                           {}, stylesWith("0.0"), "<workbookPr date1904=\"1\"/>"));
        // Day 0 of 1904 is 1904-01-01, serial 1462 of the 1900 system; plain numbers stay.
        QCOMPARE(s.at(1, 1).number, 1462.0);
        QCOMPARE(s.at(1, 2).number, 0.0);
    }

    void cellsWithoutReferencesFollowOnAndLimitsHold()
    {
        const QString path = writeXlsx("<row><c><v>1</v></c><c><v>2</v></c></row>"
                                       "<row><c r=\"C2\"><v>3</v></c><c><v>4</v></c></row>"
                                       "<row r=\"70000\"><c r=\"A70000\"><v>5</v></c></row>"
                                       "<row r=\"70001\"><c r=\"XFE70001\"><v>6</v></c></row>");
        const SheetData s = read(path);
        QCOMPARE(s.at(1, 2).number, 2.0);
        QCOMPARE(s.at(2, 3).number, 3.0);
        QCOMPARE(s.at(2, 4).number, 4.0);
        QCOMPARE(s.rowCount(), 2); // rows past 65,536 are left out
        const SheetData all = WorkbookFile::readFirstSheet(path, ReadLimits{});
        QCOMPARE(all.at(70000, 1).number, 5.0);
        QCOMPARE(all.rowCount(), 70000); // column XFE is past the last one
    }

    void damagedPackagesAreRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("bad sheet xml") << writeXlsx("<row r=\"1\"><c r=\"A1\"><v>1</v></row>")
                                       << QStringLiteral("está dañado o incompleto y no se puede leer");
        QTest::newRow("no workbook part") << write({{"docProps/app.xml", "<Properties/>"}})
                                          << QStringLiteral("no es un libro de cálculo que se pueda leer");
        QTest::newRow("entity expansion")
            << write({{"xl/workbook.xml", QByteArray("<!DOCTYPE w [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;\">]>"
                                                     "<workbook xmlns=\"") + kMain + "\">&b;</workbook>"}})
            << QStringLiteral("contiene declaraciones de entidades XML y no se lee por seguridad");
    }

    void damagedPackagesAreRefused()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        try {
            read(path);
            QFAIL("the package was read");
        } catch (const AppError &e) {
            QCOMPARE(e.description(), QStringLiteral("El archivo %1 %2").arg(path, reason));
        }
    }
};

QTEST_GUILESS_MAIN(XlsxReaderTest)
#include "XlsxReader_test.moc"
