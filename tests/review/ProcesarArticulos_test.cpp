#include "mapping/CampoCatalogo.h"
#include "review/PreguntarConDialogo.h"
#include "review/ProcesarArticulos.h"
#include "review/frmRelPais.h"
#include "widgets/FlexGrid.h"
#include "widgets/ReviewList.h"

#include "support/DataTable.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <optional>

using namespace Qt::StringLiterals;
using C = CampoCatalogo;

namespace {
// The main-window controls processing works on, without the rest of the window.
struct Window {
    QWidget root;
    FlexGrid grid{&root};
    ReviewList list{&root};
    QComboBox cboCatalogos{&root}, cboIdCatalogo{&root};
    QCheckBox chk{&root};
    QProgressBar prg{&root};
    QLabel label1{&root}, label2{&root};
    QPushButton exportar{&root};
    ControlesProceso controls{grid, list, cboCatalogos, cboIdCatalogo, chk, prg, label1, label2, exportar, &root};

    // The grid's rows, its header first.
    explicit Window(const QJsonArray &rows)
    {
        cboCatalogos.addItems({u"[GEN] General"_s, u"[PUR] Compras"_s});
        cboIdCatalogo.addItems({u"GEN"_s, u"PUR"_s});
        grid.setCols(rows[0].toArray().size());
        grid.setRows(rows.size());
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].toArray().size(); ++c)
                grid.setTextMatrix(r, c, rows[r][c].toString());
    }

    void process() { ProcesarArticulos(controls); }
    bool reviewed() const { return label1.isHidden() && !label2.isHidden() && !exportar.isHidden() && grid.isHidden(); }
};

// Picks the country by its code and stores with F11.
void answer(frmRelPais *d, const QString &code)
{
    d->cboPais()->setCurrentIndex(d->cboidPais()->findText(code));
    QTest::keyClick(d->txtESM(), Qt::Key_F11);
}

// Answers every country dialog with the codes in turn; counts the dialogs.
struct CountryAnswers {
    QStringList codes;
    int asked = 0;
    std::function<void(QWidget *)> onModal = [this](QWidget *modal) {
        auto *d = qobject_cast<frmRelPais *>(modal);
        QVERIFY(d);
        const QString code = codes.value(asked++);
        if (asked < codes.size())
            ModalDriver::onNextModal(onModal);
        if (code.startsWith(u'=')) // "=edited:CODE" changes the text before choosing
            d->txtValor()->setText(code.mid(1).section(u':', 0, 0));
        answer(d, code.section(u':', -1));
    };
    explicit CountryAnswers(QStringList c) : codes(std::move(c)) { ModalDriver::onNextModal(onModal); }
};
} // namespace

class ProcesarArticulosTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        modGlobal::UsuarioSesion = u"Sorvanta - op\\PC"_s;
        useRealData();
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        runSql(u"insert into ORG (PAI, ORI, ESM) values ('China', 'CHN', '1')"_s);
    }

    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
        modGlobal::reset();
        m_env.reset();
    }

    // Each case of tests/data/procesar-articulos.json: the grid's headers and rows (read in
    // the number format of "locale", es_AR unless told), the countries chosen in the dialogs, then the messages, the
    // items (texts joined by "|") and whether the window went on to the review.
    void processing_data() { DataTable::addRows(u"procesar-articulos.json"_s); }
    void processing()
    {
        QFETCH(QJsonObject, c);
        if (c.contains(u"sql"_s))
            runSql(c[u"sql"_s].toString());
        if (c.contains(u"locale"_s))
            QLocale::setDefault(QLocale(c[u"locale"_s].toString()));
        QJsonArray rows = c[u"rows"_s].toArray();
        rows.prepend(c[u"headers"_s]);
        MsgBoxRecorder boxes;
        Window w(rows);
        const QStringList codes = DataTable::texts(c[u"answers"_s]);
        std::optional<CountryAnswers> answers;
        if (!codes.isEmpty())
            answers.emplace(codes);
        w.chk.setChecked(c[u"hyphens"_s].toBool());
        w.process();
        QCOMPARE(answers ? answers->asked : 0, codes.size());
        QCOMPARE(boxes.texts(), DataTable::texts(c[u"boxes"_s]));
        QVERIFY(boxes.count() == 0 || boxes.last().icon == MsgBox::Icon::Exclamation);
        QCOMPARE(w.reviewed(), c[u"reviewed"_s].toBool());
        QCOMPARE(modGlobal::IdCatalogoActual, u"GEN"_s);
        if (w.reviewed())
            QCOMPARE(w.list.columnCount(), 14);
        QStringList items;
        for (int i = 0; i < w.list.itemCount(); ++i) {
            QVERIFY(w.list.isChecked(i));
            QStringList texts;
            for (int k = 0; k < 14; ++k)
                texts << w.list.subItem(i, k);
            items << texts.join(u'|');
        }
        if (c.contains(u"items"_s))
            QCOMPARE(items, DataTable::texts(c[u"items"_s]));
        // Existing articles show green in their first nine columns.
        for (int i = 0; i < c[u"green"_s].toArray().size(); ++i)
            for (int k = 0; k < 14; ++k)
                QCOMPARE(w.list.foreColor(i, k), c[u"green"_s][i].toBool() && k <= 8 ? QColor(0, 128, 0) : QColor());
        if (c.contains(u"progress"_s))
            QCOMPARE(QList<int>({w.prg.value(), w.prg.maximum()}),
                     QList<int>({c[u"progress"_s][0].toInt(), c[u"progress"_s][1].toInt()}));
        if (c.contains(u"gridRows"_s))
            QCOMPARE(w.grid.rows(), c[u"gridRows"_s].toInt());
        // The text edited in the dialog is stored as typed: asked directly, it is known.
        if (c.contains(u"learned"_s))
            QCOMPARE(ObtenerPaisOrigen(c[u"learned"_s][0].toString()).ORI, c[u"learned"_s][1].toString());
    }

    // The weight's text in the message is cut at 200 characters.
    void aLongWeightIsCutInTheMessage()
    {
        MsgBoxRecorder boxes;
        Window w(QJsonArray{QJsonArray{etiquetaCampo(C::Articulo), etiquetaCampo(C::KilosUnitario)},
                            QJsonArray{u"A1"_s, QString(100000, u'9') + u'x'}});
        w.process();
        QCOMPARE(boxes.texts(), QStringList{u"Peso no válido en la fila 2, columna B: \""_s + QString(200, u'9')
                                            + u"…\". Se espera un número finito escrito como 1,5.\r\n\r\n13 - "
                                              "seccion[ProcesarArticulos.frmMain.Sorvanta Linea 0 ]::Sorvanta"_s});
    }

    void failedRunThenRerunListsEachArticleOnce()
    {
        MsgBoxRecorder boxes;
        QJsonArray rows{QJsonArray{etiquetaCampo(C::Articulo), etiquetaCampo(C::KilosUnitario)}};
        for (int i = 1; i <= 12; ++i)
            rows.append(QJsonArray{u"A%1"_s.arg(i), i == 10 ? QString() : u"2"_s});
        Window w(rows);
        w.process();
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(w.list.itemCount(), 9);
        QCOMPARE(w.prg.value(), 9);
        w.grid.setTextMatrix(10, 1, u"2,25"_s);
        w.process();
        QCOMPARE(boxes.count(), 1);
        QVERIFY(w.reviewed());
        QCOMPARE(w.list.itemCount(), 12);
        QCOMPARE(w.list.subItem(0, 0), u"A1"_s);
        QCOMPARE(w.list.subItem(9, 7), u"2,25"_s);
    }

    // The country dialog alone, as processing opens it for an unknown origin. Escape brings
    // the dialog straight back; there empty fields and no country are refused with the dialog
    // open, then F11 stores the row.
    void unknownValueAsksUntilStoredThenIsLearned()
    {
        MsgBoxRecorder boxes;
        bool asked = false;
        ModalDriver::onNextModal([&](QWidget *modal) {
            auto *d = qobject_cast<frmRelPais *>(modal);
            QVERIFY(d);
            asked = true;
            QCOMPARE(d->txtValor()->text(), u"Alemanha"_s);
            QCOMPARE(d->txtESM()->text(), u"1"_s);
            QVERIFY(d->cboPais()->count() > 200);
            QTest::keyClick(d->txtValor(), Qt::Key_Escape);
            ModalDriver::onNextModal([&](QWidget *again) {
                auto *d2 = qobject_cast<frmRelPais *>(again);
                QCOMPARE(d2->txtValor()->text(), u"Alemanha"_s);
                d2->txtESM()->setText(u"  "_s);
                QTest::keyClick(d2->txtESM(), Qt::Key_F11);
                QCOMPARE(boxes.last().text, u"El campo Estado de Mercaderia no puede estar vacio"_s);
                QCOMPARE(boxes.last().icon, MsgBox::Icon::Critical);
                d2->txtValor()->setText(u" "_s);
                QTest::keyClick(d2->txtESM(), Qt::Key_F11);
                QCOMPARE(boxes.last().text, u"el campo 'Valor origen' no puede estar vacio"_s);
                d2->txtValor()->setText(u"Alemanha"_s);
                d2->txtESM()->clear();
                QTest::keyClicks(d2->txtESM(), u"3"_s);
                d2->cboPais()->setCurrentIndex(-1);
                QTest::keyClick(d2->txtESM(), Qt::Key_F11);
                QCOMPARE(boxes.last().text, u"Debe seleccionar un país de la lista 'Pais - Sistema Maria'"_s);
                QVERIFY(d2->isVisible());
                answer(d2, u"DEU"_s);
            });
        });
        const RelacionPais r = ObtenerPaisOrigen(u"Alemanha"_s);
        QVERIFY(asked);
        QCOMPARE(r.ORI + r.ESM, u"DEU3"_s);
        QCOMPARE(boxes.count(), 3);
        QCOMPARE(sqlRow(u"select ORI from ORG where PAI = 'Alemanha'"_s), QStringList{u"DEU"_s});
        // Learned: the same value, in another letter case too, opens nothing now.
        QCOMPARE(ObtenerPaisOrigen(u"ALEMANHA"_s).ORI, u"DEU"_s);
    }

    // An origin that names one country opens the dialog with it chosen, and F11 alone stores
    // it; one that names none opens it as before, at the first country.
    void suggestedCountryIsChosenAndF11StoresIt_data()
    {
        QTest::addColumn<QString>("origen");
        QTest::addColumn<QString>("elegido");
        QTest::addColumn<bool>("sugerido");
        QTest::newRow("Portuguese") << u"Coreia do Sul"_s << u"KOR"_s << true;
        QTest::newRow("trade name") << u"EE.UU."_s << u"USA"_s << true;
        QTest::newRow("no country") << u"Importado"_s << u"AFG"_s << false;
    }
    void suggestedCountryIsChosenAndF11StoresIt()
    {
        QFETCH(QString, origen);
        QFETCH(QString, elegido);
        QFETCH(bool, sugerido);
        ModalDriver::onNextModal([&](QWidget *modal) {
            auto *d = qobject_cast<frmRelPais *>(modal);
            QCOMPARE(d->cboidPais()->itemText(d->cboPais()->currentIndex()), elegido);
            QCOMPARE(d->lblSugerido()->isVisible(), sugerido);
            // Another country is the operator's choice, no longer the suggestion.
            const int elegida = d->cboPais()->currentIndex();
            d->cboPais()->setCurrentIndex(elegida + 1);
            QVERIFY(!d->lblSugerido()->isVisible());
            d->cboPais()->setCurrentIndex(elegida);
            QCOMPARE(d->lblSugerido()->isVisible(), sugerido);
            QTest::keyClick(d->txtValor(), Qt::Key_F11);
        });
        QCOMPARE(ObtenerPaisOrigen(origen).ORI, elegido);
        QCOMPARE(sqlRow(u"select ORI, ESM from ORG where PAI = '%1'"_s.arg(origen)), (QStringList{elegido, u"1"_s}));
    }

    // Both end the run with error 1111: an empty country table (Escape is then the only way
    // out) and a failing database.
    void noCountryToChooseOrNoTableEndsTheRun()
    {
        runSql(u"delete from PAIS"_s, u"SYSTABLAS"_s);
        ModalDriver::onNextModal([](QWidget *modal) {
            QCOMPARE(qobject_cast<frmRelPais *>(modal)->cboPais()->count(), 0);
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        const AppError e = errorOf([] { ObtenerPaisOrigen(u"Marte"_s); });
        QCOMPARE(e.number(), 1111);
        QVERIFY(e.description().contains(u"Marte"_s));
        runSql(u"drop table ORG"_s);
        QCOMPARE(errorOf([] { ObtenerPaisOrigen(u"China"_s); }).number(), 1111);
    }
};

QTEST_MAIN(ProcesarArticulosTest)
#include "ProcesarArticulos_test.moc"
