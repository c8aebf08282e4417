#include "core/AppError.h"
#include "workbook/CellValue.h"

#include <QLocale>
#include <QtTest>

Q_DECLARE_METATYPE(CellValue)

// What the operator sees of a cell: numbers without grouping in their locale, booleans
// in Spanish, dates in the locale's short form; an error cell has no text.
class CellValueTest : public QObject {
    Q_OBJECT

private slots:
    void displayText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<CellValue>("value");
        QTest::addColumn<QString>("text");
        const QString ar = QStringLiteral("es_AR"), us = QStringLiteral("en_US");
        const auto date = [](const QString &l, QDate d) { return QLocale(l).toString(d, QLocale::ShortFormat); };
        QTest::newRow("decimal comma") << ar << CellValue::fromNumber(1234567.891) << "1234567,891";
        QTest::newRow("decimal point") << us << CellValue::fromNumber(1234567.891) << "1234567.891";
        QTest::newRow("negative") << ar << CellValue::fromNumber(-0.5) << "-0,5";
        QTest::newRow("15 significant digits") << us << CellValue::fromNumber(0.1 + 0.2) << "0.3";
        QTest::newRow("long code keeps its digits")
            << us << CellValue::fromNumber(123456789012345.0) << "123456789012345";
        QTest::newRow("huge in exponent form") << ar << CellValue::fromNumber(1.23456789e22) << "1,23456789E+22";
        QTest::newRow("true") << ar << CellValue::fromBoolean(true) << "Verdadero";
        QTest::newRow("false") << us << CellValue::fromBoolean(false) << "Falso";
        QTest::newRow("empty") << ar << CellValue() << "";
        QTest::newRow("tab and CR kept") << ar << CellValue::fromText(QStringLiteral("a\tb\rc")) << "a\tb\rc";
        QTest::newRow("date es_AR") << ar << CellValue::fromDateTime(45000) << date(ar, QDate(2023, 3, 15));
        QTest::newRow("date en_US") << us << CellValue::fromDateTime(45000) << date(us, QDate(2023, 3, 15));
        // Serial 60 is the 1900 system's false 29 February: earlier serials are a day off.
        QTest::newRow("early 1900 date") << us << CellValue::fromDateTime(59) << date(us, QDate(1900, 2, 28));
        QTest::newRow("date and time") << ar << CellValue::fromDateTime(45000.75)
                                       << QLocale(ar).toString(QDateTime(QDate(2023, 3, 15), QTime(18, 0)),
                                                               QLocale::ShortFormat);
        QTest::newRow("time alone, no zone") << ar << CellValue::fromDateTime(0.5 + 30.0 / 86400) << "12:00:30";
    }

    void displayText()
    {
        QFETCH(QString, locale);
        QFETCH(CellValue, value);
        QFETCH(QString, text);
        QCOMPARE(value.toDisplayText(QLocale(locale)), text);
    }

    void errorCellRaisesTypeMismatch()
    {
        try {
            CellValue::fromError(QStringLiteral("#DIV/0!")).toDisplayText(QLocale());
            QFAIL("an error value gave a text");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), 13);
            QCOMPARE(e.description(), QStringLiteral("No coinciden los tipos"));
        }
    }
};

QTEST_GUILESS_MAIN(CellValueTest)
#include "CellValue_test.moc"
