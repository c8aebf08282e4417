#include "catalog/FormatoSql.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>

// The update's weight, written and read back as the number the catalog will hold: the quick
// writing must give Qt's text and Qt's reading of it to the bit, weights whose 15 digits are
// not exact above all.
class FormatoSqlTest : public QObject {
    Q_OBJECT

private slots:
    void weightOfTheUpdate_data()
    {
        QTest::addColumn<double>("kilos");
        const struct {
            const char *nombre;
            double kilos;
        } casos[] = {
            {"three decimals", 12.345},
            {"integer", 240},
            {"fifteen digits exact", 2.12345678901235},
            {"more than fifteen digits", 2.123456789012345678},
            {"sum with a tail", 0.1 + 0.2},
            {"halfway, even digit before", 763287067388048.5},
            {"halfway, odd digit before", 763287067388049.5},
            {"halfway, small", 2.384185791015625e-07},
            {"halfway, tiny", 9.5367431640625e-07 * 0.25},
            {"fixed down to 1e-4", 0.0001234},
            {"scientific below 1e-4", 0.00001234},
            {"fixed below 1e15", 999999999999999.0},
            {"scientific from 1e15", 1e15},
            {"rounds up to 1e16", 9999999999999999.0},
            {"large", 1.5e20},
            {"negative", -3.25},
            {"negative zero", -0.0},
            {"zero", 0.0},
            {"subnormal", 5e-324},
            {"subnormal, many digits", 7.20654977365969e-310},
            {"largest", std::numeric_limits<double>::max()},
            {"smallest normal", std::numeric_limits<double>::min()},
        };
        for (const auto &caso : casos)
            QTest::newRow(caso.nombre) << caso.kilos;
    }

    void weightOfTheUpdate()
    {
        QFETCH(double, kilos);
        const QString escrito = QLocale::c().toString(kilos, 'g', 15);
        QCOMPARE(FormatoSql::pesoUpdate(kilos), escrito);
        const double leido = QLocale::c().toDouble(escrito);
        const double rapido = FormatoSql::pesoUpdateLeido(kilos);
        QVERIFY2(std::memcmp(&leido, &rapido, sizeof leido) == 0,
                 qPrintable(QStringLiteral("%1 read as %2").arg(escrito).arg(rapido, 0, 'g', 17)));
    }
};

QTEST_GUILESS_MAIN(FormatoSqlTest)
#include "FormatoSql_test.moc"
