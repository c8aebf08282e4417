#include "WorkbookTestZip.h"
#include "external/workbook/WorkbookEngine.h"
#include "external/workbook/WorkbookFile.h"
#include "external/workbook/XlsxSharedStrings.h"
#include "external/workbook/ZipPackage.h"
#include "platform/AppError.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The xlsx reader on packages the test writes: by hand, part by part, for the exact
// XML a case needs, and through python3-xlsxwriter for what Excel-like writers produce.
class XlsxReaderTest : public QObject {
    Q_OBJECT

private slots:
    void valuesOfEveryKind();
    void sharedStringsJoinRunsWithoutPhonetics();
    void inlineStringsAndEscapes();
    void sharedStringTableHasAMemoryBudget();
    void customFormatsDecideDates_data();
    void customFormatsDecideDates();
    void dates1904CountFrom1900();
    void numbersNoCellHoldsAreLeftOut();
    void cellsWithoutReferencesFollowOnAndLimitsHold();
    void xlsxwriterWorkbook();
    void damagedPackagesAreRefused_data();
    void damagedPackagesAreRefused();
    void missingFileIsReported();

private:
    QString writeXlsx(const QByteArray &sheetData, const QByteArray &sharedStrings = {},
                      const QByteArray &styles = {}, const QByteArray &workbookPr = {});
    SheetData read(const QString &path);
    QString refusal(const QString &path);

    QTemporaryDir m_dir;
    int m_count = 0;
};

namespace {

const QByteArray kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const QByteArray kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

QByteArray relationship(const char *id, const char *type, const char *target)
{
    return QByteArray("<Relationship Id=\"") + id + "\" Type=\"" + kRel + '/' + type + "\" Target=\"" + target
           + "\"/>";
}

QByteArray relationships(const QByteArray &items)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           + items + "</Relationships>";
}

// Styles: xf 0 General, 1 built-in 14 (date), 2 custom 164, 3 built-in 2 (0.00).
QByteArray stylesWith(const QByteArray &customCode)
{
    return "<styleSheet xmlns=\"" + kMain + "\"><numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\""
           + customCode + "\"/></numFmts><cellXfs count=\"4\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/>"
                          "<xf numFmtId=\"164\"/><xf numFmtId=\"2\"/></cellXfs></styleSheet>";
}

} // namespace

QString XlsxReaderTest::writeXlsx(const QByteArray &sheetData, const QByteArray &sharedStrings,
                                  const QByteArray &styles, const QByteArray &workbookPr)
{
    QByteArray workbookRels = relationship("rId1", "worksheet", "worksheets/sheet1.xml")
                              + relationship("rId2", "styles", "styles.xml");
    WorkbookTestZip::Parts parts{
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {"_rels/.rels", relationships(relationship("rId1", "officeDocument", "xl/workbook.xml"))},
        {"xl/workbook.xml", "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRel + "\">" + workbookPr
                                + "<sheets><sheet name=\"Hoja1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/worksheets/sheet1.xml",
         "<worksheet xmlns=\"" + kMain + "\"><sheetData>" + sheetData + "</sheetData></worksheet>"},
        {"xl/styles.xml", styles.isEmpty() ? stylesWith("0.0") : styles},
    };
    if (!sharedStrings.isEmpty()) {
        workbookRels += relationship("rId3", "sharedStrings", "sharedStrings.xml");
        parts.push_back({"xl/sharedStrings.xml", "<sst xmlns=\"" + kMain + "\">" + sharedStrings + "</sst>"});
    }
    parts.push_back({"xl/_rels/workbook.xml.rels", relationships(workbookRels)});
    const QString path = m_dir.filePath(QStringLiteral("libro%1.xlsx").arg(++m_count));
    if (!WorkbookTestZip::write(path, parts))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

SheetData XlsxReaderTest::read(const QString &path)
{
    return WorkbookFile::readFirstSheet(path, WorkbookEngine::defaultLimits());
}

QString XlsxReaderTest::refusal(const QString &path)
{
    try {
        read(path);
    } catch (const AppError &e) {
        return e.description();
    }
    return QStringLiteral("(read)");
}

void XlsxReaderTest::valuesOfEveryKind()
{
    const SheetData sheet = read(writeXlsx(
        "<row r=\"1\"><c r=\"A1\"><v>1234567.891</v></c><c r=\"B1\" s=\"1\"><v>45292.5</v></c>"
        "<c r=\"C1\" t=\"b\"><v>1</v></c><c r=\"D1\" t=\"b\"><v>0</v></c>"
        "<c r=\"E1\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c></row>"
        "<row r=\"2\"><c r=\"A2\"><f>A1*2</f><v>2469135.782</v></c>"
        "<c r=\"B2\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c>"
        "<c r=\"C2\"><f>A1</f></c>" // no cached result: nothing to show
        "<c r=\"D2\" s=\"3\"><v>-0.5</v></c><c r=\"E2\" t=\"d\"><v>2024-01-01T06:00:00</v></c></row>"));
    QCOMPARE(sheet.at(1, 1).type, CellValue::Type::Number);
    QCOMPARE(sheet.at(1, 1).number, 1234567.891);
    QCOMPARE(sheet.at(1, 2).type, CellValue::Type::DateTime);
    QCOMPARE(sheet.at(1, 2).number, 45292.5);
    QCOMPARE(sheet.at(1, 3).type, CellValue::Type::Boolean);
    QCOMPARE(sheet.at(1, 3).number, 1.0);
    QCOMPARE(sheet.at(1, 4).number, 0.0);
    QCOMPARE(sheet.at(1, 5).type, CellValue::Type::Error);
    QCOMPARE(sheet.at(1, 5).text, QStringLiteral("#DIV/0!"));
    QCOMPARE(sheet.at(2, 1).number, 2469135.782);
    QCOMPARE(sheet.at(2, 2).text, QStringLiteral("ab"));
    QCOMPARE(sheet.at(2, 3).type, CellValue::Type::Empty);
    QCOMPARE(sheet.at(2, 4).type, CellValue::Type::Number);
    QCOMPARE(sheet.at(2, 4).number, -0.5);
    QCOMPARE(sheet.at(2, 5).type, CellValue::Type::DateTime);
    QCOMPARE(sheet.at(2, 5).number, 45292.25);
}

void XlsxReaderTest::sharedStringsJoinRunsWithoutPhonetics()
{
    const SheetData sheet = read(writeXlsx(
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
        "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>99</v></c></row>",
        "<si><t xml:space=\"preserve\">Tornillo\tM6\nlargo</t></si>"
        "<si><r><rPr><b/></rPr><t>Caño </t></r><r><t>ñandú</t></r></si>"
        "<si><t>東京</t><rPh sb=\"0\" eb=\"2\"><t>トウキョウ</t></rPh></si>"));
    QCOMPARE(sheet.at(1, 1).text, QStringLiteral("Tornillo\tM6\nlargo"));
    QCOMPARE(sheet.at(1, 2).text, QStringLiteral("Caño ñandú"));
    QCOMPARE(sheet.at(1, 3).text, QStringLiteral("東京"));
    // An index past the table is no value rather than a crash.
    QCOMPARE(sheet.at(1, 4).type, CellValue::Type::Empty);
}

void XlsxReaderTest::inlineStringsAndEscapes()
{
    const SheetData sheet = read(writeXlsx(
        "<row r=\"3\"><c r=\"B3\" t=\"inlineStr\"><is><t>Arandela</t></is></c>"
        "<c r=\"C3\" t=\"inlineStr\"><is><r><t>Rich </t></r><r><t>run</t></r>"
        "<rPh><t>x</t></rPh></is></c>"
        "<c r=\"D3\" t=\"inlineStr\"><is><t>uno_x000D_dos_x0009_tres_x005F_</t></is></c>"
        "<c r=\"E3\" t=\"inlineStr\"><is><t>uno\r\ndos</t></is></c></row>"));
    QCOMPARE(sheet.at(3, 2).text, QStringLiteral("Arandela"));
    QCOMPARE(sheet.at(3, 3).text, QStringLiteral("Rich run"));
    QCOMPARE(sheet.at(3, 4).text, QStringLiteral("uno\rdos\ttres_"));
    // XML itself turns a raw CR LF into a line feed.
    QCOMPARE(sheet.at(3, 5).text, QStringLiteral("uno\ndos"));
    QCOMPARE(sheet.rowCount(), 3);
    QCOMPARE(sheet.at(1, 1).type, CellValue::Type::Empty);
}

void XlsxReaderTest::sharedStringTableHasAMemoryBudget()
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

void XlsxReaderTest::customFormatsDecideDates_data()
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

void XlsxReaderTest::customFormatsDecideDates()
{
    QFETCH(QByteArray, code);
    QFETCH(bool, isDate);
    const SheetData sheet = read(writeXlsx("<row r=\"1\"><c r=\"A1\" s=\"2\"><v>40000</v></c></row>", {},
                                           stylesWith(code)));
    QCOMPARE(sheet.at(1, 1).type, isDate ? CellValue::Type::DateTime : CellValue::Type::Number);
    QCOMPARE(sheet.at(1, 1).number, 40000.0);
}

void XlsxReaderTest::dates1904CountFrom1900()
{
    const SheetData sheet = read(writeXlsx("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>0</v></c>"
                                           "<c r=\"B1\"><v>0</v></c></row>",
                                           {}, {}, "<workbookPr date1904=\"1\"/>"));
    // Day 0 of 1904 is 1904-01-01, serial 1462 of the 1900 system; plain numbers stay.
    QCOMPARE(sheet.at(1, 1).number, 1462.0);
    QCOMPARE(sheet.at(1, 2).number, 0.0);
}

void XlsxReaderTest::numbersNoCellHoldsAreLeftOut()
{
    const SheetData sheet = read(writeXlsx("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>nan</v></c>"
                                           "<c r=\"B1\"><v>inf</v></c><c r=\"C1\" s=\"1\"><v>-inf</v></c>"
                                           "<c r=\"D1\" s=\"1\"><v>1e300</v></c><c r=\"E1\"><v>1e300</v></c>"
                                           "<c r=\"F1\" s=\"1\"><v>2958465</v></c></row>"));
    QCOMPARE(sheet.at(1, 1).type, CellValue::Type::Empty);
    QCOMPARE(sheet.at(1, 2).type, CellValue::Type::Empty);
    QCOMPARE(sheet.at(1, 3).type, CellValue::Type::Empty);
    // Past year 9999 a date format cannot show the value: it stays a number.
    QCOMPARE(sheet.at(1, 4).type, CellValue::Type::Number);
    QCOMPARE(sheet.at(1, 4).number, 1e300);
    QCOMPARE(sheet.at(1, 5).type, CellValue::Type::Number);
    QCOMPARE(sheet.at(1, 6).type, CellValue::Type::DateTime);
}

void XlsxReaderTest::cellsWithoutReferencesFollowOnAndLimitsHold()
{
    const QString path = writeXlsx("<row><c><v>1</v></c><c><v>2</v></c></row>"
                                   "<row><c r=\"C2\"><v>3</v></c><c><v>4</v></c></row>"
                                   "<row r=\"70000\"><c r=\"A70000\"><v>5</v></c></row>"
                                   "<row r=\"70001\"><c r=\"XFE70001\"><v>6</v></c></row>");
    const SheetData sheet = read(path);
    QCOMPARE(sheet.at(1, 1).number, 1.0);
    QCOMPARE(sheet.at(1, 2).number, 2.0);
    QCOMPARE(sheet.at(2, 3).number, 3.0);
    QCOMPARE(sheet.at(2, 4).number, 4.0);
    // Rows past 65,536 are left out.
    QCOMPARE(sheet.rowCount(), 2);
    const SheetData all = WorkbookFile::readFirstSheet(path, ReadLimits{});
    QCOMPARE(all.at(70000, 1).number, 5.0);
    QCOMPARE(all.rowCount(), 70000);
}

void XlsxReaderTest::xlsxwriterWorkbook()
{
    const QString path = m_dir.filePath(QStringLiteral("xlsxwriter.xlsx"));
    const QString script = QStringLiteral(
        "import sys, datetime, xlsxwriter\n"
        "wb = xlsxwriter.Workbook(sys.argv[1])\n"
        "ws = wb.add_worksheet('Artículos')\n"
        "wb.add_worksheet('Otra').write('A1', 'no')\n"
        "date = wb.add_format({'num_format': 'dd/mm/yyyy hh:mm'})\n"
        "ws.write_string('A1', 'Código')\n"
        "ws.write_number('B1', 1234567.891)\n"
        "ws.write_datetime('C1', datetime.datetime(2024, 2, 29, 13, 30), date)\n"
        "ws.write_boolean('D1', True)\n"
        "ws.write_formula('E1', '=B1*2', None, 2469135.782)\n"
        "ws.write_formula('F1', '=1/0', None, '#DIV/0!')\n"
        "ws.write_string('A3', 'línea\\r\\notra\\tcol')\n"
        "ws.write_rich_string('B3', 'Tu', wb.add_format({'bold': True}), 'erca', ' M8')\n"
        "wb.close()\n");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
    QVERIFY(python.waitForFinished(60000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());

    const SheetData sheet = read(path);
    QCOMPARE(sheet.at(1, 1).text, QStringLiteral("Código"));
    QCOMPARE(sheet.at(1, 2).number, 1234567.891);
    QCOMPARE(sheet.at(1, 3).type, CellValue::Type::DateTime);
    QCOMPARE(sheet.at(1, 3).number, 45351.5625);
    QCOMPARE(sheet.at(1, 4).type, CellValue::Type::Boolean);
    QCOMPARE(sheet.at(1, 5).number, 2469135.782);
    QCOMPARE(sheet.at(1, 6).type, CellValue::Type::Error);
    QCOMPARE(sheet.at(1, 6).text, QStringLiteral("#DIV/0!"));
    QCOMPARE(sheet.at(3, 1).text, QStringLiteral("línea\r\notra\tcol"));
    QCOMPARE(sheet.at(3, 2).text, QStringLiteral("Tuerca M8"));
}

void XlsxReaderTest::damagedPackagesAreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("truncated") << "truncated" << QStringLiteral("está dañado o incompleto y no se puede leer");
    QTest::newRow("bad sheet xml") << "badxml" << QStringLiteral("está dañado o incompleto y no se puede leer");
    QTest::newRow("no workbook part") << "noworkbook"
                                      << QStringLiteral("no es un libro de cálculo que se pueda leer");
    QTest::newRow("entity") << "entity"
                            << QStringLiteral("contiene declaraciones de entidades XML y no se lee por seguridad");
    QTest::newRow("binary junk") << "junk" << QStringLiteral("no es un libro de cálculo que se pueda leer");
}

void XlsxReaderTest::damagedPackagesAreRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QString path;
    if (kind == u"truncated") {
        path = writeXlsx("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(f.size() / 2));
    } else if (kind == u"badxml") {
        path = writeXlsx("<row r=\"1\"><c r=\"A1\"><v>1</v></row>");
    } else if (kind == u"entity") {
        path = m_dir.filePath(QStringLiteral("entity.xlsx"));
        QVERIFY(WorkbookTestZip::write(
            path, {{"xl/workbook.xml", "<!DOCTYPE w [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;\">]>"
                                       "<workbook xmlns=\"" + kMain + "\">&b;</workbook>"}}));
    } else if (kind == u"noworkbook") {
        path = m_dir.filePath(QStringLiteral("sin.xlsx"));
        QVERIFY(WorkbookTestZip::write(path, {{"docProps/app.xml", "<Properties/>"}}));
    } else {
        path = m_dir.filePath(QStringLiteral("junk.xlsx"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x01\x02\x00\x7f", 4).repeated(100));
    }
    QCOMPARE(refusal(path), QStringLiteral("El archivo %1 %2").arg(path, reason));
}

void XlsxReaderTest::missingFileIsReported()
{
    const QString path = m_dir.filePath(QStringLiteral("no-existe.xlsx"));
    try {
        read(path);
        QFAIL("a missing file was read");
    } catch (const AppError &e) {
        QCOMPARE(e.number(), 53);
        QCOMPARE(e.description(), QStringLiteral("No se encuentra el archivo ") + path);
    }
}

QTEST_GUILESS_MAIN(XlsxReaderTest)
#include "XlsxReader_test.moc"
