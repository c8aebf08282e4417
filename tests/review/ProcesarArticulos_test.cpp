#include "common/modGlobal.h"
#include "external/ComponentRegistry.h"
#include "external/DataAccessManager.h"
#include "mapping/CampoCatalogo.h"
#include "platform/FlexGrid.h"
#include "platform/ReviewList.h"
#include "review/ProcesarArticulos.h"
#include "review/frmRelPais.h"

#include "support/ModalDriver.h"
#include "support/MsgBoxRecorder.h"
#include "support/SqlRows.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {
const QColor kGreen(0, 128, 0);

void execute(const QString &sql)
{
    SqlRows::execute(*modGlobal::AccesoDatos, QStringLiteral("CATALOGOS"), sql);
}

// The main-window controls processing works on, without the rest of the window.
struct Window {
    QWidget root;
    FlexGrid *grid = new FlexGrid(&root);
    ReviewList *list = new ReviewList(&root);
    QComboBox *cboCatalogos = new QComboBox(&root);
    QComboBox *cboIdCatalogo = new QComboBox(&root);
    QCheckBox *chk = new QCheckBox(&root);
    QProgressBar *prg = new QProgressBar(&root);
    QLabel *label1 = new QLabel(&root);
    QLabel *label2 = new QLabel(&root);
    QPushButton *exportar = new QPushButton(&root);

    Window()
    {
        list->hide();
        label2->hide();
        exportar->hide();
        cboCatalogos->addItems({QStringLiteral("[GEN] General"), QStringLiteral("[PUR] Compras")});
        cboIdCatalogo->addItems({QStringLiteral("GEN"), QStringLiteral("PUR")});
        cboCatalogos->setCurrentIndex(0);
    }

    // Row 0 holds the field labels, the other rows the sheet's cells.
    void setSheet(const QList<QStringList> &rows)
    {
        grid->setCols(rows.first().size());
        grid->setRows(rows.size());
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                grid->setTextMatrix(r, c, rows[r][c]);
    }

    void process()
    {
        ControlesProceso c{*grid, *list, *cboCatalogos, *cboIdCatalogo, *chk, *prg, *label1, *label2, *exportar, &root};
        ProcesarArticulos(c);
    }

    QStringList item(int i) const
    {
        QStringList out;
        for (int k = 0; k < 14; ++k)
            out << list->subItem(i, k);
        return out;
    }

    bool reviewed() const { return label1->isHidden() && !label2->isHidden() && !exportar->isHidden() && grid->isHidden(); }
};

QString label(CampoCatalogo c)
{
    return etiquetaCampo(c);
}
} // namespace

class ProcesarArticulosTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        modGlobal::UsuarioSesion = QStringLiteral("Sorvanta - op\\PC");
        modGlobal::AccesoDatos = ComponentRegistry::create<DataAccessManager>(QStringLiteral("DataAccessManager.DAMMain"));
        modGlobal::AccesoDatos->LoadParameters();
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        execute(QStringLiteral("insert into ORG (PAI, ORI, ESM) values ('China', 'CHN', '1')"));
    }

    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
        modGlobal::reset();
        m_env.reset();
    }

    void headerOnlyGoesStraightToReview()
    {
        MsgBoxRecorder boxes;
        Window w;
        w.setSheet({{label(CampoCatalogo::Articulo), label(CampoCatalogo::Descripcion)}});
        w.process();
        QCOMPARE(boxes.count(), 0);
        QVERIFY(w.reviewed());
        QCOMPARE(w.list->itemCount(), 0);
        QCOMPARE(w.list->columnCount(), 14);
        QCOMPARE(w.list->columnTitle(5), QStringLiteral("NCM CATALOGO"));
        QCOMPARE(w.list->columnWidth(0), 2300);
        QCOMPARE(modGlobal::IdCatalogoActual, QStringLiteral("GEN"));
    }

    void buildsItemsWithCleanTextsAndCatalogState()
    {
        execute(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, ncm) values ('GEN', 'AB-12-3', '8471.30.00')"));
        MsgBoxRecorder boxes;
        Window w;
        w.setSheet({{label(CampoCatalogo::Articulo), label(CampoCatalogo::Descripcion), label(CampoCatalogo::Ncm),
                     label(CampoCatalogo::KilosUnitario), label(CampoCatalogo::PaisOrigen),
                     label(CampoCatalogo::Observacion3), label(CampoCatalogo::Sufijos)},
                    {QStringLiteral("AB-12-3"), QStringLiteral(" Tornillo d'acero "), QStringLiteral("8471'30"),
                     QStringLiteral("1,5"), QStringLiteral("China"), QStringLiteral("o'k"), QStringLiteral("s'")},
                    {QStringLiteral("NUEVO'1"), QString(), QString(), QStringLiteral("0"), QString(), QString(), QString()}});
        w.process();
        QCOMPARE(boxes.count(), 0);
        QVERIFY(w.reviewed());
        QCOMPARE(w.grid->rows(), 1);
        QCOMPARE(w.list->itemCount(), 2);
        QCOMPARE(w.item(0), (QStringList{QStringLiteral("AB-12-3"), QStringLiteral(" Tornillo d acero "), QString(),
                                         QStringLiteral("8471'30"), QStringLiteral("Existe"), QStringLiteral("8471.30.00"),
                                         QString(), QStringLiteral("1,5"), QStringLiteral("CHN"), QString(), QString(),
                                         QStringLiteral("o k"), QString(), QStringLiteral("s ")}));
        QCOMPARE(w.item(1).mid(0, 8), (QStringList{QStringLiteral("NUEVO 1"), QString(), QString(), QString(),
                                                   QStringLiteral("Nuevo"), QString(), QString(), QStringLiteral("0")}));
        QVERIFY(w.list->isChecked(0) && w.list->isChecked(1));
        for (int k = 0; k <= 8; ++k)
            QCOMPARE(w.list->foreColor(0, k), kGreen);
        for (int k = 9; k < 14; ++k)
            QVERIFY(!w.list->foreColor(0, k).isValid());
        QVERIFY(!w.list->foreColor(1, 0).isValid());
        QCOMPARE(w.prg->value(), 2);
        QCOMPARE(w.prg->maximum(), 3);
    }

    void removeHyphenOption_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("listed");
        QTest::newRow("off") << false << QStringLiteral("AB-12-3");
        QTest::newRow("on") << true << QStringLiteral("AB 123");
    }

    void removeHyphenOption()
    {
        QFETCH(bool, on);
        QFETCH(QString, listed);
        Window w;
        w.chk->setChecked(on);
        w.setSheet({{label(CampoCatalogo::Articulo), label(CampoCatalogo::Descripcion)},
                    {QStringLiteral("AB-12-3"), QStringLiteral("x")}});
        w.process();
        QCOMPARE(w.list->subItem(0, 0), listed);
        QCOMPARE(w.list->subItem(0, 7), QStringLiteral("0"));
    }

    void rowWithoutCodeStillAsksAndStillStopsOnBadWeight()
    {
        MsgBoxRecorder boxes;
        Window w;
        w.setSheet({{label(CampoCatalogo::Articulo), label(CampoCatalogo::KilosUnitario), label(CampoCatalogo::PaisOrigen)},
                    {QString(), QStringLiteral("1"), QStringLiteral("Uruguay")},
                    {QString(), QStringLiteral("abc"), QString()}});
        int dialogs = 0;
        ModalDriver::onNextModal([&](QWidget *modal) {
            ++dialogs;
            auto *d = qobject_cast<frmRelPais *>(modal);
            QCOMPARE(d->txtValor()->text(), QStringLiteral("Uruguay"));
            d->cboPais()->setCurrentIndex(d->cboidPais()->findText(QStringLiteral("URY")));
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
        });
        w.process();
        QCOMPARE(dialogs, 1);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("No coinciden los tipos\r\n\r\n13 - seccion[ProcesarArticulos.frmMain."
                                                   "Sorvanta Linea 0 ]::Sorvanta"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Exclamation);
        QVERIFY(!w.reviewed());
        QVERIFY(!w.label1->isHidden());
        QCOMPARE(w.grid->rows(), 3);
    }

    void failedRunThenRerunListsEachArticleOnce()
    {
        MsgBoxRecorder boxes;
        Window w;
        QList<QStringList> sheet{{label(CampoCatalogo::Articulo), label(CampoCatalogo::KilosUnitario)}};
        for (int i = 1; i <= 12; ++i)
            sheet << QStringList{QStringLiteral("A%1").arg(i), i == 10 ? QString() : QStringLiteral("2")};
        w.setSheet(sheet);
        w.process();
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(w.list->itemCount(), 9);
        QCOMPARE(w.prg->value(), 9);
        w.grid->setTextMatrix(10, 1, QStringLiteral("2,25"));
        w.process();
        QCOMPARE(boxes.count(), 1);
        QVERIFY(w.reviewed());
        QCOMPARE(w.list->itemCount(), 12);
        QCOMPARE(w.list->subItem(0, 0), QStringLiteral("A1"));
        QCOMPARE(w.list->subItem(9, 7), QStringLiteral("2,25"));
    }

    void sameUnknownOriginAsksOnce()
    {
        Window w;
        w.setSheet({{label(CampoCatalogo::Articulo), label(CampoCatalogo::PaisOrigen)},
                    {QStringLiteral("A1"), QStringLiteral("Brasil")},
                    {QStringLiteral("A2"), QStringLiteral("China")},
                    {QStringLiteral("A3"), QStringLiteral("Brasil")}});
        int dialogs = 0;
        ModalDriver::onNextModal([&](QWidget *modal) {
            ++dialogs;
            auto *d = qobject_cast<frmRelPais *>(modal);
            d->cboPais()->setCurrentIndex(d->cboidPais()->findText(QStringLiteral("BRA")));
            QTest::keyClick(d->cboPais(), Qt::Key_F11);
        });
        w.process();
        QCOMPARE(dialogs, 1);
        QCOMPARE(w.list->subItem(0, 8), QStringLiteral("BRA"));
        QCOMPARE(w.list->subItem(1, 8), QStringLiteral("CHN"));
        QCOMPARE(w.list->subItem(2, 8), QStringLiteral("BRA"));
    }

    void editedOriginIsAskedAgainForTheUneditedText()
    {
        Window w;
        w.setSheet({{label(CampoCatalogo::Articulo), label(CampoCatalogo::PaisOrigen)},
                    {QStringLiteral("A1"), QStringLiteral("Mars")},
                    {QStringLiteral("A2"), QStringLiteral("Mars")}});
        int dialogs = 0;
        std::function<void(QWidget *)> answer = [&](QWidget *modal) {
            ++dialogs;
            auto *d = qobject_cast<frmRelPais *>(modal);
            QCOMPARE(d->txtValor()->text(), QStringLiteral("Mars"));
            if (dialogs == 1) {
                d->txtValor()->setText(QStringLiteral("Marte"));
                ModalDriver::onNextModalOtherThan(nullptr, answer);
            }
            d->cboPais()->setCurrentIndex(d->cboidPais()->findText(dialogs == 1 ? QStringLiteral("ARG") : QStringLiteral("URY")));
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
        };
        ModalDriver::onNextModal(answer);
        w.process();
        QCOMPARE(dialogs, 2);
        QCOMPARE(w.list->subItem(0, 8), QStringLiteral("ARG"));
        QCOMPARE(w.list->subItem(1, 8), QStringLiteral("URY"));
    }

    void refusedMappingProcessesNothing()
    {
        MsgBoxRecorder boxes;
        Window w;
        w.setSheet({{label(CampoCatalogo::Articulo), label(CampoCatalogo::Observacion1)}, {QStringLiteral("A"), QStringLiteral("x")}});
        w.process();
        QCOMPARE(boxes.last().text,
                 QStringLiteral("Falta seleccionar columnas, mínimo Artículo y Una más\r\n\r\n-2146102393 - seccion["
                                "ProcesarArticulos.frmMain.Sorvanta Linea 0 ]::[ SetearCampos.frmMain.Sorvanta Linea 0 ]"
                                "Campos Excel"));
        QCOMPARE(w.list->itemCount(), 0);
    }
};

QTEST_MAIN(ProcesarArticulosTest)
#include "ProcesarArticulos_test.moc"
