#include "review/SugerenciaPais.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Paises = QList<TablaPaises::Pais>;
Q_DECLARE_METATYPE(Paises)

namespace {
// PAIS keyed by alpha-3 codes with the Spanish names, as the embedded table is.
const Paises kAlfa3{{u"ARG"_s, u"Argentina"_s},
                    {u"DEU"_s, u"Alemania"_s},
                    {u"KOR"_s, u"Corea, República de"_s},
                    {u"USA"_s, u"Estados Unidos"_s},
                    {u"GBR"_s, u"Reino Unido"_s}};
// Keyed by alpha-2 codes, in lower case, with names of the customer's own.
const Paises kAlfa2{{u"ar"_s, u"ARG."_s}, {u"de"_s, u"ALEM."_s}, {u"us"_s, u"EE.UU."_s}};
// Keyed by the customs system's own numbers: only the name can tell the country.
const Paises kPropios{{u"200"_s, u"ARGENTINA"_s},
                      {u"438"_s, u"ALEMANIA, REP. FED."_s},
                      {u"212"_s, u"ESTADOS UNIDOS"_s},
                      {u"213"_s, u"Estados Unidos de América"_s},
                      {u"190"_s, u"DEU"_s},
                      {u"410"_s, u"Rusia"_s}};
} // namespace

// The country of the customer's PAIS table that "Establecer Pais" comes with.
class SugerenciaPaisTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void idOfOrigin_data()
    {
        QTest::addColumn<Paises>("paises");
        QTest::addColumn<QString>("origen");
        QTest::addColumn<QString>("id");
        QTest::newRow("alpha-3 table, Portuguese") << kAlfa3 << u"Alemanha"_s << u"DEU"_s;
        QTest::newRow("alpha-3 table, Chinese") << kAlfa3 << u"德国"_s << u"DEU"_s;
        QTest::newRow("alpha-3 table, trade name") << kAlfa3 << u"EE.UU."_s << u"USA"_s;
        QTest::newRow("alpha-3 table, country it lacks") << kAlfa3 << u"Italia"_s << QString();
        QTest::newRow("alpha-3 table, no country") << kAlfa3 << u"Importado"_s << QString();
        QTest::newRow("alpha-2 table, by code") << kAlfa2 << u"Alemanha"_s << u"de"_s;
        QTest::newRow("alpha-2 table, trade name") << kAlfa2 << u"UK"_s << QString();
        QTest::newRow("own ids, by name") << kPropios << u"Argentinien"_s << u"200"_s;
        QTest::newRow("own ids, a trade name in PAIS") << kPropios << u"Russia"_s << u"410"_s;
        QTest::newRow("own ids, a row named by the code") << kPropios << u"Germany"_s << u"190"_s;
        QTest::newRow("own ids, two rows for one country") << kPropios << u"United States"_s << QString();
        QTest::newRow("empty table") << Paises{} << u"Alemania"_s << QString();
    }
    void idOfOrigin()
    {
        QFETCH(Paises, paises);
        QFETCH(QString, origen);
        QFETCH(QString, id);
        QCOMPARE(SugerenciaPais(paises).idPara(origen), id);
    }
};

QTEST_GUILESS_MAIN(SugerenciaPaisTest)
#include "SugerenciaPais_test.moc"
