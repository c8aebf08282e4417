#include "XlsCorpusCompare.h"
#include "external/workbook/XlsReader.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

class XlsReaderTest : public QObject {
    Q_OBJECT

private slots:
    void corpusFilesReadAsShown_data();
    void corpusFilesReadAsShown();
    void unreadableCorpusFilesAreRefused_data();
    void unreadableCorpusFilesAreRefused();
};

namespace {
QString corpus(const QString &relative)
{
    return QStringLiteral(SORVANTA_CORPUS_DIR "/") + relative;
}

QString readUtf8(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}
} // namespace

// Cells whose shown text is not the value the file holds: formulas LibreOffice recalculates
// or cannot run (the file's cached result is what is read), an elapsed-time format counted
// from the 1904 epoch, and a minutes-seconds format with no date parts to compare.
QStringList notComparable(const QString &file)
{
    if (file == u"sjs_ErrorTypes.xls")
        return {QStringLiteral("F2"), QStringLiteral("G13")};
    if (file == u"cal_date_1904.xls")
        return {QStringLiteral("A3")};
    if (file == u"sjs_biff5_number_format_greek.xls") {
        QStringList cells{QStringLiteral("B27"), QStringLiteral("F27")};
        for (int row = 2; row <= 29; ++row)
            cells << QStringLiteral("C%1").arg(row) << QStringLiteral("D%1").arg(row);
        return cells;
    }
    return {};
}

void XlsReaderTest::corpusFilesReadAsShown_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("recalculated");
    const QDir dir(corpus(QStringLiteral("xls")));
    for (const QString &name : dir.entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name)) {
        if (!QFileInfo::exists(corpus(QStringLiteral("expected/%1.csv").arg(name))))
            continue;
        QTest::newRow(qPrintable(name)) << name << notComparable(name);
    }
}

void XlsReaderTest::corpusFilesReadAsShown()
{
    QFETCH(QString, file);
    QFETCH(QStringList, recalculated);
    const SheetData sheet = XlsReader::readFirstSheet(corpus(QStringLiteral("xls/") + file));
    const auto expected = XlsCorpusCompare::parseCsv(readUtf8(corpus(QStringLiteral("expected/%1.csv").arg(file))));
    const QStringList diff = XlsCorpusCompare::differences(sheet, expected, recalculated);
    if (!diff.isEmpty())
        qWarning().noquote() << diff.join(u'\n');
    QVERIFY2(diff.isEmpty(), qPrintable(diff.value(0)));
}

void XlsReaderTest::unreadableCorpusFilesAreRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    const QString damaged = QStringLiteral("está dañado o no es un libro de Excel");
    const QString encrypted = QStringLiteral("está cifrado (protegido con contraseña) y no se puede leer");
    QTest::newRow("text file") << "cal_too_small.xls" << damaged;
    QTest::newRow("truncated container") << "poi_fuzz_hssf_4819588401201152.xls" << damaged;
    QTest::newRow("xor") << "sjs_password_2002_40_xor.xls" << encrypted;
    QTest::newRow("rc4") << "sjs_password_2002_128_strong.xls" << encrypted;
    QTest::newRow("biff5 xor") << "sjs_biff5_password_2002_40_xor.xls" << encrypted;
}

void XlsReaderTest::unreadableCorpusFilesAreRefused()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    const QString path = corpus(QStringLiteral("xls/") + file);
    try {
        XlsReader::readFirstSheet(path);
        QFAIL("the file was read");
    } catch (const AppError &e) {
        QCOMPARE(e.number(), 1004);
        QCOMPARE(e.description(), QStringLiteral("El archivo %1 %2").arg(path, reason));
    }
}

QTEST_GUILESS_MAIN(XlsReaderTest)
#include "XlsReader_test.moc"
