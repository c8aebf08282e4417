#include "mapping/SetearCampos.h"

#include "common/modGlobal.h"
#include "mapping/CampoCatalogo.h"
#include "mapping/MapaCampos.h"
#include "mapping/SeleccionarCampo.h"
#include "platform/AppError.h"
#include "platform/ErrorNumbers.h"
#include "platform/ErrorText.h"
#include "platform/FlexGrid.h"
#include "support/ModalDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QtTest>

namespace {

const QString kSinColumnas = QStringLiteral("Falta seleccionar columnas, mínimo Artículo y Una más");

QString label(CampoCatalogo c)
{
    return etiquetaCampo(c);
}

} // namespace

class SetearCamposTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<QComboBox> cboCatalogos;
    std::unique_ptr<QComboBox> cboIdCatalogo;

    void encabezados(const QStringList &textos)
    {
        grid->setCols(textos.size());
        for (int c = 0; c < textos.size(); ++c)
            grid->setTextMatrix(0, c, textos.at(c));
    }

    // Runs SetearCampos and gives the error it raised (number 0 when it raised none).
    AppError setear()
    {
        try {
            SetearCampos(*cboCatalogos, *cboIdCatalogo, *grid);
        } catch (const AppError &e) {
            return e;
        }
        return AppError(0, QString(), QString());
    }

private Q_SLOTS:
    void init()
    {
        modGlobal::reset();
        MapaCampos = RegMapaCampos();
        grid = std::make_unique<FlexGrid>();
        grid->setRows(3);
        grid->setFixedRows(1);
        cboCatalogos = std::make_unique<QComboBox>();
        cboCatalogos->addItems({QStringLiteral("[C1] Ventas"), QStringLiteral("[PUR] Compras")});
        cboIdCatalogo = std::make_unique<QComboBox>();
        cboIdCatalogo->addItems({QStringLiteral("C1"), QStringLiteral("PUR")});
        cboCatalogos->setCurrentIndex(1);
    }

    void cleanup()
    {
        grid.reset();
        modGlobal::reset();
    }

    void noCatalogIsRefusedBeforeHeadersAreRead()
    {
        encabezados({label(CampoCatalogo::Articulo), label(CampoCatalogo::Ncm)});
        cboCatalogos->setCurrentIndex(-1);
        modGlobal::IdCatalogoActual = QStringLiteral("ANTES");
        MapaCampos.SUFIJOS = {4, true};

        const AppError e = setear();
        QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
        QCOMPARE(e.source(), QStringLiteral("[ SetearCampos.frmMain.Sorvanta Linea 0 ]Campos Excel"));
        QCOMPARE(e.description(), QStringLiteral("Falta seleccionar catalogo"));
        QCOMPARE(ErrorText::seccion(e, QStringLiteral("ProcesarArticulos.frmMain.Sorvanta")),
                 QStringLiteral("Falta seleccionar catalogo\r\n\r\n-2146102393 - seccion[ProcesarArticulos.frmMain."
                                "Sorvanta Linea 0 ]::[ SetearCampos.frmMain.Sorvanta Linea 0 ]Campos Excel"));
        QCOMPARE(modGlobal::IdCatalogoActual, QStringLiteral("ANTES"));
        QVERIFY(MapaCampos.SUFIJOS.asignado);
        QVERIFY(!MapaCampos.ARTICULO.asignado);
    }

    void mappingNeedsTheArticleAndOnePrincipalField_data()
    {
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<bool>("aceptado");
        const QString art = label(CampoCatalogo::Articulo);
        QTest::newRow("article only") << QStringList{art, QStringLiteral("Precio")} << false;
        QTest::newRow("article and remark") << QStringList{art, label(CampoCatalogo::Observacion1)} << false;
        QTest::newRow("article, addition, unit, suffixes, remarks")
            << QStringList{art, label(CampoCatalogo::AnexarDescripcion), label(CampoCatalogo::Unidad),
                           label(CampoCatalogo::Sufijos), label(CampoCatalogo::Observacion2),
                           label(CampoCatalogo::Observacion3)}
            << false;
        QTest::newRow("article and weight") << QStringList{label(CampoCatalogo::KilosUnitario), art} << true;
        QTest::newRow("article and origin") << QStringList{art, label(CampoCatalogo::PaisOrigen)} << true;
        QTest::newRow("article and customs description")
            << QStringList{art, label(CampoCatalogo::DescripcMaria)} << true;
        QTest::newRow("ncm without article") << QStringList{label(CampoCatalogo::Ncm)} << false;
        QTest::newRow("labels that are nearly right")
            << QStringList{QStringLiteral("[ articulo ]"), QStringLiteral("[ NCM ] "), QStringLiteral("ARTICULO")}
            << false;
        QTest::newRow("none-entry text stands for nothing")
            << QStringList{art, label(CampoCatalogo::Ninguno)} << false;
    }

    void mappingNeedsTheArticleAndOnePrincipalField()
    {
        QFETCH(QStringList, headers);
        QFETCH(bool, aceptado);
        encabezados(headers);
        const AppError e = setear();
        if (aceptado) {
            QCOMPARE(e.number(), 0);
            return;
        }
        QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
        QCOMPARE(e.source(), QStringLiteral("[ SetearCampos.frmMain.Sorvanta Linea 0 ]Campos Excel"));
        QCOMPARE(e.description(), kSinColumnas);
        // The catalog is fixed before the headers are judged.
        QCOMPARE(modGlobal::IdCatalogoActual, QStringLiteral("PUR"));
    }

    void acceptedMapHoldsColumnsAndCatalog()
    {
        encabezados({QStringLiteral("x"), label(CampoCatalogo::KilosUnitario), QString(), label(CampoCatalogo::Articulo),
                     QStringLiteral("[ UNIDAD ]"), label(CampoCatalogo::Unidad)});
        cboCatalogos->setCurrentIndex(0);
        cboIdCatalogo->setCurrentIndex(1);
        QCOMPARE(setear().number(), 0);
        QCOMPARE(modGlobal::IdCatalogoActual, QStringLiteral("C1"));
        QCOMPARE(cboIdCatalogo->currentIndex(), 0);
        QVERIFY(MapaCampos.ARTICULO.asignado);
        QCOMPARE(MapaCampos.ARTICULO.columna, qint16(3));
        QVERIFY(MapaCampos.KILOS_UNITARIO.asignado);
        QCOMPARE(MapaCampos.KILOS_UNITARIO.columna, qint16(1));
        QVERIFY(MapaCampos.UNIDAD.asignado);
        QCOMPARE(MapaCampos.UNIDAD.columna, qint16(5));
        QVERIFY(!MapaCampos.NCM.asignado);
        QVERIFY(!MapaCampos.DESCRIPCION.asignado);
    }

    void rightmostDuplicateWins()
    {
        const QString art = label(CampoCatalogo::Articulo);
        encabezados({QString(), QString(), art, label(CampoCatalogo::Ncm), QString(), art, QString()});
        QCOMPARE(setear().number(), 0);
        QCOMPARE(MapaCampos.ARTICULO.columna, qint16(5));
        QCOMPARE(MapaCampos.NCM.columna, qint16(3));
    }

    void columnSetToNoneIsNoLongerMapped()
    {
        encabezados({label(CampoCatalogo::Articulo), label(CampoCatalogo::Ncm), QStringLiteral("Origen"),
                     label(CampoCatalogo::PaisOrigen)});
        QCOMPARE(setear().number(), 0);
        QVERIFY(MapaCampos.PAIS_ORIGEN.asignado);

        grid->setCol(3);
        ModalDriver::onNextModal([](QWidget *modal) {
            modal->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(modal));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        SeleccionarCampo(*grid);
        QCOMPARE(grid->textMatrix(0, 3), QString());

        QCOMPARE(setear().number(), 0);
        QVERIFY(!MapaCampos.PAIS_ORIGEN.asignado);
        QVERIFY(MapaCampos.NCM.asignado);
    }

    void idListShorterThanNamesIsAnError()
    {
        encabezados({label(CampoCatalogo::Articulo), label(CampoCatalogo::Ncm)});
        cboIdCatalogo->removeItem(1);
        modGlobal::IdCatalogoActual = QStringLiteral("ANTES");
        const AppError e = setear();
        QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
        QCOMPARE(e.source(), QStringLiteral("[ SetearCampos.frmMain.Sorvanta Linea 0 ]Sorvanta"));
        QCOMPARE(modGlobal::IdCatalogoActual, QStringLiteral("ANTES"));
    }
};

QTEST_MAIN(SetearCamposTest)
#include "SetearCampos_test.moc"
