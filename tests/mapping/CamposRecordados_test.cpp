#include "mapping/CamposRecordados.h"
#include "mapping/EtiquetasRecordadas.h"

#include "mapping/CampoCatalogo.h"
#include "support/TestEnvironment.h"
#include "widgets/FlexGrid.h"

#include <QTest>

using namespace Qt::StringLiterals;
using C = CampoCatalogo;

// The fields given to a catalog's columns at F11, remembered per user and put back on the
// next sheet's columns.
class CamposRecordadosTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;

    static QString label(C campo) { return etiquetaCampo(campo); }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void headerMatches_data()
    {
        QTest::addColumn<QString>("encabezado");
        QTest::addColumn<QString>("etiqueta");
        QTest::newRow("as written") << u"Descripción"_s << label(C::Descripcion);
        QTest::newRow("case, accents and blanks") << u"  DESCRIPCION "_s << label(C::Descripcion);
        QTest::newRow("another word") << u"Descripcion larga"_s << QString();
        QTest::newRow("a column given no field") << u"Marca"_s << QString();
        QTest::newRow("empty header") << u""_s << QString();
    }
    void headerMatches()
    {
        QFETCH(QString, encabezado);
        QFETCH(QString, etiqueta);
        CamposRecordados(u"GEN"_s).recordar({u"Codigo"_s, u"Descripción"_s, u"Marca"_s, u""_s},
                                            {label(C::Articulo), label(C::Descripcion), u"Marca"_s, label(C::Ncm)});
        QCOMPARE(CamposRecordados(u"GEN"_s).etiquetaPara(encabezado), etiqueta);
        // Each catalog remembers its own.
        QCOMPARE(CamposRecordados(u"PUR"_s).etiquetaPara(encabezado), QString());
    }

    // A header that once meant another field keeps the latest; one left without a field is
    // forgotten; the others stay.
    void latestLoadWins()
    {
        CamposRecordados(u"a/b"_s).recordar({u"Codigo"_s, u"Peso"_s, u"Origen"_s},
                                            {label(C::Articulo), label(C::KilosUnitario), label(C::PaisOrigen)});
        CamposRecordados(u"a/b"_s).recordar({u"PESO"_s, u"Origen"_s}, {label(C::Observacion1), u""_s});
        const CamposRecordados r(u"a/b"_s);
        QCOMPARE(r.etiquetaPara(u"Peso"_s), label(C::Observacion1));
        QCOMPARE(r.etiquetaPara(u"Origen"_s), QString());
        QCOMPARE(r.etiquetaPara(u"Codigo"_s), label(C::Articulo));
    }

    // On the grid: the columns still showing the sheet's header are labelled and stand out
    // as F1 makes them; a column the operator already set keeps its choice.
    void labelsTheGridAsF1Does()
    {
        CamposRecordados(u"GEN"_s).recordar({u"Codigo"_s, u"Descripcion"_s, u"NCM"_s},
                                            {label(C::Articulo), label(C::Descripcion), label(C::Ncm)});
        FlexGrid grid;
        grid.setRows(2);
        grid.setCols(4);
        const QStringList hoja{u"codigo"_s, u"Descripción"_s, u"NCM"_s, u"Precio"_s};
        for (int c = 0; c < hoja.size(); ++c)
            grid.setTextMatrix(0, c, hoja[c]);
        grid.setTextMatrix(0, 2, QString()); // cleared with F1 before the catalog was chosen
        QCOMPARE(EtiquetarRecordados(grid, hoja, u"GEN"_s), 2);
        QCOMPARE(grid.textMatrix(0, 0), label(C::Articulo));
        QCOMPARE(grid.textMatrix(0, 1), label(C::Descripcion));
        QCOMPARE(grid.textMatrix(0, 2), QString());
        QCOMPARE(grid.textMatrix(0, 3), u"Precio"_s);
        QCOMPARE(EtiquetarRecordados(grid, hoja, u"PUR"_s), 0);
        QCOMPARE(TextoCamposRecordados(7), u"7 columnas con los campos de la carga anterior (F1 para cambiar)"_s);
    }

    // What F11 takes is what the next load gets.
    void rememberedFromTheGrid()
    {
        FlexGrid grid;
        grid.setRows(1);
        grid.setCols(2);
        grid.setTextMatrix(0, 0, label(C::Articulo));
        grid.setTextMatrix(0, 1, u"Notas"_s);
        RecordarEtiquetas(grid, {u"Código"_s, u"Notas"_s}, u"GEN"_s);
        QCOMPARE(CamposRecordados(u"GEN"_s).etiquetaPara(u"CODIGO"_s), label(C::Articulo));
        QCOMPARE(CamposRecordados(u"GEN"_s).etiquetaPara(u"Notas"_s), QString());
    }
};

QTEST_MAIN(CamposRecordadosTest)
#include "CamposRecordados_test.moc"
