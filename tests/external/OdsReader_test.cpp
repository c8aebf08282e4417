#include "external/workbook/OdsReader.h"
#include "external/workbook/WorkbookEngine.h"
#include "external/workbook/ZipPackage.h"
#include "platform/AppError.h"

#include <QDir>
#include <QtTest>

// A big sheet is read in two halves on two cores. Wherever the middle of the part falls
// (tests/data/workbooks/ods_halves_*), the cells are those one parse gives, row for row.
class OdsReaderTest : public QObject {
    Q_OBJECT

    static SheetData read(const QString &path, quint64 splitAbove, bool *halves, QString &error)
    {
        try {
            return OdsReader::readFirstSheet(ZipPackage(path), WorkbookEngine::defaultLimits(), splitAbove, halves);
        } catch (const AppError &e) {
            error = e.description();
        }
        return SheetData();
    }

private slots:
    void halvesGiveWhatOneParseGives_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/workbooks"));
        for (const QString &name : dir.entryList({QStringLiteral("*.ods")}, QDir::Files))
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }

    void halvesGiveWhatOneParseGives()
    {
        QFETCH(QString, path);
        bool halves = false, unused = false;
        QString splitError, wholeError;
        const SheetData split = read(path, 0, &halves, splitError);
        const SheetData whole = read(path, ~0ull, &unused, wholeError);
        QCOMPARE(splitError, wholeError);
        // Only where the middle falls between rows of the first table are two halves used.
        if (path.contains(QLatin1String("ods_halves_")))
            QCOMPARE(halves, path.contains(QLatin1String("halves_split")));
        QCOMPARE(split.rowCount(), whole.rowCount());
        for (int r = 1; r <= whole.rowCount(); ++r) {
            for (int c = 1; c <= 16; ++c) {
                const CellValue &a = split.at(r, c);
                const CellValue &b = whole.at(r, c);
                QVERIFY2(a.type == b.type && a.text == b.text && (a.number == b.number || a.number != a.number),
                         qPrintable(QStringLiteral("row %1 column %2: \"%3\" against \"%4\"").arg(r).arg(c).arg(a.text, b.text)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(OdsReaderTest)
#include "OdsReader_test.moc"
