#include "external/workbook/CsvReader.h"
#include "external/workbook/WorkbookFile.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

class CsvReaderTest : public QObject {
    Q_OBJECT

    static SheetData read(const QByteArray &bytes)
    {
        return CsvReader::parse(QStringLiteral("t.csv"), bytes, ReadLimits{65536, 16384});
    }
    static QString at(const SheetData &s, int r, int c) { return s.at(r, c).text; }

private slots:
    void delimiterFromFirstLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("semicolon") << QByteArray("a;b,c;d\n1;2,5;3\n");
        QTest::newRow("comma") << QByteArray("a,\"b;c\",d\n1,2,3\n");
        QTest::newRow("tab") << QByteArray("a\tb\td\n1\t2\t3\n");
    }
    void delimiterFromFirstLine()
    {
        QFETCH(QByteArray, bytes);
        const SheetData s = read(bytes);
        QCOMPARE(at(s, 1, 1), QStringLiteral("a"));
        QCOMPARE(at(s, 1, 3), QStringLiteral("d"));
        QCOMPARE(at(s, 2, 3), QStringLiteral("3"));
        QCOMPARE(s.rowCount(), 2);
    }

    void quotesAndLineBreaks()
    {
        const SheetData s = read("x;\"he said \"\"hi\"\"\";\"two\r\nlines\";\"a;b\"\r\n\"\";\"\"\"\";\"bare\rcr\"\r\nlast;row");
        QCOMPARE(at(s, 1, 2), QStringLiteral("he said \"hi\""));
        QCOMPARE(at(s, 1, 3), QStringLiteral("two\nlines"));
        QCOMPARE(at(s, 1, 4), QStringLiteral("a;b"));
        QVERIFY(s.at(2, 1).isEmpty());
        QCOMPARE(at(s, 2, 2), QStringLiteral("\""));
        QCOMPARE(at(s, 2, 3), QStringLiteral("bare\rcr"));
        QCOMPARE(at(s, 3, 2), QStringLiteral("row"));
        QCOMPARE(s.rowCount(), 3);
    }

    void lineEndsAndEmptyRows()
    {
        const SheetData s = read("a\rb\n\nc\r\n");
        QCOMPARE(at(s, 1, 1), QStringLiteral("a"));
        QCOMPARE(at(s, 2, 1), QStringLiteral("b"));
        QVERIFY(s.at(3, 1).isEmpty());
        QCOMPARE(at(s, 4, 1), QStringLiteral("c"));
        QCOMPARE(s.rowCount(), 4);
    }

    void encodings()
    {
        // BOM dropped; valid UTF-8 kept; lone Windows-1252 bytes (0x80 euro, 0xE9 e acute) mapped.
        QCOMPARE(at(read("\xEF\xBB\xBFpi\xC3\xB1" "a,x"), 1, 1), QStringLiteral("pi\u00F1a"));
        QCOMPARE(at(read("\x80 10,caf\xE9"), 1, 1), QStringLiteral("\u20AC 10"));
        QCOMPARE(at(read("\x80 10,caf\xE9"), 1, 2), QStringLiteral("caf\u00E9"));
        QCOMPARE(at(read("\x93q\x94"), 1, 1), QStringLiteral("\u201Cq\u201D"));
        QCOMPARE(at(read("\xF0\x9F\x98\x80"), 1, 1), QStringLiteral("\U0001F600"));
    }

    // Excel's "Unicode Text" is UTF-16 LE and TAB-separated; any UTF-16 file with a
    // byte-order mark reads as its UTF-8 form, from the file as the engine opens it.
    void unicodeTextReadsLikeUtf8_data()
    {
        QTest::addColumn<bool>("bigEndian");
        QTest::addColumn<QString>("delimiter");
        QTest::newRow("UTF-16 LE, TAB") << false << QStringLiteral("\t");
        QTest::newRow("UTF-16 LE, semicolon") << false << QStringLiteral(";");
        QTest::newRow("UTF-16 BE, comma") << true << QStringLiteral(",");
    }
    void unicodeTextReadsLikeUtf8()
    {
        QFETCH(bool, bigEndian);
        QFETCH(QString, delimiter);
        const QString text = QStringLiteral("Código|Descripción\r\nA-1|\"Ñandú | 1,5 €\"\r\n東京|\U0001F600\r\n")
                                 .replace(QLatin1Char('|'), delimiter);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lista.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QStringEncoder encoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                               QStringConverter::Flag::WriteBom);
        file.write(encoder.encode(text));
        file.close();
        const SheetData s = WorkbookFile::readFirstSheet(path, ReadLimits{65536, 16384});
        const SheetData utf8 = read(text.toUtf8());
        QCOMPARE(s.rowCount(), 3);
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 2; ++c)
                QCOMPARE(at(s, r, c), at(utf8, r, c));
        QCOMPARE(at(s, 2, 2), QStringLiteral("Ñandú %1 1,5 €").arg(delimiter));
    }

    void rowsBeyondTheLimitAreDropped()
    {
        const SheetData s = CsvReader::parse(QStringLiteral("t.csv"), "1\n2\n3\n4\n", ReadLimits{2, 10});
        QCOMPARE(s.rowCount(), 2);
        QCOMPARE(at(s, 2, 1), QStringLiteral("2"));
    }
};

QTEST_GUILESS_MAIN(CsvReaderTest)
#include "CsvReader_test.moc"
