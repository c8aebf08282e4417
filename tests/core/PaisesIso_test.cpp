#include "core/PaisesIso.h"
#include "core/Plegado.h"

#include "support/DataTable.h"

#include <QHash>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

// The country an origin text names, from the names iso-codes gave at build time.
class PaisesIsoTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // tests/data/paises-sugeridos.json: texts in several languages, codes, trade names, and
    // texts that name no single country (expected "").
    void countryOfText_data() { DataTable::addRows(u"paises-sugeridos.json"_s); }
    void countryOfText()
    {
        QFETCH(QJsonObject, c);
        QCOMPARE(PaisesIso::instancia().paisDe(c[u"texto"_s].toString()), c[u"pais"_s].toString());
    }

    void folding_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("case and accents") << u"  Descripción "_s << u"DESCRIPCION"_s << true;
        QTest::newRow("cedilla and tilde") << u"França Ñandú"_s << u"franca nandu"_s << true;
        QTest::newRow("inner blanks count") << u"Peso Neto"_s << u"PesoNeto"_s << false;
        QTest::newRow("punctuation counts") << u"Peso."_s << u"Peso"_s << false;
        // In Devanagari a vowel sign is part of the letter, not an accent.
        QTest::newRow("marks of other scripts stay") << u"अमेरिका"_s << u"अमरक"_s << false;
    }
    void folding()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(Plegado::sinMayusculasNiAcentos(a) == Plegado::sinMayusculasNiAcentos(b), same);
    }

    void lettersAndDigitsOnly()
    {
        QCOMPARE(Plegado::soloLetrasYCifras(u" EE. UU. "_s), u"eeuu"_s);
        QCOMPARE(Plegado::soloLetrasYCifras(u"Guinea-Bissau"_s), u"guineabissau"_s);
    }

    // Every name iso-codes has, in every language, suggests its own country or nothing, and
    // nothing only when some language gives the same text to another country.
    void everyTranslationSuggestsItsOwnCountry()
    {
        const PaisesIso &iso = PaisesIso::instancia();
        QHash<QString, QSet<QString>> paisesDeTexto;
        for (const PaisesIso::Nombre &n : iso.nombres()) {
            paisesDeTexto[Plegado::soloLetrasYCifras(n.texto)].insert(n.alfa3);
            paisesDeTexto[Plegado::soloLetrasYCifras(n.alfa3)].insert(n.alfa3);
            paisesDeTexto[Plegado::soloLetrasYCifras(iso.alfa2(n.alfa3))].insert(n.alfa3);
        }
        QVERIFY2(iso.nombres().size() > 20000, "iso-codes gave too few names");
        int sugeridos = 0;
        for (const PaisesIso::Nombre &n : iso.nombres()) {
            const QString pais = iso.paisDe(n.texto);
            if (pais.isEmpty()) {
                QVERIFY2(paisesDeTexto.value(Plegado::soloLetrasYCifras(n.texto)).size() > 1,
                         qPrintable(n.texto + u" of "_s + n.alfa3 + u" suggests nothing"_s));
                continue;
            }
            QVERIFY2(pais == n.alfa3, qPrintable(n.texto + u" suggests "_s + pais + u", not "_s + n.alfa3));
            ++sugeridos;
        }
        QVERIFY2(sugeridos > iso.nombres().size() * 95 / 100, qPrintable(QString::number(sugeridos)));
    }

    void codes()
    {
        const PaisesIso &iso = PaisesIso::instancia();
        QCOMPARE(iso.alfa2(u"DEU"_s), u"DE"_s);
        QCOMPARE(iso.alfa3(u"DE"_s), u"DEU"_s);
        QCOMPARE(iso.alfa3(u"XX"_s), QString());
    }
};

QTEST_GUILESS_MAIN(PaisesIsoTest)
#include "PaisesIso_test.moc"
