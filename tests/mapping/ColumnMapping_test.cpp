#include "mapping/SeleccionarCampo.h"
#include "mapping/SetearCampos.h"

#include "core/ErrorNumbers.h"
#include "core/ErrorText.h"
#include "mapping/CampoCatalogo.h"
#include "mapping/MapaCampos.h"
#include "support/DataTable.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "support/MsgBoxRecorder.h"
#include "widgets/FlexGrid.h"

#include <QComboBox>
#include <QKeySequence>

using namespace Qt::StringLiterals;
using C = CampoCatalogo;

// F1 assigns a field to a column; F11 first maps the headers to the catalog's fields.
class ColumnMappingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<QComboBox> cboCatalogos;
    std::unique_ptr<QComboBox> cboIdCatalogo;

    void headers(const QStringList &texts)
    {
        grid->setCols(texts.size());
        for (int c = 0; c < texts.size(); ++c)
            grid->setTextMatrix(0, c, texts.at(c));
    }

    AppError map()
    {
        return errorOf([this] { SetearCampos(*cboCatalogos, *cboIdCatalogo, *grid); });
    }

private Q_SLOTS:
    void init()
    {
        modGlobal::reset();
        MapaCampos = RegMapaCampos();
        grid = std::make_unique<FlexGrid>();
        grid->setRows(3);
        cboCatalogos = std::make_unique<QComboBox>();
        cboCatalogos->addItems({u"[C1] Ventas"_s, u"[PUR] Compras"_s});
        cboIdCatalogo = std::make_unique<QComboBox>();
        cboIdCatalogo->addItems({u"C1"_s, u"PUR"_s});
        cboCatalogos->setCurrentIndex(1);
    }

    void cleanup()
    {
        grid.reset();
        modGlobal::reset();
    }

    // F1's chooser: the keys pressed ("Down*6": six times; "close": the close box), then the
    // column's header.
    void chooser_data() { DataTable::addRows(u"mapeo-columnas.json"_s, u"chooser"_s); }
    void chooser()
    {
        QFETCH(QJsonObject, c);
        const QString header = c[u"header"_s].toString();
        QList<int> keys;
        for (const QString &key : DataTable::texts(c[u"keys"_s]))
            for (int i = 0; i < key.section(u'*', 1).toInt() || i == 0; ++i)
                keys << (key == u"close"_s ? 0 : QKeySequence::fromString(key.section(u'*', 0, 0))[0].key());
        MsgBoxRecorder boxes;
        headers({u"col0"_s, u"col1"_s, u"col2"_s});
        grid->setTextMatrix(1, 2, u"dato2"_s);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
        grid->setCol(2);
        ModalDriver::onNextModal([keys](QWidget *modal) {
            for (int key : keys)
                key ? keyInModal(modal, key) : void(modal->close());
            if (modal->isVisible()) {
                modal->close();
                QFAIL("chooser still open after the keys");
            }
        });
        SeleccionarCampo(*grid);
        QCOMPARE(grid->textMatrix(0, 2), header);
        QCOMPARE(grid->textMatrix(0, 1), u"col1"_s);
        QCOMPARE(grid->textMatrix(1, 2), u"dato2"_s);
        QCOMPARE(grid->model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), header);
        if (!header.isEmpty()) {
            QCOMPARE(grid->cellForeColor(0, 2), QColor(128, 0, 0));
            QVERIFY(grid->cellFontBold(0, 2));
        }
        QCOMPARE(boxes.count(), 0);
    }

    // Refused before the headers are read: the earlier map and catalog stay.
    void noCatalogOrTooFewIdsAreRefused()
    {
        headers({etiquetaCampo(C::Articulo), etiquetaCampo(C::Ncm)});
        cboCatalogos->setCurrentIndex(-1);
        modGlobal::IdCatalogoActual = u"ANTES"_s;
        MapaCampos.SUFIJOS = {4, true};
        AppError e = map();
        QCOMPARE(ErrorText::seccion(e, u"ProcesarArticulos.frmMain.Sorvanta"_s),
                 u"Falta seleccionar catalogo\r\n\r\n-2146102393 - seccion[ProcesarArticulos.frmMain."
                 "Sorvanta Linea 0 ]::[ SetearCampos.frmMain.Sorvanta Linea 0 ]Campos Excel"_s);
        QCOMPARE(modGlobal::IdCatalogoActual, u"ANTES"_s);
        QVERIFY(MapaCampos.SUFIJOS.asignado);
        QVERIFY(!MapaCampos.ARTICULO.asignado);

        cboCatalogos->setCurrentIndex(1);
        cboIdCatalogo->removeItem(1);
        e = map();
        QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
        QCOMPARE(e.source(), u"[ SetearCampos.frmMain.Sorvanta Linea 0 ]Sorvanta"_s);
        QCOMPARE(modGlobal::IdCatalogoActual, u"ANTES"_s);
    }

    void mappingNeedsTheArticleAndOnePrincipalField_data()
    {
        DataTable::addRows(u"mapeo-columnas.json"_s, u"mapping"_s);
    }

    void mappingNeedsTheArticleAndOnePrincipalField()
    {
        QFETCH(QJsonObject, c);
        const bool accepted = c[u"accepted"_s].toBool();
        for (int k = 1; k < kCantidadCampos; ++k) // what an earlier run left
            *MapaCampos.campo(C(k)) = {99, true};
        headers(DataTable::texts(c[u"headers"_s]));
        const AppError e = map();
        QCOMPARE(e.number(), accepted ? 0 : ErrorNumbers::kInnerOperation);
        if (!accepted) {
            QCOMPARE(e.source(), u"[ SetearCampos.frmMain.Sorvanta Linea 0 ]Campos Excel"_s);
            QCOMPARE(e.description(), u"Falta seleccionar columnas, mínimo Artículo y Una más"_s);
        }
        // The catalog is fixed before the headers are judged.
        QCOMPARE(modGlobal::IdCatalogoActual, u"PUR"_s);
        QStringList columns; // of each field in the chooser's order, "-": none
        for (int k = 1; k < kCantidadCampos; ++k)
            columns << (MapaCampos.campo(C(k))->asignado ? QString::number(MapaCampos.campo(C(k))->columna) : u"-"_s);
        if (accepted)
            QCOMPARE(columns.join(u' '), c[u"columns"_s].toString());
    }
};

QTEST_MAIN(ColumnMappingTest)
#include "ColumnMapping_test.moc"
