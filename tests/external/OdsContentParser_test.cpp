#include "WorkbookTestZip.h"
#include "external/workbook/WorkbookEngine.h"
#include "external/workbook/WorkbookFile.h"
#include "platform/AppError.h"

#include <QTemporaryDir>
#include <QtTest>

// The content part of OpenDocument spreadsheets the test writes: where cells land,
// what text a cell gives, and which value type wins.
class OdsContentParserTest : public QObject {
    Q_OBJECT

private slots:
    void cellTextKeepsSpacesTabsAndBreaks();
    void valueTypesAndTheirText();
    void tableInsideACellIsNotTheSheet();
    void coveredAndRepeatedCellsKeepTheirColumns();

private:
    SheetData read(const QByteArray &tableBody);

    QTemporaryDir m_dir;
    int m_count = 0;
};

namespace {
QByteArray contentWith(const QByteArray &tables)
{
    return "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
           "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
           "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\">"
           "<office:body><office:spreadsheet>"
           + tables + "</office:spreadsheet></office:body></office:document-content>";
}

QByteArray cell(const QByteArray &attributes, const QByteArray &body = {})
{
    return "<table:table-cell " + attributes + ">" + body + "</table:table-cell>";
}
} // namespace

SheetData OdsContentParserTest::read(const QByteArray &tables)
{
    const QString path = m_dir.filePath(QStringLiteral("hoja%1.ods").arg(++m_count));
    if (!WorkbookTestZip::write(path, {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                       {"content.xml", contentWith(tables)}}))
        qFatal("cannot write %s", qPrintable(path));
    return WorkbookFile::readFirstSheet(path, WorkbookEngine::defaultLimits());
}

void OdsContentParserTest::cellTextKeepsSpacesTabsAndBreaks()
{
    const SheetData sheet = read(
        "<table:table table:name=\"A\"><table:table-row>"
        + cell("office:value-type=\"string\"",
               "<text:p>Tornillo<text:s text:c=\"3\"/>M6<text:tab/>x<text:line-break/>"
               "<text:span>largo</text:span><text:s/></text:p><text:p/><text:p>fin</text:p>"
               "<office:annotation><text:p>nota</text:p></office:annotation>")
        + cell("office:value-type=\"string\" office:string-value=\"guardado\"", "<text:p>mostrado</text:p>")
        + cell("", "<text:h>título</text:h>") + "</table:table-row></table:table>");
    QCOMPARE(sheet.at(1, 1).text, QStringLiteral("Tornillo   M6\tx\nlargo \n\nfin"));
    QCOMPARE(sheet.at(1, 2).text, QStringLiteral("guardado"));
    QCOMPARE(sheet.at(1, 3).text, QStringLiteral("título"));
}

void OdsContentParserTest::valueTypesAndTheirText()
{
    const SheetData sheet = read(
        "<table:table table:name=\"A\"><table:table-row>"
        + cell("office:value-type=\"float\" office:value=\"1234567.891\"", "<text:p>1.234.567,89</text:p>")
        + cell("office:value-type=\"percentage\" office:value=\"0.25\"", "<text:p>25%</text:p>")
        + cell("office:value-type=\"currency\" office:currency=\"ARS\" office:value=\"-3.5\"", "<text:p>$-3,50</text:p>")
        + cell("office:value-type=\"date\" office:date-value=\"2024-02-29T13:30:00\"")
        + cell("office:value-type=\"time\" office:time-value=\"PT36H30M\"")
        + cell("office:value-type=\"boolean\" office:boolean-value=\"false\"", "<text:p>FALSO</text:p>")
        + cell("office:value-type=\"string\" calcext:value-type=\"error\" office:string-value=\"\"",
               "<text:p>#DIV/0!</text:p>")
        + cell("office:value-type=\"time\" office:time-value=\"PT99999999999999H\"", "<text:p>mucho</text:p>")
        + cell("office:value-type=\"float\" office:value=\"inf\"", "<text:p>inf</text:p>")
        + "</table:table-row></table:table>");
    QCOMPARE(sheet.at(1, 1).type, CellValue::Type::Number);
    QCOMPARE(sheet.at(1, 1).number, 1234567.891);
    QCOMPARE(sheet.at(1, 2).number, 0.25);
    QCOMPARE(sheet.at(1, 3).number, -3.5);
    QCOMPARE(sheet.at(1, 4).type, CellValue::Type::DateTime);
    QCOMPARE(sheet.at(1, 4).number, 45351.5625);
    QCOMPARE(sheet.at(1, 5).type, CellValue::Type::DateTime);
    QCOMPARE(sheet.at(1, 5).number, 1.5 + 0.5 / 24);
    QCOMPARE(sheet.at(1, 6).type, CellValue::Type::Boolean);
    QCOMPARE(sheet.at(1, 6).number, 0.0);
    QCOMPARE(sheet.at(1, 7).type, CellValue::Type::Error);
    QCOMPARE(sheet.at(1, 7).text, QStringLiteral("#DIV/0!"));
    // Values no date or number can hold fall back on the text the cell shows.
    QCOMPARE(sheet.at(1, 8).type, CellValue::Type::Text);
    QCOMPARE(sheet.at(1, 8).text, QStringLiteral("mucho"));
    QCOMPARE(sheet.at(1, 9).type, CellValue::Type::Text);
}

void OdsContentParserTest::tableInsideACellIsNotTheSheet()
{
    const SheetData sheet = read(
        "<table:table table:name=\"Primera\">"
        "<table:table-row>" + cell("office:value-type=\"string\"", "<text:p>antes</text:p>")
        + cell("", "<table:table><table:table-row>"
                   + cell("office:value-type=\"string\"", "<text:p>anidada</text:p>")
                   + "</table:table-row></table:table>")
        + cell("office:value-type=\"string\"", "<text:p>misma fila</text:p>")
        + "</table:table-row><table:table-row>"
        + cell("office:value-type=\"string\"", "<text:p>después</text:p>")
        + "</table:table-row></table:table>"
          "<table:table table:name=\"Segunda\"><table:table-row>"
        + cell("office:value-type=\"string\"", "<text:p>otra hoja</text:p>")
        + "</table:table-row><table:table-row>" + cell("office:value-type=\"string\"", "<text:p>x</text:p>")
        + cell("office:value-type=\"string\"", "<text:p>y</text:p>")
        + cell("office:value-type=\"string\"", "<text:p>z</text:p>") + "</table:table-row></table:table>");
    QCOMPARE(sheet.at(1, 1).text, QStringLiteral("antes"));
    QCOMPARE(sheet.at(1, 2).type, CellValue::Type::Empty);
    QCOMPARE(sheet.at(1, 3).text, QStringLiteral("misma fila"));
    QCOMPARE(sheet.at(2, 1).text, QStringLiteral("después"));
    QCOMPARE(sheet.rowCount(), 2);
    QCOMPARE(sheet.at(3, 1).type, CellValue::Type::Empty);
}

void OdsContentParserTest::coveredAndRepeatedCellsKeepTheirColumns()
{
    const SheetData sheet = read(
        "<table:table table:name=\"A\"><table:table-header-rows><table:table-row>"
        + cell("table:number-columns-spanned=\"2\" office:value-type=\"string\"", "<text:p>unida</text:p>")
        + "<table:covered-table-cell/>"
        + cell("office:value-type=\"float\" office:value=\"7\" table:number-columns-repeated=\"3\"")
        + "</table:table-row></table:table-header-rows>"
          "<table:table-row table:number-rows-repeated=\"1000000\"><table:table-cell "
          "table:number-columns-repeated=\"1024\"/></table:table-row></table:table>");
    QCOMPARE(sheet.at(1, 1).text, QStringLiteral("unida"));
    QCOMPARE(sheet.at(1, 2).type, CellValue::Type::Empty);
    QCOMPARE(sheet.at(1, 3).number, 7.0);
    QCOMPARE(sheet.at(1, 5).number, 7.0);
    QCOMPARE(sheet.at(1, 6).type, CellValue::Type::Empty);
    // Empty repeated rows at the end store nothing.
    QCOMPARE(sheet.rowCount(), 1);
}

QTEST_GUILESS_MAIN(OdsContentParserTest)
#include "OdsContentParser_test.moc"
