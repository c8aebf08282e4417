#include "app/frmMain.h"
#include "common/modGlobal.h"
#include "external/DataAccessManager.h"
#include "platform/FlexGrid.h"
#include "platform/ReviewList.h"
#include "platform/UserIdentity.h"
#include "review/frmRelPais.h"
#include "sheet/modCargaExcel.h"

#include "sheet/SheetFiles.h"
#include "support/ModalDriver.h"
#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QtTest>
#include <memory>

namespace {
void execute(const QString &sql)
{
    auto &datos = *modGlobal::AccesoDatos;
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->setSql(sql);
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->ejecutar();
}

// descripcion, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA of one article; empty when absent.
QStringList row(const QString &codigo)
{
    auto &datos = *modGlobal::AccesoDatos;
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))
        ->setSql(QStringLiteral("select descripcion, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA "
                                "from catarticulos where idcatalogo = 'GEN' and idarticulo = '%1'")
                     .arg(codigo));
    std::shared_ptr<Recordset> rs;
    if (!datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->crearRs(rs))
        return {};
    QStringList out;
    for (const QString &f : rs->fieldNames())
        out << rs->fields(f).toString();
    return out;
}

int count()
{
    auto &datos = *modGlobal::AccesoDatos;
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))
        ->setSql(QStringLiteral("select count(*) as n from catarticulos where idcatalogo = 'GEN'"));
    std::shared_ptr<Recordset> rs;
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->crearRs(rs);
    return rs->fields(QStringLiteral("n")).toInt();
}

// The offscreen platform does not activate a new modal window by itself.
void keyInModal(QWidget *modal, int key)
{
    if (QApplication::activeWindow() != modal || !QApplication::focusWidget()) {
        modal->activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == modal && QApplication::focusWidget());
    }
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
}

int findItem(const ReviewList &list, const QString &codigo)
{
    for (int i = 0; i < list.itemCount(); ++i)
        if (list.subItem(i, 0) == codigo)
            return i;
    return -1;
}
} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;
    QTemporaryDir m_dir;

    // F1 on column col of the grid, then `downs` times Down and Enter in the real chooser.
    void assign(frmMain &w, int col, int downs)
    {
        w.FRAM2_Grid()->setCol(col);
        ModalDriver::onNextModal([downs](QWidget *modal) {
            for (int i = 0; i < downs; ++i)
                keyInModal(modal, Qt::Key_Down);
            keyInModal(modal, Qt::Key_Return);
        });
        QTest::keyClick(w.FRAM2_Grid(), Qt::Key_F1);
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        UserIdentity::setUserNameSource([] { return std::optional<QString>(QStringLiteral("user")); });
        UserIdentity::setComputerNameSource([] { return std::optional<QString>(QStringLiteral("computer")); });
    }

    void cleanup()
    {
        UserIdentity::setUserNameSource({});
        UserIdentity::setComputerNameSource({});
        modGlobal::reset();
        m_env.reset();
    }

    // Load, F1 for each column, F11 with one unknown origin answered, one item unchecked,
    // F12; then the catalog as the embedded database holds it.
    void loadMapProcessAndSendOnTheEmbeddedCatalog()
    {
        const QString file = SheetFiles::write(
            m_dir, QStringLiteral("articulos.xlsx"),
            QJsonArray{QJsonArray{"codigo", "descripcion", "ncm", "peso", "origen"},
                       QJsonArray{"N'1", "Tornillo d'acero ñandú", "7318.15.00", 1.5, "Brasil"},
                       QJsonArray{"EXI-1", "Descripción nueva", "8471.30.00", 2, "Brasil"},
                       QJsonArray{"SIN-1", "No se envía", "8471.30.00", 1, "Brasil"},
                       QJsonArray{"N-2", "Válvula", "8481.80.00", 0.25, "Tierra del Fuego"}});
        QVERIFY(!file.isEmpty());

        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        execute(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, descripcion, ncm) "
                               "values ('GEN', 'EXI-1', 'vieja', '8471.30.00')"));
        execute(QStringLiteral("insert into ORG (PAI, ORI, ESM) values ('Brasil', 'BRA', '1')"));

        QVERIFY(modCargaExcel::lf_LevantarExcel(file, *w.FRAM2_Grid(), *w.lbLineas()));
        QCOMPARE(w.FRAM2_Grid()->rows(), 5);
        assign(w, 0, 1); // ARTICULO
        assign(w, 1, 2); // DESCRIPCION
        assign(w, 2, 5); // NCM
        assign(w, 3, 6); // KILOS_UNITARIO
        assign(w, 4, 7); // PAIS_ORIGEN
        QCOMPARE(w.FRAM2_Grid()->textMatrix(0, 0), QStringLiteral("[ ARTICULO ]"));
        QCOMPARE(w.FRAM2_Grid()->textMatrix(0, 3), QStringLiteral("[ KILOS_UNITARIO ]"));
        w.cboCatalogos()->setCurrentIndex(w.cboIdCatalogo()->findText(QStringLiteral("GEN")));

        int asked = 0;
        ModalDriver::onNextModal([&](QWidget *modal) {
            ++asked;
            auto *d = qobject_cast<frmRelPais *>(modal);
            QVERIFY(d);
            QCOMPARE(d->txtValor()->text(), QStringLiteral("Tierra del Fuego"));
            d->cboPais()->setCurrentIndex(d->cboidPais()->findText(QStringLiteral("ARG")));
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
        });
        QTest::keyClick(w.FRAM2_Grid(), Qt::Key_F11);
        QCOMPARE(asked, 1);
        QVERIFY2(boxes.count() == 0, qPrintable(boxes.count() ? boxes.last().text : QString()));
        QVERIFY(!w.label2()->isHidden());
        ReviewList &list = *w.lstArticulos();
        QCOMPARE(list.itemCount(), 4);
        QCOMPARE(list.subItem(findItem(list, QStringLiteral("EXI-1")), 4), QStringLiteral("Existe"));
        list.setChecked(findItem(list, QStringLiteral("SIN-1")), false);

        QTest::keyClick(w.lstArticulos(), Qt::Key_F12);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("Artículos enviados al catálogo GEN"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Information);
        QCOMPARE(w.prgBar()->value(), 4);

        const QString today = QDate::currentDate().toString(Qt::ISODate);
        const QString usuario = QStringLiteral("Sorvanta - user\\computer");
        const QStringList nuevo = row(QStringLiteral("N 1"));
        QCOMPARE(nuevo.size(), 6);
        QCOMPARE(nuevo[0].trimmed(), QStringLiteral("Tornillo d acero ñandú"));
        QCOMPARE(nuevo.mid(1, 4), (QStringList{QStringLiteral("7318.15.00"), QStringLiteral("1.5"),
                                               QStringLiteral("BRA"), usuario}));
        QCOMPARE(nuevo[5].left(10), today);
        const QStringList segundo = row(QStringLiteral("N-2"));
        QCOMPARE(segundo.mid(2, 3), (QStringList{QStringLiteral("0.25"), QStringLiteral("ARG"), usuario}));
        const QStringList existente = row(QStringLiteral("EXI-1"));
        QCOMPARE(existente[0].trimmed(), QStringLiteral("Descripción nueva"));
        QCOMPARE(existente[4], usuario);
        QCOMPARE(existente[5].left(10), today);
        QVERIFY(row(QStringLiteral("SIN-1")).isEmpty());
        QCOMPARE(count(), 3);

        // A second F12 finds what the first inserted and updates it.
        QTest::keyClick(w.lstArticulos(), Qt::Key_F12);
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(boxes.last().text, QStringLiteral("Artículos enviados al catálogo GEN"));
        QCOMPARE(count(), 3);
    }
};

QTEST_MAIN(EndToEndTest)
#include "EndToEnd_test.moc"
