#include "app/frmMain.h"
#include "common/modGlobal.h"
#include "external/ComponentRegistry.h"
#include "external/DataAccessManager.h"
#include "platform/AppError.h"
#include "platform/AppFont.h"
#include "platform/FlexGrid.h"
#include "platform/GridModel.h"
#include "platform/ReviewList.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"
#include "platform/UserIdentity.h"

#include "support/DataAccessTestConfig.h"
#include "support/ModalDriver.h"
#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

namespace {
// A catalog table served from memory, to see what the selector does with odd rows.
class FixedConnection : public DatabaseConnection {
public:
    explicit FixedConnection(std::vector<QVariantList> rows) : m_rows(std::move(rows)) {}
    void setSql(const QString &s) override { m_sql = s; }
    QString sql() const override { return m_sql; }
    bool crearRs(std::shared_ptr<Recordset> &rs) override
    {
        rs = std::make_shared<Recordset>(QStringList{QStringLiteral("idcatalogo"), QStringLiteral("descripcion")},
                                         m_rows);
        return !m_rows.empty();
    }
    long ejecutar() override { return 0; }

private:
    QString m_sql;
    std::vector<QVariantList> m_rows;
};

class FixedCatalogs : public DataAccessManager {
public:
    explicit FixedCatalogs(std::vector<QVariantList> rows) : m_connection(std::make_shared<FixedConnection>(rows)) {}
    void LoadParameters() override {}
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &) override { return m_connection; }
    QString getDataConnectionTAG(const QString &) override { return QStringLiteral("SQL"); }

private:
    std::shared_ptr<FixedConnection> m_connection;
};

// A data-access component whose configuration cannot be read.
class UnconfiguredCatalogs : public FixedCatalogs {
public:
    UnconfiguredCatalogs() : FixedCatalogs({{QStringLiteral("GEN"), QStringLiteral("General")}}) {}
    void LoadParameters() override
    {
        throw AppError(-2147467259, QStringLiteral("DAMMain"), QStringLiteral("Falta la configuración"));
    }
};

QStringList entries(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QString setting()
{
    return SettingsStore::GetSetting(QStringLiteral("TELMOR"), QStringLiteral("SORVANTA"),
                                     QStringLiteral("REMOVERGUIONVW"), QStringLiteral("<absent>"));
}

void storeSetting(const QString &value)
{
    SettingsStore::SaveSetting(QStringLiteral("TELMOR"), QStringLiteral("SORVANTA"), QStringLiteral("REMOVERGUIONVW"),
                               value);
}
} // namespace

class frmMainTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestEnvironment> m_env;

    void useCatalogRows(std::vector<QVariantList> rows)
    {
        ComponentRegistry::registerSubstitute(QStringLiteral("DataAccessManager.DAMMain"),
                                              [rows] { return std::make_shared<FixedCatalogs>(rows); });
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        UserIdentity::setUserNameSource([] { return std::optional<QString>(QStringLiteral("operador")); });
        UserIdentity::setComputerNameSource([] { return std::optional<QString>(QStringLiteral("PUESTO1")); });
    }

    void cleanup()
    {
        ComponentRegistry::reset();
        UserIdentity::setUserNameSource({});
        UserIdentity::setComputerNameSource({});
        modGlobal::reset();
        m_env.reset();
    }

    void composesCaptionAndUserLabel()
    {
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(modGlobal::UsuarioSesion, QStringLiteral("Sorvanta - operador\\PUESTO1"));
        QVERIFY(w.windowTitle().startsWith(QStringLiteral("Sorvanta de Catalogos - versión: 1.0.0 - ")));
        QVERIFY(w.windowTitle().endsWith(QStringLiteral("     User: Sorvanta - operador\\PUESTO1")));
        QCOMPARE(w.LblUser()->text(), QStringLiteral("User: Sorvanta - operador\\PUESTO1"));
        QVERIFY(w.LblUser()->width() >= w.LblUser()->sizeHint().width());
        // The embedded catalogs, in the database's order, none chosen.
        QCOMPARE(entries(w.cboCatalogos()), (QStringList{QStringLiteral("[GEN] General"), QStringLiteral("[PUR] Compras")}));
        QCOMPARE(entries(w.cboIdCatalogo()), (QStringList{QStringLiteral("GEN"), QStringLiteral("PUR")}));
        QCOMPARE(w.cboCatalogos()->currentIndex(), -1);
    }

    void identityCases_data()
    {
        QTest::addColumn<QVariant>("user");
        QTest::addColumn<QVariant>("computer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("user missing") << QVariant() << QVariant(QStringLiteral("PUESTO1"))
                                      << QStringLiteral("Sorvanta - \\PUESTO1");
        QTest::newRow("computer missing") << QVariant(QStringLiteral("ana")) << QVariant()
                                          << QStringLiteral("Sorvanta - ana\\AUTO");
        QTest::newRow("blanks trimmed") << QVariant(QStringLiteral("  ana maria ")) << QVariant(QStringLiteral(" PC 2 "))
                                        << QStringLiteral("Sorvanta - ana maria\\PC 2");
        QTest::newRow("both missing") << QVariant() << QVariant(QString()) << QString();
    }

    void identityCases()
    {
        QFETCH(QVariant, user);
        QFETCH(QVariant, computer);
        QFETCH(QString, expected);
        auto source = [](const QVariant &v) {
            return [v] { return v.isValid() ? std::optional<QString>(v.toString()) : std::nullopt; };
        };
        UserIdentity::setUserNameSource(source(user));
        UserIdentity::setComputerNameSource(source(computer));
        MsgBoxRecorder boxes;
        frmMain w;
        const bool started = w.Form_Load();
        if (expected.isEmpty()) {
            QVERIFY(!started);
            QCOMPARE(boxes.count(), 1);
            QCOMPARE(boxes.last().text, QStringLiteral("Existen problemas para identificar al usuario que realizará la "
                                                       "modificación. Se abortara la operación."));
            QCOMPARE(boxes.last().title, QStringLiteral("Verificacion Previa Ejecucion"));
            QCOMPARE(boxes.last().icon, MsgBox::Icon::Critical);
            QVERIFY(modGlobal::AccesoDatos == nullptr);
            return;
        }
        QVERIFY(started);
        QCOMPARE(modGlobal::UsuarioSesion, expected);
    }

    void removeHyphenSetting()
    {
        MsgBoxRecorder boxes;
        {
            frmMain w;
            QVERIFY(w.Form_Load());
            QCOMPARE(w.chk_removeguion()->checkState(), Qt::Unchecked);
            QCOMPARE(setting(), QStringLiteral("<absent>"));
            // A click writes at once.
            w.chk_removeguion()->click();
            QCOMPARE(setting(), QStringLiteral("1"));
            w.chk_removeguion()->click();
            QCOMPARE(setting(), QStringLiteral("0"));
        }
        storeSetting(QStringLiteral("1"));
        {
            frmMain w;
            w.Form_Load();
            QCOMPARE(w.chk_removeguion()->checkState(), Qt::Checked);
        }
        storeSetting(QStringLiteral("2"));
        {
            frmMain w;
            w.Form_Load();
            QCOMPARE(w.chk_removeguion()->checkState(), Qt::PartiallyChecked);
            QCOMPARE(setting(), QStringLiteral("1"));
        }
        QCOMPARE(boxes.count(), 0);
        storeSetting(QStringLiteral("abc"));
        {
            frmMain w;
            QVERIFY(w.Form_Load());
            QCOMPARE(w.chk_removeguion()->checkState(), Qt::Unchecked);
            QCOMPARE(boxes.count(), 1);
            QCOMPARE(boxes.last().text, QStringLiteral("No coinciden los tipos\r\n\r\n13 - seccion[Form_Load.frmMain."
                                                       "Sorvanta Linea 7 ]::Sorvanta"));
            QCOMPARE(boxes.last().icon, MsgBox::Icon::None);
            QCOMPARE(boxes.last().title, QStringLiteral("Sorvanta"));
            QCOMPARE(w.cboCatalogos()->count(), 2);
        }
    }

    void startUpStopsAtTheFailingStepButTheWindowOpens()
    {
        storeSetting(QStringLiteral("1"));
        ComponentRegistry::registerSubstitute(QStringLiteral("DataAccessManager.DAMMain"),
                                              [] { return std::make_shared<UnconfiguredCatalogs>(); });
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("Falta la configuración\r\n\r\n-2147467259 - seccion[Form_Load.frmMain."
                                                   "Sorvanta Linea 5 ]::DAMMain"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::None);
        // Steps before the failure ran, those after it did not.
        QCOMPARE(w.LblUser()->text(), QStringLiteral("User: Sorvanta - operador\\PUESTO1"));
        QVERIFY(modGlobal::SistemaArchivos != nullptr);
        QCOMPARE(w.cboCatalogos()->count(), 0);
        QCOMPARE(w.chk_removeguion()->checkState(), Qt::Unchecked);
    }

    void catalogSelectorKeepsOrderAndOddRows()
    {
        useCatalogRows({{QStringLiteral("10"), QStringLiteral("Diez")},
                        {QStringLiteral("9"), QVariant()},
                        {QStringLiteral("PUR"), QStringLiteral("Compras")}});
        MsgBoxRecorder boxes;
        frmMain w;
        w.Form_Load();
        QCOMPARE(entries(w.cboCatalogos()), (QStringList{QStringLiteral("[10] Diez"), QStringLiteral("[9] "),
                                                         QStringLiteral("[PUR] Compras")}));
        QCOMPARE(entries(w.cboIdCatalogo()), (QStringList{QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("PUR")}));
        QCOMPARE(boxes.count(), 0);
    }

    void catalogSelectorEmptyAndFailingPartWay()
    {
        {
            useCatalogRows({});
            MsgBoxRecorder boxes;
            frmMain w;
            w.Form_Load();
            QCOMPARE(w.cboCatalogos()->count(), 0);
            QCOMPARE(boxes.count(), 0);
        }
        useCatalogRows({{QStringLiteral("A"), QStringLiteral("Uno")}, {QVariant(), QStringLiteral("Sin id")},
                        {QStringLiteral("C"), QStringLiteral("Tres")}});
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        QCOMPARE(entries(w.cboCatalogos()), QStringList{QStringLiteral("[A] Uno")});
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("Uso no válido de Null\r\n\r\n94 - seccion[CargarCatalogos.frmMain."
                                                   "Sorvanta Linea 3 ]::Sorvanta"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::None);
        // Start-up went on after the selector's own message.
        QCOMPARE(w.chk_removeguion()->checkState(), Qt::Unchecked);
    }

    void catalogSelectorReadsARealCatalogTable()
    {
        const QString folder = m_env->path(QStringLiteral("bases"));
        QDir().mkpath(folder);
        DataAccessTestConfig::createSqliteDatabases(folder);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("preparar"));
            db.setDatabaseName(DataAccessTestConfig::catalogosFile(folder));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("delete from catalogo")));
            QVERIFY(q.exec(QStringLiteral("insert into catalogo (idcatalogo, descripcion) values ('9', 'Nueve'), "
                                          "('PUR', 'Compras'), ('10', 'Diez'), ('X', null)")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("preparar"));
        DataAccessTestConfig(*m_env).sqliteFolder(folder).write();
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        // Text ids in text order; a missing description leaves the entry ending in "] ".
        QCOMPARE(entries(w.cboCatalogos()), (QStringList{QStringLiteral("[10] Diez"), QStringLiteral("[9] Nueve"),
                                                         QStringLiteral("[PUR] Compras"), QStringLiteral("[X] ")}));
        QCOMPARE(entries(w.cboIdCatalogo()),
                 (QStringList{QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("PUR"), QStringLiteral("X")}));
        QCOMPARE(boxes.count(), 0);
    }

    void layoutFollowsTheWindow()
    {
        frmMain w;
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.FRAM2_Grid()->isVisible(), true);
        QCOMPARE(w.lstArticulos()->isHidden(), true);
        QCOMPARE(w.label2()->isHidden(), true);
        QCOMPARE(w.cmd_Exportar()->isHidden(), true);
        for (const QSize size : {QSize(1200, 800), QSize(700, 300), QSize(40, 30)}) {
            w.resize(size);
            QCoreApplication::processEvents();
            const int W = Twips::fromPixelsX(w.width(), &w);
            const int H = Twips::fromPixelsY(w.height(), &w);
            const QRect grid = w.FRAM2_Grid()->geometry();
            QCOMPARE(grid.topLeft(), QPoint(Twips::toPixelsX(60, &w), Twips::toPixelsY(2085, &w)));
            if (W - 60 - 80 >= 0)
                QCOMPARE(grid.width(), Twips::toPixelsX(W - 60 - 80, &w));
            if (H - 2085 - 80 >= 0)
                QCOMPARE(grid.height(), Twips::toPixelsY(H - 2085 - 80, &w));
            QCOMPARE(w.FRAM2()->width(), w.width());
            // The list keeps its designed corner and the grid's right and bottom margins.
            const QRect list = w.lstArticulos()->geometry();
            QCOMPARE(list.topLeft(), QPoint(Twips::toPixelsX(165, &w), Twips::toPixelsY(2595, &w)));
            if (W - 165 - 80 >= 0)
                QVERIFY(qAbs(list.right() - grid.right()) <= 1);
            if (H - 2595 - 80 >= 0)
                QVERIFY(qAbs(list.bottom() - grid.bottom()) <= 1);
            QVERIFY(W - 165 - 80 < 0 || list.right() < w.width());
            QVERIFY(H - 2595 - 80 < 0 || list.bottom() < w.height());
        }
    }

    void functionKeysFollowTheVisibleStep()
    {
        MsgBoxRecorder boxes;
        frmMain w;
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // F11 while step 3-4 shows: processing runs and refuses without a catalog.
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F11);
        QCOMPARE(boxes.count(), 1);
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("Falta seleccionar catalogo\r\n\r\n-2146102393 - seccion["
                                                            "ProcesarArticulos.frmMain.Sorvanta Linea 0 ]::")));
        QTest::keyClick(w.cboCatalogos(), Qt::Key_F11, Qt::ShiftModifier);
        QCOMPARE(boxes.count(), 2);
        // F12 does nothing before the review step; F1 outside the grid does nothing.
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F12);
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F1);
        QCOMPARE(boxes.count(), 2);
        // The same control twice in a row: each press acts once.
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F11);
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F11);
        QCOMPARE(boxes.count(), 4);
        w.label1()->hide();
        w.label2()->show();
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F11);
        QCOMPARE(boxes.count(), 4);
        // Reviewed step: F12 sends (an empty list says so).
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F12);
        QCOMPARE(boxes.count(), 5);
        QCOMPARE(boxes.last().text, QStringLiteral("No hay artículos para procesar contra el catálogo"));
    }

    void everyPressActsOnceEvenWhenRepeated()
    {
        MsgBoxRecorder boxes;
        frmMain w;
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.TxtArchivo()->setFocus();
        // The line edit ignores F11, so the press climbs through FRAM2 to the window.
        for (int i = 1; i <= 3; ++i) {
            QTest::keyClick(w.TxtArchivo(), Qt::Key_F11);
            QCOMPARE(boxes.count(), i);
        }
    }

    void f1InTheGridAssignsTheColumnUnderTheCursor()
    {
        MsgBoxRecorder boxes;
        frmMain w;
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        FlexGrid *grid = w.FRAM2_Grid();
        grid->setCols(3);
        grid->setRows(3);
        for (int c = 0; c < 3; ++c)
            grid->setTextMatrix(0, c, QStringLiteral("col%1").arg(c));
        grid->setFocus();
        // The operator's cursor, not a program call, picks the column.
        grid->setCurrentIndex(grid->gridModel()->index(1, 2));
        bool chooserOpened = false;
        ModalDriver::onNextModal([&chooserOpened](QWidget *modal) {
            chooserOpened = true;
            modal->close();
        });
        QTest::keyClick(grid, Qt::Key_F1);
        QVERIFY(chooserOpened);
        QCOMPARE(grid->textMatrix(0, 2), QString());
        QCOMPARE(grid->textMatrix(0, 1), QStringLiteral("col1"));
        QCOMPARE(boxes.count(), 0);
    }

    // SORVANTA_SCREENSHOT_DIR=docs/screenshots refreshes the README's picture of the window.
    void screenshotWhenAsked()
    {
        const QString dir = qEnvironmentVariable("SORVANTA_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("SORVANTA_SCREENSHOT_DIR not set");
        AppFont::ensureTahoma();
        frmMain w;
        QVERIFY(w.Form_Load());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.grab().save(dir + QStringLiteral("/main.png")));
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMain_test.moc"
