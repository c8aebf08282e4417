#include "XlsTestFiles.h"
#include "external/workbook/CompoundFile.h"
#include "external/workbook/XlsFileError.h"

#include <QtTest>

using namespace XlsTestFiles;

// The compound file container on files built sector by sector: streams come back intact,
// quirks real writers leave are tolerated, and damage is refused rather than followed.
class CompoundFileTest : public QObject {
    Q_OBJECT

private slots:
    void streamsComeBackByteForByte_data();
    void streamsComeBackByteForByte();
    void writerQuirksAreTolerated();
    void damagedContainersAreRefused_data();
    void damagedContainersAreRefused();
};

namespace {
QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 31 + seed * 7 + i / 251) & 0xFF);
    return b;
}

const QList<QPair<QString, QByteArray>> kStreams{
    {QStringLiteral("Workbook"), pattern(70000, 1)},
    {QStringLiteral("\x05SummaryInformation"), pattern(300, 2)},
    {QStringLiteral("Small"), pattern(4095, 3)},
    {QStringLiteral("Exact"), pattern(4096, 4)},
};

bool refused(const QByteArray &bytes, const QString &stream)
{
    try {
        const CompoundFile file(bytes);
        file.stream(stream);
        return false;
    } catch (const XlsFileError &e) {
        return e.kind() != XlsFileError::Kind::Encrypted;
    }
}
} // namespace

void CompoundFileTest::streamsComeBackByteForByte_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("minFatSectors");
    QTest::newRow("512-byte sectors") << 3 << 0;
    QTest::newRow("4096-byte sectors") << 4 << 0;
    // More FAT sectors than the header lists: the rest are found through DIFAT sectors.
    QTest::newRow("DIFAT extension") << 3 << 300;
}

void CompoundFileTest::streamsComeBackByteForByte()
{
    QFETCH(int, version);
    QFETCH(int, minFatSectors);
    const Container c = compoundFile(kStreams, version, quint32(minFatSectors));
    const CompoundFile file(c.bytes);
    for (const auto &s : kStreams) {
        QVERIFY2(file.hasStream(s.first), qPrintable(s.first));
        QCOMPARE(file.stream(s.first), s.second);
    }
    QVERIFY(!file.hasStream(QStringLiteral("Book")));
    QVERIFY(file.stream(QStringLiteral("Book")).isEmpty());
}

void CompoundFileTest::writerQuirksAreTolerated()
{
    // Names match without letter case, but whole.
    const CompoundFile upper(compoundFile({{QStringLiteral("WORKBOOK"), pattern(5000, 5)}}).bytes);
    QCOMPARE(upper.stream(QStringLiteral("Workbook")), pattern(5000, 5));
    QVERIFY(!upper.hasStream(QStringLiteral("Workboo")));

    // The last sector of a stream chained on into the next one: cut at the stream's size.
    Container c = compoundFile({{QStringLiteral("A"), pattern(5000, 6)}, {QStringLiteral("B"), pattern(6000, 7)}});
    putU32(c.bytes, c.fatEntryOffset(c.streamStarts[0] + 9), c.streamStarts[1]);
    QCOMPARE(CompoundFile(c.bytes).stream(QStringLiteral("A")), pattern(5000, 6));

    // The last entry's left link points nowhere: the other entries are still found.
    c = compoundFile(kStreams);
    putU32(c.bytes, c.dirEntryOffset(4) + 0x44, 9999);
    const CompoundFile file(c.bytes);
    QCOMPARE(file.stream(QStringLiteral("Exact")), pattern(4096, 4));
    QCOMPARE(file.stream(QStringLiteral("Workbook")), pattern(70000, 1));
}

void CompoundFileTest::damagedContainersAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("stream");
    const Container good = compoundFile(kStreams);
    const QString wb = QStringLiteral("Workbook");
    auto patched = [](QByteArray b, qsizetype offset, quint32 value) {
        putU32(b, offset, value);
        return b;
    };
    const qsizetype inWorkbook = good.fatEntryOffset(good.streamStarts[0] + 5);
    QTest::newRow("text file") << QByteArray("Attachment: not a workbook\r\n").repeated(40) << wb;
    QTest::newRow("header only") << good.bytes.left(512) << wb;
    QTest::newRow("cut in the middle of a stream") << good.bytes.left(good.bytes.size() / 3) << wb;
    QTest::newRow("cyclic chain") << patched(good.bytes, inWorkbook, good.streamStarts[0] + 2) << wb;
    QTest::newRow("chain out of range") << patched(good.bytes, inWorkbook, 0x00FFFFFF) << wb;
    QTest::newRow("chain ends early") << patched(good.bytes, inWorkbook, 0xFFFFFFFE) << wb;
    QTest::newRow("absurd stream size") << patched(good.bytes, good.dirEntryOffset(1) + 0x78, 0xFFFFFF00) << wb;
    QTest::newRow("absurd FAT size") << patched(good.bytes, 0x2C, 0x10000000) << wb;
    QTest::newRow("directory out of range") << patched(good.bytes, 0x30, 0x00FFFFFF) << wb;
    QTest::newRow("absurd mini stream size") << patched(good.bytes, good.dirEntryOffset(0) + 0x78, 0x7FFFFFFF)
                                             << QStringLiteral("Small");
    QByteArray b = good.bytes;
    b[0x1E] = 30;
    QTest::newRow("absurd sector size") << b << wb;
    // The DIFAT sector names itself as the next one.
    b = compoundFile(kStreams, 3, 300).bytes;
    const quint32 difat = qFromLittleEndian<quint32>(b.constData() + 0x44);
    QTest::newRow("cyclic DIFAT") << patched(patched(b, 0x2C, 600), qsizetype(difat + 1) * 512 + 508, difat) << wb;
}

void CompoundFileTest::damagedContainersAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, stream);
    QVERIFY(refused(bytes, stream));
}

QTEST_GUILESS_MAIN(CompoundFileTest)
#include "CompoundFile_test.moc"
