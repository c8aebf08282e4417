#include "XlsTestFiles.h"
#include "external/workbook/XlsReader.h"
#include "platform/AppError.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace XlsTestFiles;

// The .xls reader on workbooks xlwt writes and on BIFF records built byte by byte, for
// what no writer at hand produces. The corpus walk compares real files.
class XlsReaderTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_written = 0;

    QString write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("crafted%1.xls").arg(++m_written));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    SheetData readBytes(const QByteArray &bytes) { return XlsReader::readFirstSheet(write(bytes)); }
    SheetData sample(const char *name) { return XlsReader::readFirstSheet(m_dir.filePath(QLatin1String(name))); }

    static QByteArray xf(quint16 format) { return record(0x00E0, u16(0) + u16(format) + QByteArray(16, '\0')); }
    static QByteArray format(quint16 id, const QString &code) { return record(0x041E, u16(id) + unicodeString(code)); }
    static QByteArray xlsFile(const QByteArray &stream, const QString &name = QStringLiteral("Workbook"))
    {
        return compoundFile({{name, stream}}).bytes;
    }
    static QByteArray number(int row, int column, double value, quint16 xf = 15)
    {
        return cell(0x0203, row, column, xf, f64(value));
    }
    // Fifteen style XFs, as Excel writes them, then the given cell XFs from 15 on.
    static QByteArray xfs(const QList<quint16> &cellFormats = {})
    {
        QByteArray out = xf(0).repeated(15);
        for (quint16 f : cellFormats)
            out += xf(f);
        return out;
    }

    static void verifyCell(const SheetData &s, int row, int column, CellValue::Type type, double number,
                           const QString &text = QString())
    {
        const CellValue &v = s.at(row, column);
        const QString where = QStringLiteral("R%1C%2: type %3 number %4 text '%5'")
                                  .arg(row).arg(column).arg(int(v.type)).arg(v.number, 0, 'g', 17).arg(v.text);
        QVERIFY2(v.type == type && v.number == number && v.text == text, qPrintable(where));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral(SORVANTA_SOURCE_DIR "/tests/external/data/make_xls_samples.py"), m_dir.path()});
        QVERIFY(python.waitForFinished(60000));
        QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    }

    void xlwtValuesOfEveryKind()
    {
        const SheetData s = sample("values.xls");
        using T = CellValue::Type;
        verifyCell(s, 1, 1, T::Text, 0, QStringLiteral("Código"));
        verifyCell(s, 2, 1, T::Number, 42);
        verifyCell(s, 3, 1, T::Number, 3.14159265358979);
        verifyCell(s, 3, 2, T::Number, -123456789);
        verifyCell(s, 4, 1, T::Text, 0, QStringLiteral("Año ñandú €uro"));
        verifyCell(s, 4, 2, T::Text, 0, QStringLiteral("uno\tdos\rtres\r\ncuatro"));
        verifyCell(s, 5, 1, T::Boolean, 1);
        verifyCell(s, 5, 2, T::Boolean, 0);
        verifyCell(s, 6, 1, T::Error, 0, QStringLiteral("#DIV/0!"));
        verifyCell(s, 6, 2, T::Error, 0, QStringLiteral("#N/A"));
        verifyCell(s, 7, 1, T::Empty, 0); // xlwt caches no formula result
        verifyCell(s, 8, 1, T::DateTime, 45351);
        verifyCell(s, 8, 2, T::DateTime, 1.5);
        verifyCell(s, 9, 1, T::Number, 45000.25);
        verifyCell(s, 9, 2, T::DateTime, 0.75);
        verifyCell(s, 11, 4, T::Number, 1e300);
        QCOMPARE(s.rowCount(), 11); // nothing of the hidden second sheet

        ReadLimits limits;
        limits.maxRows = 2;
        limits.maxColumns = 1;
        const SheetData cut = XlsReader::readFirstSheet(m_dir.filePath(QStringLiteral("values.xls")), limits);
        QCOMPARE(cut.rowCount(), 2);
        QVERIFY(cut.at(2, 2).isEmpty());

        // DATEMODE 1904: dates move to the 1900 system, plain numbers stay.
        const SheetData d = sample("dates1904.xls");
        verifyCell(d, 1, 1, CellValue::Type::DateTime, 44197);
        verifyCell(d, 1, 2, CellValue::Type::Number, 15);
    }

    void longSharedStringTable()
    {
        const SheetData s = sample("long_sst.xls");
        QCOMPARE(s.rowCount(), 3000);
        for (int i = 0; i < 3000; i += 7)
            QCOMPARE(s.at(i + 1, 1).text, QStringLiteral("Artículo número %1 con descripción").arg(i));
        QCOMPARE(s.at(3000, 1).text, QStringLiteral("Artículo número 2999 con descripción"));
        QString letters;
        for (int i = 0; i < 20000; ++i)
            letters += QChar(u'A' + i % 26);
        QCOMPARE(s.at(1, 2).text, letters);
        QCOMPARE(s.at(2, 2).text, QString(9000, QChar(0xF1)) + QString(100, QChar(0x3A9)));
    }

    void sharedStringsSplitAcrossContinueRecords()
    {
        // String 0: "Hola " 8-bit, then the CONTINUE restates the width and goes on 16-bit.
        // String 1: rich text (2 runs) with a phonetic block, its runs split over a boundary.
        QByteArray part1 = u32(3) + u32(3) + u16(10) + char(0) + QByteArray("Hola ");
        QByteArray part2 = QByteArray(1, char(1));
        for (QChar c : QStringLiteral("Ωmega"))
            part2 += u16(c.unicode());
        part2 += u16(3) + char(0x0C) + u16(2) + u32(6) + QByteArray("abc") + QByteArray(4, 'r');
        QByteArray part3 = QByteArray(4, 'r') + QByteArray(6, 'p') + unicodeString(QStringLiteral("fin"));
        const QByteArray globals = xfs() + record(0x00FC, part1) + record(0x003C, part2) + record(0x003C, part3);
        QByteArray cells;
        for (quint32 i : {0, 1, 2, 77})
            cells += cell(0x00FD, int(std::min(i, 3u)), 0, 15, u32(i));
        const SheetData s = readBytes(xlsFile(workbook(globals, {{cells}})));
        QCOMPARE(s.at(1, 1).text, QStringLiteral("Hola Ωmega"));
        QCOMPARE(s.at(2, 1).text, QStringLiteral("abc"));
        QCOMPARE(s.at(3, 1).text, QStringLiteral("fin"));
        QVERIFY(s.at(4, 1).isEmpty()); // an index past the table
    }

    void formulaCachedResults()
    {
        auto formula = [](int row, quint16 xf, const QByteArray &result) {
            return cell(0x0006, row, 0, xf, result + u16(0) + u32(0) + u16(3) + QByteArray("\x1E\x01\x00", 3));
        };
        auto special = [](quint8 type, quint8 value) {
            return QByteArray(1, char(type)) + char(0) + char(value) + QByteArray(3, '\0') + u16(0xFFFF);
        };
        // Text results come in the STRING record after the FORMULA (a SHRFMLA may sit between);
        // one whose STRING never comes has no value, and a stray STRING is ignored.
        const QByteArray cells = formula(0, 15, f64(2.5)) + formula(1, 16, f64(45351)) + formula(2, 15, special(0, 0))
                                 + record(0x04BC, QByteArray(10, '\0'))
                                 + record(0x0207, unicodeString(QStringLiteral("texto calculado")))
                                 + formula(3, 15, special(1, 1)) + formula(4, 15, special(2, 0x07))
                                 + formula(5, 15, special(3, 0)) + formula(6, 15, special(0, 0)) + number(7, 0, 8)
                                 + record(0x0207, unicodeString(QStringLiteral("huérfano")));
        const SheetData s = readBytes(xlsFile(workbook(xfs({0, 14}), {{cells}})));
        using T = CellValue::Type;
        verifyCell(s, 1, 1, T::Number, 2.5);
        verifyCell(s, 2, 1, T::DateTime, 45351);
        verifyCell(s, 3, 1, T::Text, 0, QStringLiteral("texto calculado"));
        verifyCell(s, 4, 1, T::Boolean, 1);
        verifyCell(s, 5, 1, T::Error, 0, QStringLiteral("#DIV/0!"));
        verifyCell(s, 6, 1, T::Empty, 0);
        verifyCell(s, 7, 1, T::Empty, 0);
        verifyCell(s, 8, 1, T::Number, 8);
    }

    void rkMulRkAndBoolErr()
    {
        // RK: integer 30 bits; x100 flag; high 30 bits of a double.
        auto rkInt = [](qint32 v, bool div100) { return u32(quint32(v << 2) | 2u | (div100 ? 1u : 0u)); };
        const QByteArray mulrk = u16(1) + u16(2) + u16(15) + rkInt(-7, false) + u16(15) + rkInt(12345, true) + u16(15)
                                 + u32(0x3FF40000) + u16(4);
        const QByteArray cells = cell(0x027E, 0, 0, 15, rkInt(-536870912, false)) + record(0x00BD, mulrk)
                                 + cell(0x00BE, 2, 0, 15, u16(15) + u16(15) + u16(2))
                                 + cell(0x0205, 3, 0, 15, QByteArray("\x00\x00", 2))
                                 + cell(0x0205, 3, 1, 15, QByteArray("\x17\x01", 2))
                                 + cell(0x0205, 3, 2, 15, QByteArray("\x24\x01", 2));
        const SheetData s = readBytes(xlsFile(workbook(xfs(), {{cells}})));
        using T = CellValue::Type;
        verifyCell(s, 1, 1, T::Number, -536870912);
        verifyCell(s, 2, 3, T::Number, -7);
        verifyCell(s, 2, 4, T::Number, 123.45);
        verifyCell(s, 2, 5, T::Number, 1.25);
        QVERIFY(s.at(3, 1).isEmpty()); // MULBLANK
        verifyCell(s, 4, 1, T::Boolean, 0);
        verifyCell(s, 4, 2, T::Error, 0, QStringLiteral("#REF!"));
        verifyCell(s, 4, 3, T::Error, 0, QStringLiteral("#NUM!"));
    }

    void numberFormatsDecideDates()
    {
        const QList<QPair<QString, bool>> custom{
            {QStringLiteral("dd/mm/yyyy"), true},          {QStringLiteral("0.00 \"hs\""), false},
            {QStringLiteral("[Red]#,##0.00;[Blue]-#,##0.00"), false}, {QStringLiteral("[h]:mm"), true},
            {QStringLiteral("[$-409]mmmm d, yyyy"), true}, {QStringLiteral("#,##0\\d"), false},
            {QStringLiteral("0.00E+00"), false},           {QStringLiteral("hh:mm AM/PM"), true},
            {QStringLiteral("General"), false},            {QStringLiteral("_(* #,##0_);_(@_)"), false},
        };
        // Built-in formats first: 14, 22, 45 and the East Asian 27-36, 50-58 are dates; 2, 37, 49, 0 are not.
        QList<QPair<quint16, bool>> formats{{14, true}, {22, true}, {45, true}, {27, true}, {36, true}, {50, true},
                                            {58, true}, {2, false}, {37, false}, {49, false}, {0, false}};
        QByteArray globals = format(0, QStringLiteral("Standard"));
        for (int i = 0; i < custom.size(); ++i) {
            globals += format(quint16(164 + i), custom[i].first);
            formats.append({quint16(164 + i), custom[i].second});
        }
        QList<quint16> ids;
        QByteArray cells;
        for (int i = 0; i < formats.size(); ++i) {
            ids << formats[i].first;
            cells += number(i, 0, 40000.5, quint16(15 + i));
        }
        const SheetData s = readBytes(xlsFile(workbook(globals + xfs(ids), {{cells}})));
        for (int i = 0; i < formats.size(); ++i) {
            QVERIFY2((s.at(i + 1, 1).type == CellValue::Type::DateTime) == formats[i].second,
                     qPrintable(QStringLiteral("format %1").arg(formats[i].first)));
            QCOMPARE(s.at(i + 1, 1).number, 40000.5);
        }
    }

    void eightBitTextFollowsTheCodepage_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("text");
        // A negative code page writes no CODEPAGE record; each character set gives a FONT record.
        auto biff5 = [](int codepage, const QByteArray &bytes, const QList<quint8> &charsets = {}) {
            QByteArray globals = codepage < 0 ? QByteArray() : record(0x0042, u16(quint16(codepage)));
            for (quint8 charset : charsets)
                globals += record(0x0031, QByteArray(12, '\0') + char(charset) + QByteArray(1, '\0') + char(5) + "Arial");
            globals += xfs();
            const QByteArray label = cell(0x0204, 0, 0, 15, u16(quint16(bytes.size())) + bytes);
            return xlsFile(workbook(globals, {{label}}, 0x0500), QStringLiteral("Book"));
        };
        auto biff8 = [](int codepage, const QByteArray &bytes) {
            const QByteArray globals = (codepage ? record(0x0042, u16(quint16(codepage))) : QByteArray()) + xfs();
            return xlsFile(workbook(globals, {{cell(0x0204, 0, 0, 15, u16(quint16(bytes.size())) + char(0) + bytes)}}));
        };
        QTest::newRow("BIFF5 without codepage: 1252") << biff5(0, "Se\xF1or \x80") << QStringLiteral("Señor €");
        QTest::newRow("BIFF5 1253 Greek") << biff5(1253, "\xC1\xE8\xDE\xED\xE1") << QStringLiteral("Αθήνα");
        QTest::newRow("BIFF5 850 DOS") << biff5(850, "a\xA4o") << QStringLiteral("año");
        QTest::newRow("BIFF5 no codepage, Cyrillic fonts: 1251")
            << biff5(-1, "\xCC\xEE\xF1\xEA\xE2\xE0", {0, 204, 204}) << QStringLiteral("Москва");
        QTest::newRow("BIFF5 no codepage, Turkish font: 1254") << biff5(-1, "\xFEi\xF0", {162}) << QStringLiteral("şiğ");
        QTest::newRow("BIFF5 no codepage, Western fonts: 1252") << biff5(-1, "Se\xF1or", {0, 1}) << QStringLiteral("Señor");
        QTest::newRow("BIFF5 CODEPAGE wins over fonts") << biff5(1253, "\xC1", {204}) << QStringLiteral("Α");
        QTest::newRow("BIFF8 Unicode workbook: Latin-1") << biff8(1200, "\x80\xF1") << QStringLiteral("\u0080ñ");
        QTest::newRow("BIFF8 without codepage: Latin-1") << biff8(0, "\xF1") << QStringLiteral("ñ");
        QTest::newRow("BIFF8 naming 1252") << biff8(1252, "\x80\xF1") << QStringLiteral("€ñ");
    }

    void eightBitTextFollowsTheCodepage()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, text);
        const SheetData s = readBytes(file);
        QCOMPARE(s.at(1, 1).type, CellValue::Type::Text);
        QCOMPARE(s.at(1, 1).text, text);
    }

    void firstWorksheetIsFound()
    {
        // In workbook order, past a chart sheet; a hidden worksheet still counts.
        const Sheet chart{number(0, 0, 1), 2, 0}, hidden{number(0, 0, 2), 0, 1}, visible{number(0, 0, 3), 0, 0};
        QCOMPARE(readBytes(xlsFile(workbook(xfs(), {chart, hidden, visible}))).at(1, 1).number, 2.0);

        // A chart embedded in the sheet gives none of its cells.
        const QByteArray cells = number(0, 0, 1) + bof(0x0600, 0x0020) + number(0, 0, 99) + number(5, 5, 99) + eof()
                                 + number(1, 0, 2);
        const SheetData s = readBytes(xlsFile(workbook(xfs(), {{cells}})));
        QCOMPARE(s.at(2, 1).number, 2.0);
        QVERIFY(s.at(6, 6).isEmpty());

        // A BOUNDSHEET offset pointing nowhere: the sheet after the globals is read.
        QByteArray stream = workbook(xfs(), {{number(0, 0, 7)}});
        putU32(stream, stream.indexOf(QByteArray("\x85\x00", 2)) + 4, 3);
        QCOMPARE(readBytes(xlsFile(stream)).at(1, 1).number, 7.0);
    }

    void unreadableWorkbooksAreRefused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("corpusFile");
        QTest::addColumn<QString>("reason");
        const QString damaged = QStringLiteral("está dañado o incompleto y no se puede leer");
        const QString notAWorkbook = QStringLiteral("no es un libro de cálculo que se pueda leer");
        const QString encrypted = QStringLiteral("está cifrado (protegido con contraseña) y no se puede leer");
        const QByteArray good = workbook(xfs(), {{number(0, 0, 1)}});
        const QString none;
        QTest::newRow("empty file") << QByteArray() << none << notAWorkbook;
        QTest::newRow("zip package") << QByteArray("PK\x03\x04", 4) + QByteArray(600, '\0') << none << notAWorkbook;
        QTest::newRow("no workbook stream") << compoundFile({{QStringLiteral("Other"), good}}).bytes << none << notAWorkbook;
        QTest::newRow("header cut short") << xlsFile(good).left(300) << none << damaged;
        QTest::newRow("stream without BOF") << xlsFile(good.mid(20)) << none << damaged;
        QTest::newRow("BIFF4 workbook") << xlsFile(record(0x0409, QByteArray(6, '\0')) + good) << none << damaged;
        QTest::newRow("sheet cut inside a record") << xlsFile(good.chopped(10)) << none << damaged;
        QTest::newRow("container cut short") << xlsFile(good + QByteArray(9000, '\0')).left(3000) << none << damaged;
        QTest::newRow("BIFF8 FILEPASS") << xlsFile(workbook(record(0x002F, u16(1) + QByteArray(52, '\x11')) + xfs(),
                                                            {{number(0, 0, 1)}}))
                                        << none << encrypted;
        QTest::newRow("BIFF5 FILEPASS") << xlsFile(workbook(record(0x002F, u32(0x12345678)), {{}}, 0x0500),
                                                   QStringLiteral("Book"))
                                        << none << encrypted;
        QTest::newRow("encrypted OOXML package")
            << compoundFile({{QStringLiteral("EncryptionInfo"), QByteArray(200, '\x04')},
                             {QStringLiteral("EncryptedPackage"), QByteArray(9000, '\x55')}}).bytes
            << none << encrypted;
        // Files from the corpus, which has no expected export for them.
        QTest::newRow("corpus text file") << QByteArray() << "cal_too_small.xls" << notAWorkbook;
        QTest::newRow("corpus truncated container") << QByteArray() << "poi_fuzz_hssf_4819588401201152.xls" << damaged;
        QTest::newRow("corpus xor") << QByteArray() << "sjs_password_2002_40_xor.xls" << encrypted;
        QTest::newRow("corpus rc4") << QByteArray() << "sjs_password_2002_128_strong.xls" << encrypted;
        QTest::newRow("corpus biff5 xor") << QByteArray() << "sjs_biff5_password_2002_40_xor.xls" << encrypted;
    }

    void unreadableWorkbooksAreRefused()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, corpusFile);
        QFETCH(QString, reason);
        const QString path = corpusFile.isEmpty() ? write(file) : QStringLiteral(SORVANTA_CORPUS_DIR "/xls/") + corpusFile;
        try {
            XlsReader::readFirstSheet(path);
            QFAIL("the file was read");
        } catch (const AppError &e) {
            QCOMPARE(e.description(), QStringLiteral("El archivo %1 %2").arg(path, reason));
            QCOMPARE(e.number(), 1004);
        }
    }
};

QTEST_GUILESS_MAIN(XlsReaderTest)
#include "XlsReader_test.moc"
