#include "app/frmMain.h"
#include "catalog/DiarioEnvios.h"
#include "catalog/VistaPrevia.h"
#include "core/SettingsStore.h"
#include "core/UserIdentity.h"
#include "review/PanelCambios.h"
#include "widgets/FlexGrid.h"
#include "widgets/ReviewList.h"
#include "widgets/Twips.h"

#include "support/DataAccessTestConfig.h"
#include "support/DataTable.h"
#include "support/Fakes.h"
#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>

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

// "u*249": 249 times u.
QString expand(QString s)
{
    static const QRegularExpression run(u"(\\w)\\*(\\d+)"_s);
    for (QRegularExpressionMatch m = run.match(s); m.hasMatch(); m = run.match(s))
        s.replace(m.capturedStart(), m.capturedLength(), QString(m.captured(2).toInt(), m.captured(1).at(0)));
    return s;
}

UserIdentity::Source gives(const QJsonValue &v)
{
    return [v] { return v.isString() ? std::optional<QString>(expand(v.toString())) : std::nullopt; };
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
        UserIdentity::setUserNameSource(gives(QJsonValue(u"operador"_s)));
        UserIdentity::setComputerNameSource(gives(QJsonValue(u"PUESTO1"_s)));
    }

    void cleanup()
    {
        ComponentRegistry::reset();
        UserIdentity::setUserNameSource({});
        UserIdentity::setComputerNameSource({});
        modGlobal::reset();
        m_env.reset();
    }

    // tests/data/identidad-usuario.json: the user and computer names the system gives (null:
    // none), and the session name they make (empty: start-up refused), which the caption and
    // the user label show; the embedded catalogs are listed in the database's order, none chosen.
    void identity_data() { DataTable::addRows(u"identidad-usuario.json"_s); }

    void identity()
    {
        QFETCH(QJsonObject, c);
        UserIdentity::setUserNameSource(gives(c[u"user"_s]));
        UserIdentity::setComputerNameSource(gives(c[u"computer"_s]));
        const QString expected = expand(c[u"session"_s].toString());
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
            return;
        }
        QCOMPARE(boxes.count(), 0);
        QVERIFY(w.windowTitle().startsWith(u"Sorvanta de Catalogos - versión: 1.0.0 - "_s));
        QVERIFY(w.windowTitle().endsWith(u"     User: "_s + expected));
        QCOMPARE(w.LblUser()->text(), u"User: "_s + expected);
        QVERIFY(w.LblUser()->width() >= w.LblUser()->sizeHint().width());
        QCOMPARE(entries(w.cboCatalogos()), (QStringList{u"[GEN] General"_s, u"[PUR] Compras"_s}));
        QCOMPARE(entries(w.cboIdCatalogo()), (QStringList{u"GEN"_s, u"PUR"_s}));
        QCOMPARE(w.cboCatalogos()->currentIndex(), -1);
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
            SettingsStore::SaveSetting(u"TELMOR"_s, u"SORVANTA"_s, u"REMOVERGUIONVW"_s, QString::fromLatin1(stored));
            frmMain w;
            w.Form_Load();
            QCOMPARE(w.chk_removeguion()->checkState(), state);
        }
        QCOMPARE(setting(), u"1"_s);
        QCOMPARE(boxes.count(), 0);
        SettingsStore::SaveSetting(u"TELMOR"_s, u"SORVANTA"_s, u"REMOVERGUIONVW"_s, u"abc"_s);
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

    // tests/data/selector-catalogos.json: the catalog table's rows as the component gives
    // them ("unconfigured": it cannot start), or statements run on the real table first; the
    // entries shown and the message. Steps before a failure ran, those after it did not
    // ("unchecked": the setting never read), and the window still opens.
    void catalogSelector_data() { DataTable::addRows(u"selector-catalogos.json"_s); }
    void catalogSelector()
    {
        QFETCH(QJsonObject, c);
        if (c.contains(u"sql"_s)) {
            DataAccessTestConfig(*m_env).sqliteFolder(m_env->path(u"bases"_s)).write();
            useRealData();
            for (const QString &sql : DataTable::texts(c[u"sql"_s]))
                runSql(sql);
            modGlobal::reset();
        } else {
            std::vector<QVariantList> rows;
            for (const QJsonValue &row : c[u"rows"_s].toArray())
                rows.push_back({row[0].isNull() ? QVariant() : row[0].toString(),
                                row[1].isNull() ? QVariant() : row[1].toString()});
            // The catalog table as the data-access component gives it, or a component that cannot start.
            ComponentRegistry::registerSubstitute(u"DataAccessManager.DAMMain"_s, [rows, c] {
                auto data = std::make_shared<FakeData>();
                data->connection->fields = {u"idcatalogo"_s, u"descripcion"_s};
                data->connection->rows = rows;
                if (c[u"unconfigured"_s].toBool())
                    data->loadFailure = AppError(-2147467259, u"DAMMain"_s, u"Falta la configuración"_s);
                return data;
            });
        }
        SettingsStore::SaveSetting(u"TELMOR"_s, u"SORVANTA"_s, u"REMOVERGUIONVW"_s, u"1"_s);
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        const QStringList shown = DataTable::texts(c[u"shown"_s]);
        QCOMPARE(entries(w.cboCatalogos()), shown);
        QStringList ids = shown;
        QCOMPARE(entries(w.cboIdCatalogo()), ids.replaceInStrings(QRegularExpression(u"^\\[(.*)\\] .*$"_s), u"\\1"_s));
        const QString message = c[u"message"_s].toString();
        QCOMPARE(boxes.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(message.isEmpty() || boxes.last().icon == MsgBox::Icon::None);
        QCOMPARE(w.LblUser()->text(), u"User: Sorvanta - operador\\PUESTO1"_s);
        QVERIFY(modGlobal::SistemaArchivos != nullptr);
        QCOMPARE(w.chk_removeguion()->checkState(), c[u"unchecked"_s].toBool() ? Qt::Unchecked : Qt::Checked);
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

    // A second F12 of a list that went to the catalog whole asks first, No by default; a run
    // that stopped half way asks nothing (the operator unticks the refused article and goes on).
    void aSecondF12AsksBeforeSendingAgain()
    {
        const QString sent = u"Artículos enviados al catálogo GEN"_s;
        const QString question = u"Estos artículos ya se enviaron. ¿Enviarlos otra vez?"_s;
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        FlexGrid &grid = *w.FRAM2_Grid();
        grid.setCols(2);
        grid.setRows(3);
        const QStringList cells{u"[ ARTICULO ]"_s, u"[ DESCRIPCION ]"_s, u"A-1"_s, u"uno"_s, u"A-2"_s, u"dos"_s};
        for (int k = 0; k < cells.size(); ++k)
            grid.setTextMatrix(k / 2, k % 2, cells[k]);
        w.cboCatalogos()->setCurrentIndex(0);
        runSql(u"create trigger rechazar before insert on catarticulos when NEW.idarticulo = 'A-2' "
               "begin select raise(abort, 'A-2 rechazado'); end"_s);
        QTest::keyClick(w.lstArticulos(), Qt::Key_F11);
        QVERIFY(boxes.texts().isEmpty());
        QTest::keyClick(w.lstArticulos(), Qt::Key_F12);
        QVERIFY2(boxes.last().text.startsWith(u"A-2 rechazado"_s), qPrintable(boxes.last().text));
        runSql(u"drop trigger rechazar"_s);
        QTest::keyClick(w.lstArticulos(), Qt::Key_F12);
        QCOMPARE(boxes.questions(), QStringList());
        QCOMPARE(boxes.last().text, sent);
        QCOMPARE(boxes.count(), 2);
        runSql(u"delete from catarticulos"_s);
        QTest::keyClick(w.lstArticulos(), Qt::Key_F12); // answered No, as Enter does
        QCOMPARE(boxes.questions(), QStringList{question});
        QCOMPARE(boxes.defaultYes(), QList<bool>{false});
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(articleCount(), 0);
        boxes.answerQuestions(true);
        QTest::keyClick(w.lstArticulos(), Qt::Key_F12);
        QCOMPARE(boxes.questions(), (QStringList{question, question}));
        QCOMPARE(boxes.count(), 3);
        QCOMPARE(boxes.last().text, sent);
        QCOMPARE(articleCount(), 2);
    }

    // After F11 the pane under the list tells the totals and, for the item the operator stands
    // on, each column F12 will change; the list keeps its own texts.
    void theReviewShowsWhatF12WillChange()
    {
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.panelCambios()->isHidden());
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion) values ('GEN', 'A-1', 'viejo'), "
               "('GEN', 'A-2', 'dos')"_s);
        FlexGrid &grid = *w.FRAM2_Grid();
        grid.setCols(2);
        grid.setRows(4);
        const QStringList cells{
            u"[ ARTICULO ]"_s, u"[ DESCRIPCION ]"_s, u"A-1"_s, u"uno"_s, u"A-2"_s, u"dos"_s, u"A-3"_s, u"tres"_s};
        for (int k = 0; k < cells.size(); ++k)
            grid.setTextMatrix(k / 2, k % 2, cells[k]);
        w.cboCatalogos()->setCurrentIndex(w.cboIdCatalogo()->findText(u"GEN"_s));
        QTest::keyClick(w.lstArticulos(), Qt::Key_F11);
        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(w.panelCambios()->isVisible());
        QCOMPARE(w.panelCambios()->lbCambios()->text(), u"Nuevos: 1 · Existentes: 2 (1 cambian, 1 sin cambios)"_s);
        w.lstArticulos()->selectRow(0);
        const QTableWidget &tabla = *w.panelCambios()->lstCambios();
        QCOMPARE(tabla.rowCount(), 1);
        QCOMPARE((QStringList{tabla.item(0, 0)->text(), tabla.item(0, 1)->text(), tabla.item(0, 2)->text()}),
                 (QStringList{u"Descripcion"_s, u"viejo"_s, u"uno"_s}));
        QVERIFY(w.vistaPrevia().explicacion(1).startsWith(u"Sin cambios"_s));
        QCOMPARE(w.lstArticulos()->subItem(0, 1), u"uno"_s);
        QCOMPARE(w.lstArticulos()->columnCount(), 14);
        QVERIFY(w.panelCambios()->geometry().top() > w.lstArticulos()->geometry().bottom());
    }

    // The undo of the list's own send: No changes nothing; Sí puts the catalog back and the
    // window back at the sheet, labelled as F11 remembered it, so F12 waits for a new F11.
    void theUndoOfTheListsSendNeedsF11Again()
    {
        QFile hoja(m_env->path(u"hoja.csv"_s));
        QVERIFY(hoja.open(QIODevice::WriteOnly));
        hoja.write("Codigo,Texto\r\nA-1,uno\r\nA-2,dos\r\n");
        hoja.close();
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.cmd_Deshacer()->isEnabled());
        w.TxtArchivo()->setText(hoja.fileName());
        QVERIFY(w.LevantarArchivo());
        w.FRAM2_Grid()->setTextMatrix(0, 0, u"[ ARTICULO ]"_s);
        w.FRAM2_Grid()->setTextMatrix(0, 1, u"[ DESCRIPCION ]"_s);
        w.cboCatalogos()->setCurrentIndex(w.cboIdCatalogo()->findText(u"GEN"_s));
        QTest::keyClick(w.lstArticulos(), Qt::Key_F11);
        QTest::keyClick(w.lstArticulos(), Qt::Key_F12);
        QCOMPARE(boxes.texts(), QStringList{u"Artículos enviados al catálogo GEN"_s});
        QVERIFY(w.cmd_Deshacer()->isEnabled());

        w.cmd_Deshacer()->click();
        QCOMPARE(boxes.questions().size(), 1);
        QCOMPARE(boxes.defaultYes(), QList<bool>{false});
        QCOMPARE(articleCount(), 2);
        QVERIFY(w.label1()->isHidden());

        boxes.answerQuestions(true);
        w.cmd_Deshacer()->click();
        QCOMPARE(boxes.count(), 2);
        QVERIFY2(boxes.last().text.startsWith(u"Se deshizo el envío del "_s), qPrintable(boxes.last().text));
        QCOMPARE(articleCount(), 0);
        QVERIFY(!w.cmd_Deshacer()->isEnabled());
        QVERIFY(w.label1()->isVisible() && w.label2()->isHidden() && w.cmd_Exportar()->isHidden());
        QVERIFY(w.FRAM2_Grid()->isVisible() && w.lstArticulos()->isHidden() && w.panelCambios()->isHidden());
        QCOMPARE(w.FRAM2_Grid()->rows(), 3);
        QCOMPARE(w.FRAM2_Grid()->textMatrix(0, 1), u"[ DESCRIPCION ]"_s);
        QTest::keyClick(w.FRAM2_Grid(), Qt::Key_F12);
        QCOMPARE(boxes.count(), 2);
        QTest::keyClick(w.FRAM2_Grid(), Qt::Key_F11);
        QTest::keyClick(w.lstArticulos(), Qt::Key_F12);
        QCOMPARE(boxes.last().text, u"Artículos enviados al catálogo GEN"_s);
        QCOMPARE(articleCount(), 2);
    }

    // A send the journal cannot keep goes to the catalog and says it cannot be undone; the
    // button stays off.
    void aSendTheJournalCannotKeepSaysSo()
    {
        MsgBoxRecorder boxes;
        frmMain w;
        QVERIFY(w.Form_Load());
        QVERIFY(QDir().mkpath(DiarioEnvios::archivoDelUsuario())); // a folder where the file goes
        FlexGrid &grid = *w.FRAM2_Grid();
        grid.setCols(2);
        grid.setRows(2);
        const QStringList cells{u"[ ARTICULO ]"_s, u"[ DESCRIPCION ]"_s, u"A-1"_s, u"uno"_s};
        for (int k = 0; k < cells.size(); ++k)
            grid.setTextMatrix(k / 2, k % 2, cells[k]);
        w.cboCatalogos()->setCurrentIndex(w.cboIdCatalogo()->findText(u"GEN"_s));
        QTest::keyClick(w.lstArticulos(), Qt::Key_F11);
        QTest::keyClick(w.lstArticulos(), Qt::Key_F12);
        QCOMPARE(boxes.count(), 1);
        QVERIFY2(
            boxes.last().text.startsWith(u"Artículos enviados al catálogo GEN\r\nEste envío no podrá deshacerse: "_s),
            qPrintable(boxes.last().text));
        QCOMPARE(articleCount(), 1);
        QVERIFY(!w.cmd_Deshacer()->isEnabled());
    }

    // At start-up the last undoable send is offered on a line, its catalog the button's until
    // one is chosen; a journal that cannot be read offers nothing and says nothing.
    void startUpOffersTheLastUndoableSend_data()
    {
        QTest::addColumn<QByteArray>("diario");
        QTest::addColumn<bool>("ofrece");
        QTest::newRow("no journal") << QByteArray() << false;
        QTest::newRow("a send to GEN") << QByteArray("send") << true;
        QTest::newRow("not a database") << QByteArray("esto no es una base de datos sqlite, ni lo fue nunca") << false;
    }

    void startUpOffersTheLastUndoableSend()
    {
        QFETCH(QByteArray, diario);
        QFETCH(bool, ofrece);
        MsgBoxRecorder boxes;
        if (diario == "send") {
            frmMain primera;
            QVERIFY(primera.Form_Load());
            DiarioEnvios journal;
            DiarioEnvios::Entrada entrada = DiarioEnvios::nuevaEntrada(u"GEN"_s);
            entrada.id = journal.registrar(entrada, {{QByteArray(), QByteArray(R"({"idarticulo":"A-1"})")}});
            journal.marcar(entrada, DiarioEnvios::Estado::Hecho);
            ComponentRegistry::reset();
            modGlobal::reset();
        } else if (!diario.isEmpty()) {
            QFile archivo(DiarioEnvios::archivoDelUsuario());
            QVERIFY(QDir().mkpath(QFileInfo(archivo).absolutePath()));
            QVERIFY(archivo.open(QIODevice::WriteOnly));
            archivo.write(diario.repeated(100));
        }
        frmMain w;
        QVERIFY(w.Form_Load());
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(w.cmd_Deshacer()->isEnabled(), ofrece);
        QCOMPARE(w.lbDeshacer()->text().startsWith(u"Puede deshacer el último envío al catálogo GEN, del "_s), ofrece);
        if (diario.isEmpty())
            QVERIFY(!QFile::exists(DiarioEnvios::archivoDelUsuario()));
        w.cboCatalogos()->setCurrentIndex(w.cboIdCatalogo()->findText(u"PUR"_s));
        QVERIFY(!w.cmd_Deshacer()->isEnabled());
        QVERIFY(w.lbDeshacer()->text().isEmpty());
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMain_test.moc"
