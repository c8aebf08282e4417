#include "external/ComponentRegistry.h"
#include "external/workbook/ExcelApplication.h"
#include "external/workbook/WorkbookEngine.h"
#include "platform/AppError.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The engine behind "Excel.Application" on workbooks written by xlsxwriter, as an
// Excel-like writer leaves them, and on files it must refuse.
class WorkbookEngineTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_xlsx = m_dir.filePath(QStringLiteral("made.xlsx"));

    std::shared_ptr<ExcelWorksheet> open(const QString &path, int sheet = 1)
    {
        auto app = ComponentRegistry::create<ExcelApplication>(QStringLiteral("Excel.Application"));
        return app->openWorkbook(path, true, true, false)->worksheet(sheet);
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase()
    {
        // The first sheet is hidden and another one active: the first is still the one read.
        const QString script = QStringLiteral(R"(
import xlsxwriter, datetime, sys
wb = xlsxwriter.Workbook(sys.argv[1])
ws = wb.add_worksheet('Oculta')
other = wb.add_worksheet('Otra')
other.write('A1', 'not this one')
other.activate()
ws.hide()
ws.write('A1', 'Código')
ws.write('B1', 1234567.891)
ws.write_datetime('C1', datetime.datetime(2023, 3, 15), wb.add_format({'num_format': 'dd/mm/yyyy'}))
ws.write_formula('A2', '="a"&"b"', None, 'ab')
ws.write_boolean('B2', True)
ws.write('A3', 'tab\there')
ws.write('B3', 'cr\rhere')
ws.write_rich_string('C3', 'rich ', wb.add_format({'bold': True}), 'text')
ws.write('D3', '_x0041_ literal')
ws.write('A5', 'after a gap')
wb.close()
)");
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, m_xlsx});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    }

    void readsTheFirstSheet()
    {
        // Values of every kind, compared cell by cell, are in the reader tests and the corpus
        // walk; here, what xlsxwriter writes its own way: shared strings with escapes and runs.
        const auto s = open(m_xlsx);
        QCOMPARE(s->value(1, 1).text, QStringLiteral("Código"));
        QCOMPARE(s->value(1, 2).number, 1234567.891);
        QCOMPARE(s->value(1, 3).type, CellValue::Type::DateTime);
        QCOMPARE(s->value(1, 3).number, 45000.0);
        QCOMPARE(s->value(2, 1).text, QStringLiteral("ab")); // a formula's cached text
        QCOMPARE(s->value(2, 2).type, CellValue::Type::Boolean);
        QCOMPARE(s->value(3, 1).text, QStringLiteral("tab\there"));
        QCOMPARE(s->value(3, 2).text, QStringLiteral("cr\rhere"));
        QCOMPARE(s->value(3, 3).text, QStringLiteral("rich text"));
        QCOMPARE(s->value(3, 4).text, QStringLiteral("_x0041_ literal"));
        QVERIFY(s->value(4, 1).isEmpty());
        QCOMPARE(s->value(5, 1).text, QStringLiteral("after a gap"));
        QVERIFY(s->value(70000, 1).isEmpty());
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
        try {
            open(m_xlsx, 2);
            QFAIL("worksheet 2 was given");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), 9);
        }
    }

    void unreadableFilesAreRefusedInSpanish()
    {
        auto refusal = [this](const QString &path) {
            try {
                open(path);
            } catch (const AppError &e) {
                return e.description();
            }
            return QStringLiteral("(opened)");
        };
        const QString missing = m_dir.filePath(QStringLiteral("nada.xlsx"));
        QCOMPARE(refusal(missing), QStringLiteral("No se encuentra el archivo %1").arg(missing));
        QFile whole(m_xlsx);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QString cut = write(QStringLiteral("cortado.xlsx"), whole.readAll().chopped(whole.size() / 2));
        QCOMPARE(refusal(cut), QStringLiteral("El archivo %1 está dañado o incompleto y no se puede leer").arg(cut));
        const QString text = write(QStringLiteral("texto.xlsx"), "just some text\n");
        QCOMPARE(refusal(text), QStringLiteral("El archivo %1 no es un libro de cálculo que se pueda leer").arg(text));
        // A compound file naming an EncryptionInfo stream is a password-protected package.
        QByteArray ole = QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0');
        for (char c : QByteArray("EncryptionInfo"))
            ole.append(c).append('\0');
        const QString locked = write(QStringLiteral("cifrado.xlsx"), ole);
        QCOMPARE(refusal(locked),
                 QStringLiteral("El archivo %1 está cifrado (protegido con contraseña) y no se puede leer").arg(locked));
    }

    void csvRecognisedByContent()
    {
        const auto sheet = open(write(QStringLiteral("lista.txt"), "Código;Peso\r\nA-1;\"1,5\"\r\n"));
        QCOMPARE(sheet->value(1, 1).text, QStringLiteral("Código"));
        QCOMPARE(sheet->value(2, 2).text, QStringLiteral("1,5"));
    }
};

QTEST_GUILESS_MAIN(WorkbookEngineTest)
#include "WorkbookEngine_test.moc"
