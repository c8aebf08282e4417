#include "external/ComponentRegistry.h"
#include "external/workbook/ExcelApplication.h"
#include "external/workbook/WorkbookEngine.h"
#include "platform/AppError.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The engine behind "Excel.Application" on workbooks the test writes with xlsxwriter.
class WorkbookEngineTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_xlsx;
    QString m_xlsx1904;

    bool runPython(const QString &script)
    {
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script});
        return p.waitForFinished(60000) && p.exitCode() == 0;
    }

    std::shared_ptr<ExcelWorksheet> open(const QString &path)
    {
        auto app = ComponentRegistry::create<ExcelApplication>(QStringLiteral("Excel.Application"));
        return app->openWorkbook(path, true, true, false)->worksheet(1);
    }

    QString refusal(const QString &path)
    {
        try {
            open(path);
        } catch (const AppError &e) {
            return e.description();
        }
        return QStringLiteral("(opened)");
    }

private slots:
    void initTestCase()
    {
        m_xlsx = m_dir.filePath(QStringLiteral("made.xlsx"));
        m_xlsx1904 = m_dir.filePath(QStringLiteral("made1904.xlsx"));
        const QString script = QStringLiteral(R"(
import xlsxwriter, datetime, sys
wb = xlsxwriter.Workbook(sys.argv[1] if len(sys.argv) > 1 else '%1')
hidden = wb.add_worksheet('Oculta')
other = wb.add_worksheet('Otra')
other.write('A1', 'not this one')
other.activate()
hidden.hide()
ws = hidden
date = wb.add_format({'num_format': 'dd/mm/yyyy'})
stamp = wb.add_format({'num_format': 'yyyy-mm-dd hh:mm'})
plain = wb.add_format({'num_format': '0.00 "mm"'})
bold = wb.add_format({'bold': True})
ws.write('A1', 'Código')
ws.write('B1', 1234567.891)
ws.write_datetime('C1', datetime.datetime(2023, 3, 15), date)
ws.write_datetime('D1', datetime.datetime(2023, 3, 15, 18, 0), stamp)
ws.write('E1', 2.5, plain)
ws.write_formula('A2', '=B1*2', None, 2469135.782)
ws.write_formula('B2', '=1/0', None, '#DIV/0!')
ws.write_formula('C2', '="a"&"b"', None, 'ab')
ws.write_boolean('D2', True)
ws.write('A3', 'tab\there')
ws.write('B3', 'cr\rhere')
ws.write_rich_string('C3', 'rich ', bold, 'text')
ws.write('D3', '_x0041_ literal')
ws.write('A5', 'after a gap')
wb.close()
)").arg(m_xlsx);
        QVERIFY(runPython(script));
        QVERIFY(runPython(QStringLiteral(
            "import xlsxwriter, datetime\n"
            "wb = xlsxwriter.Workbook('%1', {'date_1904': True})\n"
            "ws = wb.add_worksheet()\n"
            "ws.write_datetime('A1', datetime.datetime(2023, 3, 15), wb.add_format({'num_format': 'd/m/yyyy'}))\n"
            "wb.close()\n").arg(m_xlsx1904)));
    }

    void readsTheFirstSheetEvenHidden()
    {
        const auto sheet = open(m_xlsx);
        QCOMPARE(sheet->value(1, 1).text, QStringLiteral("Código"));
        QCOMPARE(sheet->value(1, 2).type, CellValue::Type::Number);
        QCOMPARE(sheet->value(1, 2).number, 1234567.891);
        QCOMPARE(sheet->value(1, 3).type, CellValue::Type::DateTime);
        QCOMPARE(sheet->value(1, 3).number, 45000.0);
        QCOMPARE(sheet->value(1, 4).number, 45000.75);
        QCOMPARE(sheet->value(1, 5).type, CellValue::Type::Number); // "mm" in quotes is no month
    }

    void formulasGiveTheirCachedResult()
    {
        const auto sheet = open(m_xlsx);
        QCOMPARE(sheet->value(2, 1).number, 2469135.782);
        QCOMPARE(sheet->value(2, 2).type, CellValue::Type::Error);
        QCOMPARE(sheet->value(2, 2).text, QStringLiteral("#DIV/0!"));
        QCOMPARE(sheet->value(2, 3).text, QStringLiteral("ab"));
        QCOMPARE(sheet->value(2, 4).type, CellValue::Type::Boolean);
        QCOMPARE(sheet->value(2, 4).number, 1.0);
    }

    void textKeepsTabsCrAndRuns()
    {
        const auto sheet = open(m_xlsx);
        QCOMPARE(sheet->value(3, 1).text, QStringLiteral("tab\there"));
        QCOMPARE(sheet->value(3, 2).text, QStringLiteral("cr\rhere"));
        QCOMPARE(sheet->value(3, 3).text, QStringLiteral("rich text"));
        QCOMPARE(sheet->value(3, 4).text, QStringLiteral("_x0041_ literal"));
        QVERIFY(sheet->value(4, 1).isEmpty());
        QCOMPARE(sheet->value(5, 1).text, QStringLiteral("after a gap"));
        QVERIFY(sheet->value(70000, 1).isEmpty());
    }

    void displayInTheOperatorsLocale()
    {
        const auto sheet = open(m_xlsx);
        const QLocale ar(QStringLiteral("es_AR")), us(QStringLiteral("en_US"));
        QCOMPARE(sheet->value(1, 2).toDisplayText(ar), QStringLiteral("1234567,891"));
        QCOMPARE(sheet->value(1, 2).toDisplayText(us), QStringLiteral("1234567.891"));
        QCOMPARE(sheet->value(1, 3).toDisplayText(ar), ar.toString(QDate(2023, 3, 15), QLocale::ShortFormat));
        QCOMPARE(sheet->value(1, 3).toDisplayText(us), us.toString(QDate(2023, 3, 15), QLocale::ShortFormat));
    }

    void dates1904AreShiftedTo1900()
    {
        QCOMPARE(open(m_xlsx1904)->value(1, 1).number, 45000.0);
    }

    void writtenCellsStayInMemory()
    {
        const auto sheet = open(m_xlsx);
        sheet->setValue(1, 1, CellValue::fromText(QStringLiteral("nuevo")));
        sheet->setValue(1, 2, CellValue());
        QCOMPARE(sheet->value(1, 1).text, QStringLiteral("nuevo"));
        QVERIFY(sheet->value(1, 2).isEmpty());
        QCOMPARE(open(m_xlsx)->value(1, 1).text, QStringLiteral("Código"));
    }

    void onlyTheFirstWorksheetExists()
    {
        auto app = ComponentRegistry::create<ExcelApplication>(QStringLiteral("Excel.Application"));
        try {
            app->openWorkbook(m_xlsx, true, true, false)->worksheet(2);
            QFAIL("worksheet 2 was given");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), 9);
        }
    }

    void unreadableFilesAreRefusedInSpanish()
    {
        const QString missing = m_dir.filePath(QStringLiteral("nada.xlsx"));
        QCOMPARE(refusal(missing), QStringLiteral("No se encuentra el archivo %1").arg(missing));

        QFile whole(m_xlsx);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        const QString truncated = m_dir.filePath(QStringLiteral("cortado.xlsx"));
        QFile cut(truncated);
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(bytes.left(bytes.size() / 2));
        cut.close();
        QCOMPARE(refusal(truncated), QStringLiteral("El archivo %1 está dañado o incompleto y no se puede leer").arg(truncated));

        const QString text = m_dir.filePath(QStringLiteral("texto.xlsx"));
        QFile t(text);
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write("just some text\n");
        t.close();
        QCOMPARE(refusal(text), QStringLiteral("El archivo %1 no es un libro de cálculo que se pueda leer").arg(text));

        // A compound file holding an EncryptionInfo stream is a password-protected package.
        const QString encrypted = m_dir.filePath(QStringLiteral("cifrado.xlsx"));
        QFile e(encrypted);
        QVERIFY(e.open(QIODevice::WriteOnly));
        QByteArray ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        ole.append(QByteArray(504, '\0'));
        for (char c : QByteArray("EncryptionInfo"))
            ole.append(c).append('\0');
        e.write(ole);
        e.close();
        QCOMPARE(refusal(encrypted),
                 QStringLiteral("El archivo %1 está cifrado (protegido con contraseña) y no se puede leer").arg(encrypted));
    }

    void csvByContent()
    {
        const QString path = m_dir.filePath(QStringLiteral("lista.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Código;Peso\r\nA-1;\"1,5\"\r\n");
        f.close();
        const auto sheet = open(path);
        QCOMPARE(sheet->value(1, 1).text, QStringLiteral("Código"));
        QCOMPARE(sheet->value(2, 2).text, QStringLiteral("1,5"));
    }
};

QTEST_GUILESS_MAIN(WorkbookEngineTest)
#include "WorkbookEngine_test.moc"
