#include "external/workbook/CsvReader.h"

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

    void rowsBeyondTheLimitAreDropped()
    {
        const SheetData s = CsvReader::parse(QStringLiteral("t.csv"), "1\n2\n3\n4\n", ReadLimits{2, 10});
        QCOMPARE(s.rowCount(), 2);
        QCOMPARE(at(s, 2, 1), QStringLiteral("2"));
    }
};

QTEST_GUILESS_MAIN(CsvReaderTest)
#include "CsvReader_test.moc"
