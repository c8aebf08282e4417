#include "support/DataTable.h"
#include "workbook/CellValue.h"

#include <QLocale>
#include <QtTest>

// What the operator sees of a cell: numbers without grouping in their locale, booleans
// in Spanish, dates in the locale's short form. (An error cell has no text: modCargaExcel_test.)
class CellValueTest : public QObject {
    Q_OBJECT

private slots:
    // tests/data/celdas.json: the cell (number, boolean, date serial, text or none), the
    // locale, and the text shown (dates: in the locale's short form).
    void displayText_data() { DataTable::addRows(QStringLiteral("celdas.json")); }
    void displayText()
    {
        QFETCH(QJsonObject, c);
        const QLocale locale(c[u"locale"].toString());
        const CellValue value = c.contains(u"number")    ? CellValue::fromNumber(c[u"number"].toDouble())
                                : c.contains(u"boolean") ? CellValue::fromBoolean(c[u"boolean"].toBool())
                                : c.contains(u"serial")  ? CellValue::fromDateTime(c[u"serial"].toDouble())
                                : c.contains(u"string")  ? CellValue::fromText(c[u"string"].toString())
                                                         : CellValue();
        const QDateTime at = QDateTime::fromString(c[u"date"].toString(), Qt::ISODate);
        const QString text = !at.isValid()              ? c[u"text"].toString()
                             : at.time() == QTime(0, 0) ? locale.toString(at.date(), QLocale::ShortFormat)
                                                        : locale.toString(at, QLocale::ShortFormat);
        QCOMPARE(value.toDisplayText(locale), text);
    }
};

QTEST_GUILESS_MAIN(CellValueTest)
#include "CellValue_test.moc"
