#include "app/frmMain.h"
#include "core/SettingsStore.h"
#include "core/UserIdentity.h"
#include "widgets/FlexGrid.h"
#include "widgets/ReviewList.h"
#include "widgets/Twips.h"

#include "support/DataAccessTestConfig.h"
#include "support/Fakes.h"
#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {
QStringList entries(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QString setting()
{
    return SettingsStore::GetSetting(u"TELMOR"_s, u"SORVANTA"_s, u"REMOVERGUIONVW"_s, u"<absent>"_s);
}

void storeSetting(const QString &value)
{
    SettingsStore::SaveSetting(u"TELMOR"_s, u"SORVANTA"_s, u"REMOVERGUIONVW"_s, value);
}

UserIdentity::Source gives(const QVariant &v)
{
    return [v] { return v.isValid() ? std::optional<QString>(v.toString()) : std::nullopt; };
}

// The catalog table as the data-access component gives it, or a component that cannot start.
void useCatalogRows(std::vector<QVariantList> rows, bool unconfigured = false)
{
    ComponentRegistry::registerSubstitute(u"DataAccessManager.DAMMain"_s, [rows, unconfigured] {
        auto data = std::make_shared<FakeData>();
        data->connection->fields = {u"idcatalogo"_s, u"descripcion"_s};
        data->connection->rows = rows;
        if (unconfigured)
            data->loadFailure = AppError(-2147467259, u"DAMMain"_s, u"Falta la configuración"_s);
        return data;
    });
}
} // namespace

class frmMainTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        UserIdentity::setUserNameSource(gives(u"operador"_s));
        UserIdentity::setComputerNameSource(gives(u"PUESTO1"_s));
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
        QVERIFY(w.windowTitle().startsWith(u"Sorvanta de Catalogos - versión: 1.0.0 - "_s));
        QVERIFY(w.windowTitle().endsWith(u"     User: Sorvanta - operador\\PUESTO1"_s));
        QCOMPARE(w.LblUser()->text(), u"User: Sorvanta - operador\\PUESTO1"_s);
        QVERIFY(w.LblUser()->width() >= w.LblUser()->sizeHint().width());
        // The embedded catalogs, in the database's order, none chosen.
        QCOMPARE(entries(w.cboCatalogos()), (QStringList{u"[GEN] General"_s, u"[PUR] Compras"_s}));
        QCOMPARE(entries(w.cboIdCatalogo()), (QStringList{u"GEN"_s, u"PUR"_s}));
        QCOMPARE(w.cboCatalogos()->currentIndex(), -1);
    }

    // The user name has 250 characters of room with its NUL, the computer name 255.
    void identity_data()
    {
        QTest::addColumn<QVariant>("user");
        QTest::addColumn<QVariant>("computer");
        QTest::addColumn<QString>("expected");
        const QString u249(249, u'u'), c254(254, u'C');
        QTest::newRow("user missing") << QVariant() << QVariant(u"PUESTO1"_s) << u"Sorvanta - \\PUESTO1"_s;
        QTest::newRow("computer missing") << QVariant(u"ana"_s) << QVariant() << u"Sorvanta - ana\\AUTO"_s;
        QTest::newRow("blanks trimmed") << QVariant(u"  ana maria "_s) << QVariant(u" PC\\2 "_s)
                                        << u"Sorvanta - ana maria\\PC\\2"_s;
        QTest::newRow("names that just fit") << QVariant(u249) << QVariant(c254) << "Sorvanta - " + u249 + "\\" + c254;
        QTest::newRow("names too long") << QVariant(u249 + "u") << QVariant(c254 + "C") << u"Sorvanta - \\AUTO"_s;
        QTest::newRow("both missing") << QVariant() << QVariant(QString()) << QString();
        QTest::newRow("both blank") << QVariant(u"   "_s) << QVariant(u"  "_s) << QString();
    }

    void identity()
    {
        QFETCH(QVariant, user);
        QFETCH(QVariant, computer);
        QFETCH(QString, expected);
        UserIdentity::setUserNameSource(gives(user));
        UserIdentity::setComputerNameSource(gives(computer));
        MsgBoxRecorder boxes;
        frmMain w;
        QCOMPARE(w.Form_Load(), !expected.isEmpty());
        QCOMPARE(modGlobal::UsuarioSesion, expected);
        if (expected.isEmpty()) {
            QCOMPARE(boxes.count(), 1);
            QCOMPARE(boxes.last().text, u"Existen problemas para identificar al usuario que realizará la "
                                        "modificación. Se abortara la operación."_s);
            QCOMPARE(boxes.last().title, u"Verificacion Previa Ejecucion"_s);
            QCOMPARE(boxes.last().icon, MsgBox::Icon::Critical);
            QVERIFY(modGlobal::AccesoDatos == nullptr);
        }
    }

    // A click writes at once; 2 shows as partly checked and is stored back as 1; text is an error.
    void removeHyphenSetting()
    {
        MsgBoxRecorder boxes;
        {
            frmMain w;
            QVERIFY(w.Form_Load());
            QCOMPARE(w.chk_removeguion()->checkState(), Qt::Unchecked);
            QCOMPARE(setting(), u"<absent>"_s);
            w.chk_removeguion()->click();
            QCOMPARE(setting(), u"1"_s);
            w.chk_removeguion()->click();
            QCOMPARE(setting(), u"0"_s);
        }
        for (const auto &[stored, state] : {std::pair{"1", Qt::Checked}, std::pair{"2", Qt::PartiallyChecked}}) {
            storeSetting(QString::fromLatin1(stored));
            frmMain w;
            w.Form_Load();
            QCOMPARE(w.chk_removeguion()->checkState(), state);
        }
        QCOMPARE(setting(), u"1"_s);
        QCOMPARE(boxes.count(), 0);
        storeSetting(u"abc"_s);
        frmMain w;
        QVERIFY(w.Form_Load());
        QCOMPARE(w.chk_removeguion()->checkState(), Qt::Unchecked);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text,
                 u"No coinciden los tipos\r\n\r\n13 - seccion[Form_Load.frmMain.Sorvanta Linea 7 ]::Sorvanta"_s);
        QCOMPARE(boxes.last().icon, MsgBox::Icon::None);
        QCOMPARE(boxes.last().title, u"Sorvanta"_s);
        QCOMPARE(w.cboCatalogos()->count(), 2);
    }

    // Steps before the failure ran, those after it did not, and the window still opens.
    void startUpStopsAtTheFailingStep()
    {
        storeSetting(u"1"_s);
        useCatalogRows({{u"GEN"_s, u"General"_s}}, true);
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, u"Falta la configuración\r\n\r\n-2147467259 - seccion[Form_Load.frmMain."
                                    "Sorvanta Linea 5 ]::DAMMain"_s);
        QCOMPARE(boxes.last().icon, MsgBox::Icon::None);
        QCOMPARE(w.LblUser()->text(), u"User: Sorvanta - operador\\PUESTO1"_s);
        QVERIFY(modGlobal::SistemaArchivos != nullptr);
        QCOMPARE(w.cboCatalogos()->count(), 0);
        QCOMPARE(w.chk_removeguion()->checkState(), Qt::Unchecked);
    }

    void catalogSelector_data()
    {
        QTest::addColumn<std::vector<QVariantList>>("rows");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("message");
        QTest::newRow("order kept, missing description")
            << std::vector<QVariantList>{{u"10"_s, u"Diez"_s}, {u"9"_s, QVariant()}, {u"PUR"_s, u"Compras"_s}}
            << QStringList{u"[10] Diez"_s, u"[9] "_s, u"[PUR] Compras"_s} << QString();
        QTest::newRow("empty") << std::vector<QVariantList>{} << QStringList() << QString();
        // Start-up goes on after the selector's own message.
        QTest::newRow("missing id stops the list")
            << std::vector<QVariantList>{{u"A"_s, u"Uno"_s}, {QVariant(), u"Sin id"_s}, {u"C"_s, u"Tres"_s}}
            << QStringList{u"[A] Uno"_s}
            << u"Uso no válido de Null\r\n\r\n94 - seccion[CargarCatalogos.frmMain.Sorvanta Linea 3 ]::Sorvanta"_s;
    }

    void catalogSelector()
    {
        QFETCH(std::vector<QVariantList>, rows);
        QFETCH(QStringList, shown);
        QFETCH(QString, message);
        useCatalogRows(rows);
        storeSetting(u"1"_s);
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        QCOMPARE(entries(w.cboCatalogos()), shown);
        QCOMPARE(w.cboIdCatalogo()->count(), shown.size());
        QCOMPARE(boxes.count(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(boxes.last().text, message);
        QCOMPARE(w.chk_removeguion()->checkState(), Qt::Checked);
    }

    // Text ids in text order; a missing description leaves the entry ending in "] ".
    void catalogSelectorReadsARealCatalogTable()
    {
        const QString folder = m_env->path(u"bases"_s);
        DataAccessTestConfig(*m_env).sqliteFolder(folder).write();
        useRealData();
        runSql(u"delete from catalogo"_s);
        runSql(u"insert into catalogo (idcatalogo, descripcion) values ('9', 'Nueve'), ('PUR', 'Compras'), "
               "('10', 'Diez'), ('X', null)"_s);
        modGlobal::reset();
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        QCOMPARE(entries(w.cboCatalogos()),
                 (QStringList{u"[10] Diez"_s, u"[9] Nueve"_s, u"[PUR] Compras"_s, u"[X] "_s}));
        QCOMPARE(entries(w.cboIdCatalogo()), (QStringList{u"10"_s, u"9"_s, u"PUR"_s, u"X"_s}));
        QCOMPARE(boxes.count(), 0);
    }

    // The grid fills the window but for its margins; the list keeps the grid's right and bottom.
    void layoutFollowsTheWindow()
    {
        frmMain w;
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.FRAM2_Grid()->isVisible() && w.lstArticulos()->isHidden() && w.cmd_Exportar()->isHidden());
        for (const QSize size : {QSize(1200, 800), QSize(700, 300)}) {
            w.resize(size);
            QCoreApplication::processEvents();
            const QRect grid = w.FRAM2_Grid()->geometry();
            QCOMPARE(grid.width(), Twips::toPixelsX(Twips::fromPixelsX(w.width(), &w) - 140, &w));
            QCOMPARE(grid.height(), Twips::toPixelsY(Twips::fromPixelsY(w.height(), &w) - 2085 - 80, &w));
            QCOMPARE(w.FRAM2()->width(), w.width());
            const QRect list = w.lstArticulos()->geometry();
            QVERIFY(qAbs(list.right() - grid.right()) <= 1 && qAbs(list.bottom() - grid.bottom()) <= 1);
        }
        w.resize(40, 30); // too small: nothing breaks
        QCoreApplication::processEvents();
    }

    // F11 and F12 act on the visible step only, once per press; F1 only in the grid.
    void functionKeysFollowTheVisibleStep()
    {
        MsgBoxRecorder boxes;
        frmMain w;
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F11); // the line edit ignores it: it climbs to the window
        QCOMPARE(boxes.count(), 1);
        QVERIFY(boxes.last().text.startsWith(u"Falta seleccionar catalogo\r\n\r\n-2146102393 - seccion["
                                             "ProcesarArticulos.frmMain.Sorvanta Linea 0 ]::"_s));
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F12);
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F1);
        w.label1()->hide();
        w.label2()->show();
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F11);
        QCOMPARE(boxes.count(), 1);
        QTest::keyClick(w.TxtArchivo(), Qt::Key_F12, Qt::ShiftModifier);
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(boxes.last().text, u"No hay artículos para procesar contra el catálogo"_s);
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMain_test.moc"
