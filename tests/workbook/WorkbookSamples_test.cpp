#include "components/ComponentRegistry.h"
#include "core/AppError.h"
#include "support/Fakes.h"
#include "workbook/ExcelApplication.h"
#include "workbook/OdsReader.h"
#include "workbook/WorkbookEngine.h"
#include "workbook/WorkbookFile.h"
#include "workbook/XlsReader.h"
#include "workbook/XlsxReader.h"
#include "workbook/XlsxSharedStrings.h"
#include "workbook/ZipPackage.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtEndian>
#include <QtTest>

// Every workbook of tests/data/workbooks (written by scripts/make-test-data.py) gives the
// cells its .json names, or is refused with the reason it names; then what the readers
// and the engine behind "Excel.Application" do beyond that.
class WorkbookSamplesTest : public QObject {
    Q_OBJECT

    static QString sample(const char *name)
    {
        return QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/workbooks/") + QLatin1String(name);
    }

    template <typename F> static QString refusal(F call) { return errorOf(call).description(); }

    static SheetData readOds(const QString &path, quint64 splitAbove, bool *halves, QString &error,
                             const ReadLimits &limits = WorkbookEngine::defaultLimits())
    {
        SheetData s;
        error = refusal([&] { s = OdsReader::readFirstSheet(ZipPackage(path), limits, splitAbove, halves); });
        return s;
    }

    static QPoint position(const QString &name)
    {
        static const QRegularExpression re(QStringLiteral("^([A-Z]+)(\\d+)$"));
        const auto m = re.match(name);
        int column = 0;
        for (const QChar c : m.captured(1))
            column = column * 26 + (c.unicode() - u'A' + 1);
        return {column, m.captured(2).toInt()};
    }

    static CellValue::Type type(const QString &code)
    {
        using T = CellValue::Type;
        static const QHash<QString, T> kTypes{{"T", T::Text},    {"N", T::Number}, {"D", T::DateTime},
                                              {"B", T::Boolean}, {"E", T::Error},  {"-", T::Empty}};
        return kTypes.value(code);
    }

    static SheetData read(const QString &path, const QJsonObject &expect)
    {
        ReadLimits limits = WorkbookEngine::defaultLimits();
        if (const QJsonArray l = expect.value("limits").toArray(); !l.isEmpty())
            limits = ReadLimits{l[0].toInt(), l[1].toInt()};
        // Straight to the .xls reader: a damaged one must not be taken for CSV text.
        return path.endsWith(QLatin1String(".xls")) ? XlsReader::readFirstSheet(path, limits)
                                                    : WorkbookFile::readFirstSheet(path, limits);
    }

private slots:
    void sample_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/workbooks"));
        const QStringList names = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
        QVERIFY(names.size() > 50);
        for (const QString &name : names)
            QTest::newRow(qPrintable(name.chopped(5))) << dir.filePath(name.chopped(5));
    }

    void sample()
    {
        QFETCH(QString, path);
        QFile f(path + QStringLiteral(".json"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QJsonObject expect = QJsonDocument::fromJson(f.readAll()).object();
        SheetData s;
        try {
            s = read(path, expect);
            QVERIFY2(!expect.contains("refused"), "the file was read");
        } catch (const AppError &e) {
            QCOMPARE(e.description(), QStringLiteral("El archivo %1 %2").arg(path, expect.value("refused").toString()));
            return;
        }
        if (expect.contains("rows"))
            QCOMPARE(s.rowCount(), expect.value("rows").toInt());
        const QJsonObject cells = expect.value("cells").toObject();
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const QJsonArray want = it.value().toArray();
            const QPoint at = position(it.key());
            const CellValue &v = s.at(at.y(), at.x());
            const CellValue::Type t = type(want[0].toString());
            const bool textual = t == CellValue::Type::Text || t == CellValue::Type::Error;
            const bool ok = v.type == t
                            && (textual ? v.text == want[1].toString()
                                        : t == CellValue::Type::Empty || v.number == want[1].toDouble());
            QVERIFY2(ok, qPrintable(QStringLiteral("%1: type %2 number %3 text '%4'")
                                        .arg(it.key())
                                        .arg(int(v.type))
                                        .arg(v.number, 0, 'g', 17)
                                        .arg(v.text.left(80))));
        }
    }

    // A big sheet is read in two halves on two cores. Wherever the middle of the part falls
    // (ods_halves_*), the cells are those one parse gives, row for row.
    void odsHalvesGiveWhatOneParseGives_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(sample(""));
        for (const QString &name : dir.entryList({QStringLiteral("*.ods")}, QDir::Files))
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }

    void odsHalvesGiveWhatOneParseGives()
    {
        QFETCH(QString, path);
        bool halves = false, unused = false;
        QString splitError, wholeError;
        const SheetData split = readOds(path, 0, &halves, splitError);
        const SheetData whole = readOds(path, ~0ull, &unused, wholeError);
        QCOMPARE(splitError, wholeError);
        // Only where the middle falls between rows of the first table are two halves used.
        if (path.contains(QLatin1String("ods_halves_")))
            QCOMPARE(halves, path.contains(QLatin1String("halves_split")));
        QCOMPARE(split.rowCount(), whole.rowCount());
        for (int r = 1; r <= whole.rowCount(); ++r) {
            for (int c = 1; c <= 16; ++c) {
                const CellValue &a = split.at(r, c);
                const CellValue &b = whole.at(r, c);
                QVERIFY2(
                    a.type == b.type && a.text == b.text && (a.number == b.number || a.number != a.number),
                    qPrintable(
                        QStringLiteral("row %1 column %2: \"%3\" against \"%4\"").arg(r).arg(c).arg(a.text, b.text)));
            }
        }
        // Keeping only 50 rows, the rest only noted as filled or not: the same notes both ways.
        ReadLimits few = WorkbookEngine::defaultLimits();
        few.keptRows = 50;
        const SheetData splitFew = readOds(path, 0, &unused, splitError, few);
        const SheetData wholeFew = readOds(path, ~0ull, &unused, wholeError, few);
        for (int r = 1; r <= 5000; ++r)
            QCOMPARE(splitFew.firstFilledColumn(r), wholeFew.firstFilledColumn(r));
    }

    // The fuzzing harnesses read packages from memory: every zip sample, and a few bytes
    // that are no zip, give there what the file gives, cells or refusal.
    void packageInMemoryReadsAsItsFile_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(sample(""));
        for (const QString &name :
             dir.entryList({QStringLiteral("*.xlsx"), QStringLiteral("*.ods"), QStringLiteral("*.csv")}, QDir::Files))
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }

    void packageInMemoryReadsAsItsFile()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const bool ods = path.endsWith(QLatin1String(".ods"));
        const ReadLimits limits = WorkbookEngine::defaultLimits();
        auto cells = [&](auto open) {
            QString all;
            try {
                const SheetData s = ods ? OdsReader::readFirstSheet(open(), limits)
                                        : XlsxReader::readFirstSheet(open(), limits);
                for (int r = 1; r <= s.rowCount(); ++r)
                    for (int c = 1; c <= 32; ++c)
                        all += QStringLiteral("|%1 %2 %3")
                                   .arg(int(s.at(r, c).type))
                                   .arg(s.at(r, c).number)
                                   .arg(s.at(r, c).text);
            } catch (const AppError &e) {
                all = e.description();
            }
            return all;
        };
        const QString fromFile = cells([&] { return ZipPackage(path); });
        QCOMPARE(cells([&] { return ZipPackage(bytes, path); }), fromFile);
        QVERIFY(!fromFile.isEmpty());
    }

    // A directory that claims more than the compressed bytes can give gets no memory
    // reserved for it: the size counts as unknown, and the part is read as it comes.
    void impossibleDeclaredSizeCountsAsUnknown()
    {
        const QString path = sample("ods_values.ods");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        const qint64 content = ZipPackage(bytes, path).find("content.xml");
        const quint64 real = ZipPackage(bytes, path).declaredSize(content);
        QVERIFY(real > 0);
        // The central directory entry of content.xml: its uncompressed size at offset 24.
        const qsizetype entry = bytes.indexOf(QByteArray("PK\x01\x02"), bytes.lastIndexOf("content.xml") - 46);
        QVERIFY(entry > 0 && bytes.mid(entry + 46, 11) == "content.xml");
        qToLittleEndian<quint32>(400000000u, bytes.data() + entry + 24);
        QCOMPARE(ZipPackage(bytes, path).declaredSize(content), quint64(0));
        // Read as it comes, the part gives the sheet the true size gives.
        const SheetData lied = OdsReader::readFirstSheet(ZipPackage(bytes, path), WorkbookEngine::defaultLimits(), 0);
        const SheetData told = OdsReader::readFirstSheet(ZipPackage(path), WorkbookEngine::defaultLimits(), 0);
        QCOMPARE(lied.rowCount(), told.rowCount());
        for (int r = 1; r <= told.rowCount(); ++r)
            for (int c = 1; c <= 16; ++c)
                QCOMPARE(lied.at(r, c).text + QString::number(lied.at(r, c).number),
                         told.at(r, c).text + QString::number(told.at(r, c).number));
    }

    void xlsxSharedStringTableHasAMemoryBudget()
    {
        // A thousand tiny strings fit in a small package; each costs far more in memory.
        const QString path = sample("xlsx_many_strings.xlsx");
        const ZipPackage package(path);
        const qint64 index = package.find("xl/sharedStrings.xml");
        QCOMPARE(XlsxSharedStrings(package, index).size(), std::size_t(1000));
        QCOMPARE(refusal([&] { XlsxSharedStrings(package, index, 50000); }),
                 QStringLiteral("El archivo %1 es demasiado grande para leerlo").arg(path));
    }

    // The engine keeps written cells in memory, has one worksheet and wants an existing file.
    void engineWorksheet()
    {
        const QString xlsx = sample("xlsxwriter_hidden_first.xlsx");
        auto open = [](const QString &path, int index = 1) {
            auto app = ComponentRegistry::create<ExcelApplication>(QStringLiteral("Excel.Application"));
            return app->openWorkbook(path, true, true, false)->worksheet(index);
        };
        const auto sheet = open(xlsx);
        sheet->setValue(1, 1, CellValue::fromText(QStringLiteral("nuevo")));
        sheet->setValue(1, 2, CellValue());
        QCOMPARE(sheet->value(1, 1).text, QStringLiteral("nuevo"));
        QVERIFY(sheet->value(1, 2).isEmpty());
        QCOMPARE(open(xlsx)->value(1, 1).text, QStringLiteral("Código"));
        QCOMPARE(refusal([&] { open(xlsx, 2); }), QStringLiteral("Subíndice fuera del intervalo"));
        const QString missing = xlsx + QStringLiteral(".nada");
        QCOMPARE(refusal([&] { open(missing); }), QStringLiteral("No se encuentra el archivo %1").arg(missing));
    }
};

QTEST_GUILESS_MAIN(WorkbookSamplesTest)
#include "WorkbookSamples_test.moc"
