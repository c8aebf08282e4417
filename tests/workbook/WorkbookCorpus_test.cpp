#include "core/AppError.h"
#include "support/DataTable.h"
#include "workbook/SheetData.h"
#include "workbook/WorkbookEngine.h"
#include "workbook/WorkbookFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>
#include <cmath>

// Every file of the conformance corpus either loads, matching LibreOffice's en-US export of
// its first sheet, or is refused with a Spanish description. Texts and errors must match
// exactly; numbers and dates by the value their shown text stands for.
class WorkbookCorpusTest : public QObject {
    Q_OBJECT

    static QString corpus(const QString &relative) { return QStringLiteral(SORVANTA_CORPUS_DIR "/") + relative; }

    // Cells whose expected text is LibreOffice's own recalculation or rendering, not the value
    // the file holds (which is what a reader gives): by cell name pattern or by expected texts
    // ("|" between them), listed in tests/data/corpus-known-differences.json.
    static QString knownDifference(const QString &file, const QString &cellName, const QString &expected)
    {
        static const QJsonArray known = DataTable::read(QStringLiteral("corpus-known-differences.json"));
        for (const QJsonValue &k : known) {
            if (file != k[QLatin1String("file")].toString())
                continue;
            const QString cells = k[QLatin1String("cells")].toString();
            if (!cells.isEmpty() ? QRegularExpression(QStringLiteral("^(%1)$").arg(cells)).match(cellName).hasMatch()
                                 : k[QLatin1String("texts")].toString().split(u'|').contains(expected))
                return k[QLatin1String("reason")].toString();
        }
        return QString();
    }

    // LibreOffice's export: fields quoted (quotes doubled) or plain, every line ending in LF.
    static QList<QStringList> readCsv(const QString &path)
    {
        QFile f(path);
        static const QRegularExpression field(QStringLiteral("(\"(?:[^\"]|\"\")*\"|[^,\n]*)([,\n])"));
        QList<QStringList> rows(1);
        for (auto it = field.globalMatch(f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString());
             it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QString v = m.captured(1);
            rows.last() << (v.startsWith(u'"')
                                ? v.mid(1, v.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""))
                                : v);
            if (m.captured(2) == QStringLiteral("\n"))
                rows << QStringList();
        }
        rows.removeLast();
        return rows;
    }

    // The value a formatted number shows ("(1,234.50)", "€3", "98.76%", "1.2E+04", "3 1/4"),
    // or NaN; tolerance is half a unit of the last digit shown.
    static double shownNumber(QString s, double &tolerance)
    {
        s = s.trimmed();
        double sign = 1;
        if (s.startsWith(u'(') && s.endsWith(u')')) {
            sign = -1;
            s = s.mid(1, s.size() - 2);
        }
        s.remove(u',').remove(u'$').remove(QChar(0x20AC));
        s = s.trimmed();
        const double scale = s.endsWith(u'%') ? 0.01 : 1;
        if (scale != 1)
            s.chop(1);
        static const QRegularExpression fraction(QStringLiteral("^(-?\\d+) (\\d+)/(\\d+)$"));
        if (const auto m = fraction.match(s); m.hasMatch()) {
            tolerance = 1.0 / m.captured(3).toDouble();
            return sign * (m.captured(1).toDouble() + m.captured(2).toDouble() * tolerance);
        }
        bool ok = false;
        const double v = QLocale::c().toDouble(s, &ok);
        if (!ok)
            return std::nan("");
        const qsizetype e = s.indexOf(u'E', 0, Qt::CaseInsensitive);
        const QString mantissa = e >= 0 ? s.left(e) : s;
        const qsizetype dot = mantissa.indexOf(u'.');
        double unit = std::pow(10.0, dot < 0 ? 0 : -(mantissa.size() - dot - 1)) * scale;
        if (e >= 0)
            unit *= std::pow(10.0, s.mid(e + 1).toInt());
        tolerance = unit / 2 + 1e-9 * std::fabs(v * scale);
        return sign * v * scale;
    }

    // Every number in a shown date or time is one of the serial's parts, and a month or day
    // name, if any, is the serial's.
    static bool dateMatches(const QString &shown, double serial)
    {
        const qint64 days = qint64(std::floor(serial));
        const QDate date = QDate(1899, 12, 30).addDays(days >= 0 && days < 61 ? days + 1 : days); // false 1900-02-29
        const double dayFraction = (serial - std::floor(serial)) * 86400.0;
        const qint64 seconds = qint64(std::floor(dayFraction + 1e-6)); // truncated or rounded, as formats do
        const QList<qint64> parts{date.year(),
                                  date.year() % 100,
                                  date.month(),
                                  date.day(),
                                  seconds / 3600,
                                  (seconds / 3600) % 12,
                                  (seconds / 3600 + 11) % 12 + 1,
                                  (seconds / 60) % 60,
                                  seconds % 60,
                                  qRound64(dayFraction) % 60,
                                  qint64(std::floor(serial * 24.0 + 1e-9))};
        static const QRegularExpression digits(QStringLiteral("\\d+")), words(QStringLiteral("[A-Za-z]{3,}"));
        bool any = false;
        for (auto it = digits.globalMatch(shown); it.hasNext(); any = true)
            if (!parts.contains(it.next().captured().toLongLong()))
                return false;
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        for (auto it = words.globalMatch(shown); it.hasNext();) {
            const QString word = it.next().captured();
            if (word != u"AM" && word != u"PM" && !en.monthName(date.month()).startsWith(word, Qt::CaseInsensitive)
                && !en.dayName(date.dayOfWeek()).startsWith(word, Qt::CaseInsensitive))
                return false;
        }
        return any;
    }

    static bool cellMatches(const CellValue &v, const QString &shown)
    {
        switch (v.type) {
        case CellValue::Type::Empty:
            return shown.isEmpty();
        case CellValue::Type::Text:
            return v.text == shown;
        case CellValue::Type::Error: // "Err:504": LibreOffice's own code for an error it recalculated
            return v.text == shown || shown.startsWith(QLatin1String("Err:"));
        case CellValue::Type::Boolean:
            return shown == (v.number != 0 ? u"TRUE" : u"FALSE") || shown == (v.number != 0 ? u"1" : u"0");
        case CellValue::Type::DateTime:
            return dateMatches(shown, v.number);
        case CellValue::Type::Number: {
            double tolerance = 0;
            const double n = shownNumber(shown, tolerance);
            return !std::isnan(n) && std::fabs(n - v.number) <= tolerance;
        }
        }
        return false;
    }

private slots:
    // The corpus is other projects' files, kept beside the checkout and never in it.
    void initTestCase()
    {
        if (!QDir(corpus(QString())).exists())
            QSKIP("no corpus: " SORVANTA_CORPUS_DIR " is missing");
    }

    void corpusFile_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *folder : {"xlsx", "ods", "csv", "xls"}) {
            const QDir dir(corpus(QLatin1String(folder)));
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
                QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(QLatin1String(folder), name)))
                    << dir.filePath(name);
        }
    }

    void corpusFile()
    {
        QFETCH(QString, path);
        const QString name = QFileInfo(path).fileName();
        const QString expectedPath = corpus(QStringLiteral("expected/%1.csv").arg(name));
        const bool hasExpected = QFile::exists(expectedPath);
        SheetData sheet;
        try {
            sheet = WorkbookFile::readFirstSheet(path, WorkbookEngine::defaultLimits());
        } catch (const AppError &e) {
            QVERIFY2(!hasExpected, qPrintable(QStringLiteral("refused a readable file: ") + e.description()));
            QVERIFY(e.description().contains(path));
            QVERIFY(e.number() != 0);
            if (name.contains(QLatin1String("pass")) || name.contains(QLatin1String("protected")))
                QVERIFY2(e.description().contains(QLatin1String("cifrado")), qPrintable(e.description()));
            // Some refusals must give their own reason (tests/data/corpus-refusals.json).
            for (const QJsonValue &r : DataTable::read(QStringLiteral("corpus-refusals.json")))
                if (r[QLatin1String("name")].toString() == name)
                    QCOMPARE(e.description(),
                             QStringLiteral("El archivo %1 %2").arg(path, r[QLatin1String("reason")].toString()));
            return;
        }
        if (!hasExpected) {
            // Damaged and hostile files may still give what they hold, within the limits.
            QVERIFY(sheet.rowCount() <= WorkbookEngine::defaultLimits().maxRows);
            QVERIFY2(!name.contains(QLatin1String("pass")), "an encrypted file was read");
            return;
        }
        const QList<QStringList> expected = readCsv(expectedPath);
        int columns = 40; // and nothing to the right of what LibreOffice shows
        for (const QStringList &row : expected)
            columns = std::max(columns, int(row.size()));
        QStringList failures;
        for (int r = 1; r <= expected.size(); ++r) {
            for (int c = 1; c <= columns; ++c) {
                const QString shown = expected.value(r - 1).value(c - 1);
                const QString cellName = (c > 26 ? QString(QChar(u'A' + (c - 1) / 26 - 1)) : QString())
                                         + QChar(u'A' + (c - 1) % 26) + QString::number(r);
                const CellValue &v = sheet.at(r, c);
                if (!cellMatches(v, shown) && knownDifference(name, cellName, shown).isEmpty())
                    failures << QStringLiteral("%1: expected '%2', got type %3 '%4' %5")
                                    .arg(cellName, shown)
                                    .arg(int(v.type))
                                    .arg(v.text)
                                    .arg(v.number, 0, 'g', 17);
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.mid(0, 12).join(u'\n')));
        // No rows beyond those LibreOffice shows, not even empty ones.
        QVERIFY2(sheet.rowCount() <= expected.size(), qPrintable(QStringLiteral("%1 rows read").arg(sheet.rowCount())));
    }
};

QTEST_GUILESS_MAIN(WorkbookCorpusTest)
#include "WorkbookCorpus_test.moc"
