#include "WorkbookTestZip.h"
#include "external/workbook/WorkbookEngine.h"
#include "external/workbook/OdsReader.h"
#include "external/workbook/WorkbookFile.h"
#include "external/workbook/ZipPackage.h"
#include "platform/AppError.h"

#include <QTemporaryDir>
#include <QtTest>

// OpenDocument spreadsheets the test writes: where cells land, what text a cell gives,
// which value type wins, and what is refused.
class OdsReaderTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_count = 0;

    QString write(const QByteArray &tables, const QByteArray &manifest = {})
    {
        const QString path = m_dir.filePath(QStringLiteral("hoja%1.ods").arg(++m_count));
        WorkbookTestZip::Parts parts{
            {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
            {"content.xml",
             "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
             "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
             "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
             "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\">"
             "<office:body><office:spreadsheet>" + tables + "</office:spreadsheet></office:body></office:document-content>"}};
        if (!manifest.isEmpty())
            parts.push_back({"META-INF/manifest.xml",
                             "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
                                 + manifest + "</manifest:manifest>"});
        if (!WorkbookTestZip::write(path, parts))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    SheetData read(const QByteArray &tables) { return WorkbookFile::readFirstSheet(write(tables), WorkbookEngine::defaultLimits()); }

    static QByteArray cell(const QByteArray &attributes, const QByteArray &body = {})
    {
        return "<table:table-cell " + attributes + ">" + body + "</table:table-cell>";
    }
    static QByteArray text(const QByteArray &t) { return cell("office:value-type=\"string\"", "<text:p>" + t + "</text:p>"); }

    void verifyRefused(const QByteArray &tables, const QByteArray &manifest, const QString &reason)
    {
        const QString path = write(tables, manifest);
        try {
            WorkbookFile::readFirstSheet(path, WorkbookEngine::defaultLimits());
            QFAIL("the file was read");
        } catch (const AppError &e) {
            QCOMPARE(e.description(), QStringLiteral("El archivo %1 %2").arg(path, reason));
        }
    }


    // Both ways of reading a file: in two halves whatever its size, and in one parse; also
    // keeping only the first 50 rows, where the rest are only noted as filled or not.
    static void verifyHalvesMatchOneParse(const QString &path, bool *halves = nullptr)
    {
        verifyHalvesMatchOneParse(path, WorkbookEngine::defaultLimits(), halves);
        ReadLimits few = WorkbookEngine::defaultLimits();
        few.keptRows = 50;
        verifyHalvesMatchOneParse(path, few, nullptr);
    }

    static void verifyHalvesMatchOneParse(const QString &path, const ReadLimits &limits, bool *halves)
    {
        SheetData split, whole;
        QString splitError, wholeError;
        try {
            split = OdsReader::readFirstSheet(ZipPackage(path), limits, 0, halves);
        } catch (const AppError &e) {
            splitError = e.description();
        }
        try {
            whole = OdsReader::readFirstSheet(ZipPackage(path), limits, ~0ull);
        } catch (const AppError &e) {
            wholeError = e.description();
        }
        QCOMPARE(splitError, wholeError);
        QCOMPARE(split.rowCount(), whole.rowCount());
        for (int r = 1; r <= whole.rowCount(); ++r) {
            for (int c = 1; c <= 16; ++c) {
                const CellValue &a = split.at(r, c);
                const CellValue &b = whole.at(r, c);
                QVERIFY2(a.type == b.type && a.text == b.text && (a.number == b.number || a.number != a.number),
                         qPrintable(QStringLiteral("row %1 column %2: \"%3\" against \"%4\"").arg(r).arg(c).arg(a.text, b.text)));
            }
        }
        for (int r = 1; r <= 5000; ++r)
            QCOMPARE(split.firstFilledColumn(r), whole.firstFilledColumn(r));
    }

    static QByteArray rows(int from, int count)
    {
        QByteArray out;
        for (int i = from; i < from + count; ++i) {
            out += "<table:table-row>" + text("r" + QByteArray::number(i))
                   + cell("office:value-type=\"float\" office:value=\"" + QByteArray::number(i) + ".5\"")
                   + "</table:table-row>";
            if (i % 7 == 0)
                out += "<table:table-row table:number-rows-repeated=\"3\">" + text("rep") + "</table:table-row>"
                       "<table:table-row table:number-rows-repeated=\"4\"><table:table-cell/></table:table-row>";
        }
        return out;
    }

private slots:
    void cellTextKeepsSpacesTabsAndBreaks()
    {
        const SheetData s = read(
            "<table:table table:name=\"A\"><table:table-row>"
            + cell("office:value-type=\"string\"",
                   "<text:p>Tornillo<text:s text:c=\"3\"/>M6<text:tab/>x<text:line-break/>"
                   "<text:span>largo</text:span><text:s/></text:p><text:p/><text:p>fin</text:p>"
                   "<office:annotation><text:p>nota</text:p></office:annotation>")
            + cell("office:value-type=\"string\" office:string-value=\"guardado\"", "<text:p>mostrado</text:p>")
            + cell("", "<text:h>título</text:h>")
            + "<table:covered-table-cell office:value-type=\"string\"><text:p><text:span>cubierta</text:span></text:p>"
              "</table:covered-table-cell></table:table-row></table:table>");
        QCOMPARE(s.at(1, 1).text, QStringLiteral("Tornillo   M6\tx\nlargo \n\nfin"));
        QCOMPARE(s.at(1, 2).text, QStringLiteral("guardado"));
        QCOMPARE(s.at(1, 3).text, QStringLiteral("título"));
        QCOMPARE(s.at(1, 4).text, QStringLiteral("cubierta"));
    }

    void valueTypes()
    {
        const SheetData s = read(
            "<table:table table:name=\"A\"><table:table-row>"
            + cell("office:value-type=\"float\" office:value=\"1234567.891\"", "<text:p>1.234.567,89</text:p>")
            + cell("office:value-type=\"percentage\" office:value=\"0.25\"", "<text:p>25%</text:p>")
            + cell("office:value-type=\"currency\" office:currency=\"ARS\" office:value=\"-3.5\"", "<text:p>$-3,50</text:p>")
            + cell("office:value-type=\"date\" office:date-value=\"2024-02-29T13:30:00\"")
            + cell("office:value-type=\"time\" office:time-value=\"PT36H30M10S\"")
            + cell("office:value-type=\"boolean\" office:boolean-value=\"false\"", "<text:p>FALSO</text:p>")
            + cell("table:formula=\"of:=1/0\" office:value-type=\"float\" office:value=\"0\" calcext:value-type=\"error\"",
                   "<text:p>#DIV/0!</text:p>")
            + cell("office:value-type=\"time\" office:time-value=\"PT99999999999999H\"", "<text:p>mucho</text:p>")
            + cell("office:value-type=\"float\" office:value=\"inf\"", "<text:p>inf</text:p>")
            + "</table:table-row></table:table>");
        using T = CellValue::Type;
        QCOMPARE(s.at(1, 1).type, T::Number);
        QCOMPARE(s.at(1, 1).number, 1234567.891);
        QCOMPARE(s.at(1, 2).number, 0.25);
        QCOMPARE(s.at(1, 3).number, -3.5);
        QCOMPARE(s.at(1, 4).type, T::DateTime);
        QCOMPARE(s.at(1, 4).number, 45351.5625);
        QCOMPARE(s.at(1, 5).type, T::DateTime);
        QVERIFY(qAbs(s.at(1, 5).number - (1.5 + 0.5 / 24 + 10 / 86400.0)) < 1e-9);
        QCOMPARE(s.at(1, 6).type, T::Boolean);
        QCOMPARE(s.at(1, 6).number, 0.0);
        QCOMPARE(s.at(1, 7).type, T::Error);
        QCOMPARE(s.at(1, 7).text, QStringLiteral("#DIV/0!"));
        // Values no date or number can hold fall back on the text the cell shows.
        QCOMPARE(s.at(1, 8).type, T::Text);
        QCOMPARE(s.at(1, 8).text, QStringLiteral("mucho"));
        QCOMPARE(s.at(1, 9).type, T::Text);
    }

    void onlyTheFirstTableAndNotOneInsideACell()
    {
        const SheetData s = read(
            "<table:table table:name=\"Primera\"><table:table-row>" + text("antes")
            + cell("", "<table:table><table:table-row>" + text("anidada") + "</table:table-row></table:table>")
            + text("misma fila") + "</table:table-row><table:table-row>" + text("después")
            + "</table:table-row></table:table><table:table table:name=\"Segunda\"><table:table-row>"
            + text("otra hoja") + "</table:table-row><table:table-row>" + text("x") + text("y") + text("z")
            + "</table:table-row></table:table>");
        QCOMPARE(s.at(1, 1).text, QStringLiteral("antes"));
        QCOMPARE(s.at(1, 2).type, CellValue::Type::Empty);
        QCOMPARE(s.at(1, 3).text, QStringLiteral("misma fila"));
        QCOMPARE(s.at(2, 1).text, QStringLiteral("después"));
        QCOMPARE(s.rowCount(), 2);
    }

    void repeatedRowsAndColumnsKeepTheirPlaces()
    {
        const SheetData s = read(
            "<table:table table:name=\"A\"><table:table-header-rows><table:table-row>"
            + cell("table:number-columns-spanned=\"2\" office:value-type=\"string\"", "<text:p>unida</text:p>")
            + "<table:covered-table-cell/>"
            + cell("office:value-type=\"float\" office:value=\"7\" table:number-columns-repeated=\"3\"")
            + "</table:table-row></table:table-header-rows><table:table-row table:number-rows-repeated=\"2\">"
            + cell("table:number-columns-repeated=\"2\" office:value-type=\"string\"", "<text:p>x</text:p>")
            + "<table:table-cell table:number-columns-repeated=\"16000\"/>" + text("fin")
            + "</table:table-row><table:table-row table:number-rows-repeated=\"1048000\"><table:table-cell "
              "table:number-columns-repeated=\"1024\"/></table:table-row><table:table-row>" + text("nunca")
            + "</table:table-row></table:table>");
        QCOMPARE(s.at(1, 1).text, QStringLiteral("unida"));
        QCOMPARE(s.at(1, 2).type, CellValue::Type::Empty);
        QCOMPARE(s.at(1, 3).number, 7.0);
        QCOMPARE(s.at(1, 5).number, 7.0);
        QCOMPARE(s.at(1, 6).type, CellValue::Type::Empty);
        QCOMPARE(s.at(3, 2).text, QStringLiteral("x"));
        QCOMPARE(s.at(3, 16003).text, QStringLiteral("fin"));
        // The empty repeated rows store nothing and the row after them lies past 65,536.
        QCOMPARE(s.rowCount(), 3);
    }

    void refusals()
    {
        verifyRefused("<table:table><table:table-row table:number-rows-repeated=\"999999999\">"
                      "<table:table-cell table:number-columns-repeated=\"999999999\"><text:p>X</text:p>"
                      "</table:table-cell></table:table-row></table:table>",
                      {}, QStringLiteral("es demasiado grande para leerlo"));
        verifyRefused("<table:table/>",
                      "<manifest:file-entry manifest:full-path=\"content.xml\"><manifest:encryption-data/>"
                      "</manifest:file-entry>",
                      QStringLiteral("está cifrado (protegido con contraseña) y no se puede leer"));
        // A zip entry that inflates past what any reader needs: refused before it is unpacked.
        verifyRefused("<table:table/>", QByteArray(17 << 20, ' '), QStringLiteral("es demasiado grande para leerlo"));
    }

    // A big sheet is read in two halves on two cores. Wherever the middle of the part
    // falls, the cells are those one parse gives, row for row.
    void halvesGiveWhatOneParseGives_data()
    {
        QTest::addColumn<QByteArray>("middle");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("halves");
        const QByteArray many = QByteArray("<table:table-row><table:table-cell/></table:table-row>").repeated(400);
        QTest::newRow("between rows") << rows(100, 400) << QByteArray() << true;
        QTest::newRow("in a comment") << "<!-- " + many + " -->" << QByteArray() << false;
        QTest::newRow("in a CDATA text")
            << "<table:table-row>" + cell("office:value-type=\"string\"", "<text:p><![CDATA[" + many + "]]></text:p>")
                   + "</table:table-row>"
            << QByteArray() << false;
        QTest::newRow("in a table inside a cell")
            << "<table:table-row><table:table-cell><table:table>" + rows(100, 300)
                   + "</table:table></table:table-cell></table:table-row>"
            << QByteArray() << false;
        QTest::newRow("in a row group") << "<table:table-row-group>" + rows(100, 400) + "</table:table-row-group>"
                                         << QByteArray() << false;
        QTest::newRow("in the second table") << QByteArray() << "<table:table table:name=\"B\">" + rows(100, 400) + "</table:table>"
                                              << false;
    }

    void halvesGiveWhatOneParseGives()
    {
        QFETCH(QByteArray, middle);
        QFETCH(QByteArray, after);
        QFETCH(bool, halves);
        const QString path = write("<table:table table:name=\"A\">" + rows(1, 40) + middle + rows(1000, 40)
                                   + "</table:table>" + after);
        bool used = false;
        verifyHalvesMatchOneParse(path, &used);
        QCOMPARE(used, halves);
    }

    void halvesOfCorpusSheets()
    {
        const QDir dir(QStringLiteral(SORVANTA_CORPUS_DIR "/ods"));
        const QStringList names = dir.entryList({QStringLiteral("*.ods")}, QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString &name : names)
            verifyHalvesMatchOneParse(dir.filePath(name));
    }
};

QTEST_GUILESS_MAIN(OdsReaderTest)
#include "OdsReader_test.moc"
