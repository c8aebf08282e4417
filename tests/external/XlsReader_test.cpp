#include "XlsCorpusCompare.h"
#include "XlsTestFiles.h"
#include "external/workbook/XlsReader.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace XlsTestFiles;

class XlsReaderTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void xlwtValuesOfEveryKind();
    void xlwt1904DatesCountFrom1900();
    void xlwtLongSharedStringTable();
    void limitsLeaveOutFartherCells();
    void sharedStringsSplitAcrossContinueRecords();
    void formulaCachedResults();
    void rkAndMulRkNumbers();
    void numberFormatsDecideDates();
    void eightBitTextFollowsTheCodepage_data();
    void eightBitTextFollowsTheCodepage();
    void firstWorksheetInWorkbookOrder();
    void chartInsideTheSheetIsSkipped();
    void wrongSheetOffsetFallsBackToTheFirstSheet();
    void encryptedWorkbooksAreRefused_data();
    void encryptedWorkbooksAreRefused();
    void damagedWorkbooksAreRefused_data();
    void damagedWorkbooksAreRefused();
    void missingFileIsReported();
    void corpusFilesReadAsShown_data();
    void corpusFilesReadAsShown();
    void unreadableCorpusFilesAreRefused_data();
    void unreadableCorpusFilesAreRefused();

private:
    QString write(const QByteArray &bytes);
    SheetData readBytes(const QByteArray &bytes);
    QString errorFor(const QByteArray &bytes);

    QTemporaryDir m_dir;
    int m_written = 0;
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

namespace {
const QString kDamaged = QStringLiteral("está dañado o incompleto y no se puede leer");
const QString kNotAWorkbook = QStringLiteral("no es un libro de cálculo que se pueda leer");
const QString kEncrypted = QStringLiteral("está cifrado (protegido con contraseña) y no se puede leer");

QByteArray xf(quint16 format)
{
    return record(0x00E0, u16(0) + u16(format) + QByteArray(16, '\0'));
}

QByteArray format(quint16 id, const QString &code)
{
    return record(0x041E, u16(id) + unicodeString(code));
}

// Globals with fifteen style XFs, as Excel writes them, then the given cell XFs from 15 on.
QByteArray xfs(const QList<quint16> &cellFormats)
{
    QByteArray out;
    for (int i = 0; i < 15; ++i)
        out += xf(0);
    for (quint16 f : cellFormats)
        out += xf(f);
    return out;
}

QByteArray xlsFile(const QByteArray &workbookStream, const QString &streamName = QStringLiteral("Workbook"))
{
    return compoundFile({{streamName, workbookStream}}).bytes;
}

QByteArray number(int row, int column, double value, quint16 xf = 15)
{
    return cell(0x0203, row, column, xf, f64(value));
}

void verifyCell(const SheetData &sheet, int row, int column, CellValue::Type type, double number,
                const QString &text = QString())
{
    const CellValue &v = sheet.at(row, column);
    const QString where = QStringLiteral("row %1 column %2").arg(row).arg(column);
    QVERIFY2(v.type == type, qPrintable(where + QStringLiteral(" type %1").arg(int(v.type))));
    QVERIFY2(v.number == number, qPrintable(where + QStringLiteral(" number %1").arg(v.number, 0, 'g', 17)));
    QVERIFY2(v.text == text, qPrintable(where + QStringLiteral(" text ") + v.text));
}
} // namespace

QString XlsReaderTest::write(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("crafted%1.xls").arg(++m_written));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

SheetData XlsReaderTest::readBytes(const QByteArray &bytes)
{
    return XlsReader::readFirstSheet(write(bytes));
}

QString XlsReaderTest::errorFor(const QByteArray &bytes)
{
    const QString path = write(bytes);
    try {
        XlsReader::readFirstSheet(path);
    } catch (const AppError &e) {
        // What the description says about the file, after "El archivo <path> ".
        const QString prefix = QStringLiteral("El archivo ") + path + u' ';
        return e.description().startsWith(prefix) ? e.description().mid(prefix.size()) : e.description();
    }
    return QStringLiteral("(read without error)");
}

void XlsReaderTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(SORVANTA_SOURCE_DIR "/tests/external/data/make_xls_samples.py"), m_dir.path()});
    QVERIFY(python.waitForFinished(60000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
}

void XlsReaderTest::xlwtValuesOfEveryKind()
{
    const SheetData s = XlsReader::readFirstSheet(m_dir.filePath(QStringLiteral("values.xls")));
    using T = CellValue::Type;
    verifyCell(s, 1, 1, T::Text, 0, QStringLiteral("Código"));
    verifyCell(s, 1, 2, T::Text, 0, QStringLiteral("Descripción"));
    verifyCell(s, 2, 1, T::Number, 42);
    verifyCell(s, 2, 2, T::Number, 1234.5);
    verifyCell(s, 3, 1, T::Number, 3.14159265358979);
    verifyCell(s, 3, 2, T::Number, -123456789);
    verifyCell(s, 4, 1, T::Text, 0, QStringLiteral("Año ñandú €uro"));
    verifyCell(s, 4, 2, T::Text, 0, QStringLiteral("uno\tdos\rtres\r\ncuatro"));
    verifyCell(s, 5, 1, T::Boolean, 1);
    verifyCell(s, 5, 2, T::Boolean, 0);
    verifyCell(s, 6, 1, T::Error, 0, QStringLiteral("#DIV/0!"));
    verifyCell(s, 6, 2, T::Error, 0, QStringLiteral("#N/A"));
    verifyCell(s, 6, 3, T::Error, 0, QStringLiteral("#VALUE!"));
    // xlwt writes formulas with an empty cached result: there is no value to give.
    verifyCell(s, 7, 1, T::Empty, 0);
    verifyCell(s, 8, 1, T::DateTime, 45351);
    verifyCell(s, 8, 2, T::DateTime, 1.5);
    verifyCell(s, 9, 1, T::Number, 45000.25);
    verifyCell(s, 9, 2, T::DateTime, 0.75);
    verifyCell(s, 11, 4, T::Number, 1e300);
    // Nothing of the hidden second sheet.
    QCOMPARE(s.rowCount(), 11);
}

void XlsReaderTest::xlwt1904DatesCountFrom1900()
{
    const SheetData s = XlsReader::readFirstSheet(m_dir.filePath(QStringLiteral("dates1904.xls")));
    verifyCell(s, 1, 1, CellValue::Type::DateTime, 44197);
    verifyCell(s, 1, 2, CellValue::Type::Number, 15);
}

void XlsReaderTest::xlwtLongSharedStringTable()
{
    const SheetData s = XlsReader::readFirstSheet(m_dir.filePath(QStringLiteral("long_sst.xls")));
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

void XlsReaderTest::limitsLeaveOutFartherCells()
{
    ReadLimits limits;
    limits.maxRows = 2;
    limits.maxColumns = 1;
    const SheetData s = XlsReader::readFirstSheet(m_dir.filePath(QStringLiteral("values.xls")), limits);
    QCOMPARE(s.rowCount(), 2);
    QCOMPARE(s.at(2, 1).number, 42.0);
    QVERIFY(s.at(2, 2).isEmpty());
}

void XlsReaderTest::sharedStringsSplitAcrossContinueRecords()
{
    // String 0: "Hola " 8-bit, then the CONTINUE restates the width and goes on 16-bit.
    // String 1: rich text (2 runs) with a phonetic block, its runs split over a boundary.
    // String 2: after all that, plain.
    QByteArray part1 = u32(3) + u32(3) + u16(10) + char(0) + QByteArray("Hola ");
    QByteArray part2 = QByteArray(1, char(1));
    for (QChar c : QStringLiteral("Ωmega"))
        part2 += u16(c.unicode());
    part2 += u16(3) + char(0x0C) + u16(2) + u32(6) + QByteArray("abc") + QByteArray(4, 'r');
    QByteArray part3 = QByteArray(4, 'r') + QByteArray(6, 'p') + unicodeString(QStringLiteral("fin"));
    const QByteArray globals = xfs({}) + record(0x00FC, part1) + record(0x003C, part2) + record(0x003C, part3);
    QByteArray cells;
    for (quint32 i = 0; i < 3; ++i)
        cells += cell(0x00FD, int(i), 0, 15, u32(i));
    cells += cell(0x00FD, 3, 0, 15, u32(77));
    const SheetData s = readBytes(xlsFile(workbook(globals, {{cells}})));
    QCOMPARE(s.at(1, 1).text, QStringLiteral("Hola Ωmega"));
    QCOMPARE(s.at(2, 1).text, QStringLiteral("abc"));
    QCOMPARE(s.at(3, 1).text, QStringLiteral("fin"));
    // An index past the table leaves the cell empty.
    QVERIFY(s.at(4, 1).isEmpty());
}

void XlsReaderTest::formulaCachedResults()
{
    auto formula = [](int row, quint16 xf, const QByteArray &result) {
        return cell(0x0006, row, 0, xf, result + u16(0) + u32(0) + u16(3) + QByteArray("\x1E\x01\x00", 3));
    };
    auto special = [](quint8 type, quint8 value) {
        return QByteArray(1, char(type)) + char(0) + char(value) + QByteArray(3, '\0') + u16(0xFFFF);
    };
    const QByteArray globals = xfs({0, 14});
    QByteArray cells = formula(0, 15, f64(2.5)) + formula(1, 16, f64(45351)) +
                       formula(2, 15, special(0, 0)) + record(0x04BC, QByteArray(10, '\0')) +
                       record(0x0207, unicodeString(QStringLiteral("texto calculado"))) +
                       formula(3, 15, special(1, 1)) + formula(4, 15, special(2, 0x07)) +
                       formula(5, 15, special(3, 0)) +
                       // A text result whose STRING record never comes: no value.
                       formula(6, 15, special(0, 0)) + number(7, 0, 8) +
                       record(0x0207, unicodeString(QStringLiteral("huérfano")));
    const SheetData s = readBytes(xlsFile(workbook(globals, {{cells}})));
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

void XlsReaderTest::rkAndMulRkNumbers()
{
    // RK: integer 30 bits; x100 flag; high 30 bits of a double.
    auto rkInt = [](qint32 v, bool div100) { return u32(quint32(v << 2) | 2u | (div100 ? 1u : 0u)); };
    const QByteArray mulrk = u16(1) + u16(2) + u16(15) + rkInt(-7, false) + u16(15) + rkInt(12345, true) +
                             u16(15) + u32(0x3FF40000) + u16(4);
    QByteArray cells = cell(0x027E, 0, 0, 15, rkInt(-536870912, false)) + record(0x00BD, mulrk) +
                       cell(0x00BE, 2, 0, 15, u16(15) + u16(15) + u16(2)) +
                       cell(0x0205, 3, 0, 15, QByteArray("\x00\x00", 2)) +
                       cell(0x0205, 3, 1, 15, QByteArray("\x17\x01", 2)) +
                       cell(0x0205, 3, 2, 15, QByteArray("\x24\x01", 2));
    const SheetData s = readBytes(xlsFile(workbook(xfs({}), {{cells}})));
    using T = CellValue::Type;
    verifyCell(s, 1, 1, T::Number, -536870912);
    verifyCell(s, 2, 3, T::Number, -7);
    verifyCell(s, 2, 4, T::Number, 123.45);
    verifyCell(s, 2, 5, T::Number, 1.25);
    QVERIFY(s.at(3, 1).isEmpty());
    verifyCell(s, 4, 1, T::Boolean, 0);
    verifyCell(s, 4, 2, T::Error, 0, QStringLiteral("#REF!"));
    verifyCell(s, 4, 3, T::Error, 0, QStringLiteral("#NUM!"));
}

void XlsReaderTest::numberFormatsDecideDates()
{
    const QList<QPair<QString, bool>> custom{
        {QStringLiteral("dd/mm/yyyy"), true},
        {QStringLiteral("0.00 \"hs\""), false},
        {QStringLiteral("[Red]#,##0.00;[Blue]-#,##0.00"), false},
        {QStringLiteral("[h]:mm"), true},
        {QStringLiteral("[$-409]mmmm d, yyyy"), true},
        {QStringLiteral("#,##0\\d"), false},
        {QStringLiteral("0.00E+00"), false},
        {QStringLiteral("hh:mm AM/PM"), true},
        {QStringLiteral("General"), false},
        {QStringLiteral("_(* #,##0_);_(@_)"), false},
    };
    QByteArray globals = format(0, QStringLiteral("Standard"));
    QList<quint16> cellFormats{14, 22, 45, 2, 49, 0};
    for (int i = 0; i < custom.size(); ++i) {
        globals += format(quint16(164 + i), custom[i].first);
        cellFormats << quint16(164 + i);
    }
    globals += xfs(cellFormats);
    QByteArray cells;
    for (int i = 0; i < cellFormats.size(); ++i)
        cells += number(i, 0, 40000.5, quint16(15 + i));
    const SheetData s = readBytes(xlsFile(workbook(globals, {{cells}})));
    const QList<bool> builtIn{true, true, true, false, false, false};
    for (int i = 0; i < cellFormats.size(); ++i) {
        const bool date = i < builtIn.size() ? builtIn[i] : custom[i - builtIn.size()].second;
        QVERIFY2((s.at(i + 1, 1).type == CellValue::Type::DateTime) == date,
                 qPrintable(QStringLiteral("format %1").arg(cellFormats[i])));
        QCOMPARE(s.at(i + 1, 1).number, 40000.5);
    }
}

void XlsReaderTest::eightBitTextFollowsTheCodepage_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    auto biff5 = [](int codepage, const QByteArray &bytes) {
        const QByteArray globals = record(0x0042, u16(quint16(codepage))) + xfs({});
        const QByteArray label = cell(0x0204, 0, 0, 15, u16(quint16(bytes.size())) + bytes);
        return xlsFile(workbook(globals, {{label}}, 0x0500), QStringLiteral("Book"));
    };
    auto biff8 = [](int codepage, const QByteArray &bytes) {
        const QByteArray globals = (codepage ? record(0x0042, u16(quint16(codepage))) : QByteArray()) + xfs({});
        const QByteArray label = cell(0x0204, 0, 0, 15, u16(quint16(bytes.size())) + char(0) + bytes);
        return xlsFile(workbook(globals, {{label}}));
    };
    QTest::newRow("BIFF5 without codepage: 1252") << biff5(0, "Se\xF1or \x80") << QStringLiteral("Señor €");
    QTest::newRow("BIFF5 1253 Greek") << biff5(1253, "\xC1\xE8\xDE\xED\xE1") << QStringLiteral("Αθήνα");
    QTest::newRow("BIFF5 10000 Mac Roman") << biff5(10000, "Espa\x96" "a \x8E") << QStringLiteral("España é");
    QTest::newRow("BIFF5 1251 Cyrillic") << biff5(1251, "\xCC\xEE\xF1\xEA\xE2\xE0") << QStringLiteral("Москва");
    QTest::newRow("BIFF5 850 DOS") << biff5(850, "a\xA4o") << QStringLiteral("año");
    QTest::newRow("BIFF8 Unicode workbook: Latin-1") << biff8(1200, "\x80\xF1") << QStringLiteral("\u0080ñ");
    QTest::newRow("BIFF8 without codepage: Latin-1") << biff8(0, "\xF1") << QStringLiteral("ñ");
    QTest::newRow("BIFF8 naming 1252") << biff8(1252, "\x80\xF1") << QStringLiteral("€ñ");
}

void XlsReaderTest::eightBitTextFollowsTheCodepage()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    const SheetData s = readBytes(file);
    QCOMPARE(s.at(1, 1).type, CellValue::Type::Text);
    QCOMPARE(s.at(1, 1).text, text);
}

void XlsReaderTest::firstWorksheetInWorkbookOrder()
{
    Sheet chart{number(0, 0, 1), 2, 0};
    Sheet hidden{number(0, 0, 2), 0, 1};
    Sheet visible{number(0, 0, 3), 0, 0};
    const SheetData s = readBytes(xlsFile(workbook(xfs({}), {chart, hidden, visible})));
    QCOMPARE(s.at(1, 1).number, 2.0);
}

void XlsReaderTest::chartInsideTheSheetIsSkipped()
{
    const QByteArray cells = number(0, 0, 1) + bof(0x0600, 0x0020) + number(0, 0, 99) + number(5, 5, 99) + eof() +
                             number(1, 0, 2);
    const SheetData s = readBytes(xlsFile(workbook(xfs({}), {{cells}})));
    QCOMPARE(s.at(1, 1).number, 1.0);
    QCOMPARE(s.at(2, 1).number, 2.0);
    QVERIFY(s.at(6, 6).isEmpty());
}

void XlsReaderTest::wrongSheetOffsetFallsBackToTheFirstSheet()
{
    QByteArray stream = workbook(xfs({}), {{number(0, 0, 7)}});
    const qsizetype boundSheet = stream.indexOf(QByteArray("\x85\x00", 2));
    putU32(stream, boundSheet + 4, 3);
    QCOMPARE(readBytes(xlsFile(stream)).at(1, 1).number, 7.0);
}

void XlsReaderTest::encryptedWorkbooksAreRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    const QByteArray filePass = record(0x002F, u16(1) + QByteArray(52, '\x11'));
    QTest::newRow("BIFF8 FILEPASS") << xlsFile(workbook(filePass + xfs({}), {{number(0, 0, 1)}}));
    QTest::newRow("BIFF5 FILEPASS") << xlsFile(workbook(record(0x002F, u32(0x12345678)), {{}}, 0x0500),
                                               QStringLiteral("Book"));
    QTest::newRow("encrypted OOXML package")
        << compoundFile({{QStringLiteral("EncryptionInfo"), QByteArray(200, '\x04')},
                         {QStringLiteral("EncryptedPackage"), QByteArray(9000, '\x55')}})
               .bytes;
}

void XlsReaderTest::encryptedWorkbooksAreRefused()
{
    QFETCH(QByteArray, file);
    QCOMPARE(errorFor(file), kEncrypted);
}

void XlsReaderTest::damagedWorkbooksAreRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");
    const QByteArray good = workbook(xfs({}), {{number(0, 0, 1)}});
    QTest::newRow("empty file") << QByteArray() << kNotAWorkbook;
    QTest::newRow("zip package") << QByteArray("PK\x03\x04", 4) + QByteArray(600, '\0') << kNotAWorkbook;
    QTest::newRow("no workbook stream") << compoundFile({{QStringLiteral("Other"), good}}).bytes << kNotAWorkbook;
    QTest::newRow("header cut short") << xlsFile(good).left(300) << kDamaged;
    QTest::newRow("stream without BOF") << xlsFile(good.mid(20)) << kDamaged;
    QTest::newRow("BIFF4 workbook") << xlsFile(record(0x0409, QByteArray(6, '\0')) + good) << kDamaged;
    QTest::newRow("sheet cut inside a record") << xlsFile(good.left(good.size() - 10)) << kDamaged;
    QTest::newRow("container cut short") << xlsFile(good + QByteArray(9000, '\0')).left(3000) << kDamaged;
}

void XlsReaderTest::damagedWorkbooksAreRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    QCOMPARE(errorFor(file), reason);
}

void XlsReaderTest::missingFileIsReported()
{
    const QString path = m_dir.filePath(QStringLiteral("no-existe.xls"));
    try {
        XlsReader::readFirstSheet(path);
        QFAIL("read a missing file");
    } catch (const AppError &e) {
        QCOMPARE(e.number(), 53);
        QCOMPARE(e.description(), QStringLiteral("No se encuentra el archivo ") + path);
    }
}

void XlsReaderTest::unreadableCorpusFilesAreRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("text file") << "cal_too_small.xls" << kNotAWorkbook;
    QTest::newRow("truncated container") << "poi_fuzz_hssf_4819588401201152.xls" << kDamaged;
    QTest::newRow("xor") << "sjs_password_2002_40_xor.xls" << kEncrypted;
    QTest::newRow("rc4") << "sjs_password_2002_128_strong.xls" << kEncrypted;
    QTest::newRow("biff5 xor") << "sjs_biff5_password_2002_40_xor.xls" << kEncrypted;
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
