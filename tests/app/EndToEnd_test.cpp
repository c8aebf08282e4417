#include "app/frmMain.h"
#include "core/UserIdentity.h"
#include "lote/Lote.h"
#include "review/frmRelPais.h"
#include "sheet/modCargaExcel.h"
#include "widgets/FlexGrid.h"
#include "widgets/ReviewList.h"

#include "sheet/SheetFiles.h"
#include "support/DataAccessTestConfig.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QDate>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>

namespace {
// Every row of the catalog and of the origin translations, FECHA to the day.
QStringList catalogRows()
{
    auto rows = [](const char *table) {
        return SqlRows::rows(*modGlobal::AccesoDatos, QStringLiteral("CATALOGOS"),
                             QStringLiteral("select * from ") + QLatin1String(table));
    };
    static const QRegularExpression time(QStringLiteral("(\\d{4}-\\d\\d-\\d\\d)[T ][0-9:.+-]*"));
    return (rows("catarticulos order by idcatalogo, idarticulo") + rows("ORG order by PAI"))
        .replaceInStrings(time, QStringLiteral("\\1"));
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

    // Points the program at the backend; "" when it is ready, else why not.
    QString configure(const QString &backend)
    {
        if (backend == QLatin1String("embedded"))
            return QString();
        return DataAccessTestConfig(*m_env).backend(
            backend, m_env->path(QStringLiteral("bases")), QStringLiteral("extremo_a_extremo"),
            backend == QLatin1String("postgres") ? QStringLiteral("SQL") : QStringLiteral("ACCESS"));
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

    void loadMapProcessAndSend_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<bool>("remarks");
        QTest::newRow("embedded sqlite") << QStringLiteral("embedded") << true;
        QTest::newRow("postgresql") << QStringLiteral("postgres") << true;
        QTest::newRow("odbc sqlite, kind ACCESS") << QStringLiteral("odbc sqlite") << false;
    }

    // Load, F1 for each column, F11 with one unknown origin answered, F12 twice; then the
    // catalog as the backend holds it, and the same sheet and choices through sorvanta-lote
    // leave the same catalog and translations, row for row.
    void loadMapProcessAndSend()
    {
        QFETCH(QString, backend);
        QFETCH(bool, remarks);
        const QString problem = configure(backend);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QStringList byWindow;
        {
            MsgBoxRecorder boxes;
            frmMain w;
            // Start-up, the catalog's earlier state, the workbook loaded and every column assigned with F1.
            const QString file = SheetFiles::write(
                m_dir, QStringLiteral("articulos.xlsx"),
                QJsonArray{QJsonArray{"codigo", "descripcion", "ncm", "peso", "origen", "nota"},
                           QJsonArray{"N'1", "Tornillo d'acero ñandú", "7318.15.00", 1.5, "Brasil", "frágil"},
                           QJsonArray{"EXI-1", "Descripción nueva", "8471.30.00", 2, "Brasil", "revisar"},
                           QJsonArray{"EXI-1", "", "", 0, "Brasil", "dos veces"},
                           QJsonArray{"N-2", "Válvula", "8481.80.00", 0.25, "Tierra del Fuego", QJsonValue()}});
            QVERIFY(!file.isEmpty());
            QVERIFY(w.Form_Load());
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            runSql(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, descripcion, ncm) "
                                  "values ('GEN', 'EXI-1', 'vieja', '8471.30.00')"));
            runSql(QStringLiteral("insert into ORG (PAI, ORI, ESM) values ('Brasil', 'BRA', '1')"));
            QVERIFY(modCargaExcel::lf_LevantarExcel(file, *w.FRAM2_Grid(), *w.lbLineas()));
            QCOMPARE(w.FRAM2_Grid()->rows(), 5);
            // ARTICULO, DESCRIPCION, NCM, KILOS_UNITARIO, PAIS_ORIGEN, OBSERVACION1
            const int downs[] = {1, 2, 5, 6, 7, 8};
            for (int c = 0; c < 6; ++c)
                assign(w, c, downs[c]);
            QCOMPARE(w.FRAM2_Grid()->textMatrix(0, 0), QStringLiteral("[ ARTICULO ]"));
            QCOMPARE(w.FRAM2_Grid()->textMatrix(0, 3), QStringLiteral("[ KILOS_UNITARIO ]"));
            w.cboCatalogos()->setCurrentIndex(w.cboIdCatalogo()->findText(QStringLiteral("GEN")));

            // F11, answering the one unknown origin with ARG in the country dialog.
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
            QVERIFY(!w.label2()->isHidden());
            QVERIFY2(boxes.count() == 0, qPrintable(boxes.count() ? boxes.last().text : QString()));
            ReviewList &list = *w.lstArticulos();
            QCOMPARE(list.itemCount(), 4);
            QCOMPARE(list.subItem(1, 0) + u' ' + list.subItem(1, 4), QStringLiteral("EXI-1 Existe"));

            QTest::keyClick(w.lstArticulos(), Qt::Key_F12);
            QCOMPARE(boxes.count(), 1);
            QCOMPARE(boxes.last().text, QStringLiteral("Artículos enviados al catálogo GEN"));
            QCOMPARE(boxes.last().icon, MsgBox::Icon::Information);
            QCOMPARE(w.prgBar()->value(), 4);

            // The values themselves are the catalog tests' part; here the backend's: who and
            // when, and the remarks only where the kind keeps them.
            const QString today = QDate::currentDate().toString(Qt::ISODate);
            for (const auto &[codigo, nota] : {std::pair{"N 1", "frágil"}, std::pair{"EXI-1", "revisar"}}) {
                const QStringList stored = article(QString::fromUtf8(codigo));
                QCOMPARE(stored.value(4), QStringLiteral("Sorvanta - user\\computer"));
                QCOMPARE(stored.value(5).left(10), today);
                QCOMPARE(stored.value(6), remarks ? QString::fromUtf8(nota) : QString());
            }
            QCOMPARE(articleCount(), 3);
            byWindow = catalogRows();

            // A second F12, once the operator says so, finds what the first inserted and updates it.
            boxes.answerQuestions(true);
            QTest::keyClick(w.lstArticulos(), Qt::Key_F12);
            QCOMPARE(boxes.questions().size(), 1);
            QCOMPARE(boxes.count(), 2);
            QCOMPARE(boxes.last().text, QStringLiteral("Artículos enviados al catálogo GEN"));
            QCOMPARE(articleCount(), 3);
        }
        if (backend == QLatin1String("odbc sqlite"))
            return;
        modGlobal::reset();
        m_env.reset(); // the old one puts the environment back as it found it
        m_env = std::make_unique<TestEnvironment>();
        QVERIFY(configure(backend).isEmpty());
        useRealData();
        runSql(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, descripcion, ncm) "
                              "values ('GEN', 'EXI-1', 'vieja', '8471.30.00')"));
        runSql(QStringLiteral("insert into ORG (PAI, ORI, ESM) values ('Brasil', 'BRA', '1')"));
        QString out, err;
        QTextStream salida(&out), errores(&err);
        const QStringList args = QStringList{m_dir.filePath(QStringLiteral("articulos.xlsx"))}
                                 + QStringLiteral("--catalogo gen --campo=A=ARTICULO --campo=descripcion=DESCRIPCION "
                                                  "--campo=C=NCM --campo=D=KILOS_UNITARIO --campo=E=PAIS_ORIGEN "
                                                  "--campo=nota=OBSERVACION1")
                                       .split(QLatin1Char(' '));
        QCOMPARE(EjecutarLote(args, salida, errores, false), SalidaLote::kOrigenesDesconocidos);
        QVERIFY2(err.contains(QStringLiteral("\"Tierra del Fuego\", fila 5")), qPrintable(err));
        QCOMPARE(articleCount(), 1); // nothing sent
        QCOMPARE(EjecutarLote(args + QStringList{QStringLiteral("--pais"), QStringLiteral("Tierra del Fuego=ARG")},
                              salida, errores, false),
                 SalidaLote::kHecho);
        QVERIFY2(out.endsWith(QStringLiteral("Filas leídas: 4; artículos: 4; nuevos: 2; existentes: 2; enviados: 3; "
                                             "sin cambios: 1\n")),
                 qPrintable(out));
        useRealData();
        QCOMPARE(catalogRows(), byWindow);
    }
};

QTEST_MAIN(EndToEndTest)
#include "EndToEnd_test.moc"
