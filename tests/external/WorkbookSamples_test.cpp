#include "external/workbook/WorkbookEngine.h"
#include "external/workbook/WorkbookFile.h"
#include "external/workbook/XlsReader.h"
#include "platform/AppError.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

// Every workbook of tests/data/workbooks (written by scripts/make-test-data.py) gives the
// cells its .json names, or is refused with the reason it names.
class WorkbookSamplesTest : public QObject {
    Q_OBJECT

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
            const bool ok = v.type == t && (textual ? v.text == want[1].toString()
                                                    : t == CellValue::Type::Empty || v.number == want[1].toDouble());
            QVERIFY2(ok, qPrintable(QStringLiteral("%1: type %2 number %3 text '%4'")
                                        .arg(it.key()).arg(int(v.type)).arg(v.number, 0, 'g', 17).arg(v.text.left(80))));
        }
    }
};

QTEST_GUILESS_MAIN(WorkbookSamplesTest)
#include "WorkbookSamples_test.moc"
