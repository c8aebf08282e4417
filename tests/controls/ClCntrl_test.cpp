#include "controls/ClCntrl.h"

#include "support/MsgBoxRecorder.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>

namespace {
QColor fondo(const QLineEdit &txt)
{
    return txt.palette().color(QPalette::Base);
}

// A small form: three text boxes and an OK button that Enter would otherwise press.
struct Formulario {
    QDialog ventana;
    QLineEdit *txt1 = new QLineEdit(&ventana);
    QLineEdit *txt2 = new QLineEdit(&ventana);
    QLineEdit *txt3 = new QLineEdit(&ventana);
    QPushButton *cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), &ventana);

    Formulario()
    {
        auto *layout = new QVBoxLayout(&ventana);
        for (QWidget *w : {static_cast<QWidget *>(txt1), static_cast<QWidget *>(txt2),
                           static_cast<QWidget *>(txt3), static_cast<QWidget *>(cmdAceptar)})
            layout->addWidget(w);
        cmdAceptar->setDefault(true);
        QObject::connect(cmdAceptar, &QPushButton::clicked, &ventana, &QDialog::accept);
    }

    bool mostrar()
    {
        ventana.show();
        ventana.activateWindow();
        return QTest::qWaitForWindowActive(&ventana);
    }
};

void teclaDecimal(QWidget *w)
{
    QTest::keyClick(w, Qt::Key_Period, Qt::KeypadModifier);
}
} // namespace

class ClCntrlTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_localeOriginal = QLocale(); }
    void cleanup() { QLocale::setDefault(m_localeOriginal); }

    void highlightFollowsTag_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QColor>("alEntrar");
        QTest::addColumn<QColor>("alSalir");
        QTest::addColumn<bool>("seleccionado");
        const QColor verde(192, 255, 192);
        const QColor celeste(254, 228, 214);
        const QColor blanco(255, 255, 255);
        const QColor gris(100, 100, 100);
        QTest::newRow("no tag") << "" << verde << blanco << true;
        QTest::newRow("F6 suffix") << "Precio#F6" << celeste << blanco << true;
        QTest::newRow("BB prefix left alone") << "BBfijo" << gris << gris << false;
        QTest::newRow("F6 suffix wins on entry, BB keeps it on exit") << "BB#F6" << celeste << celeste << true;
    }

    void highlightFollowsTag()
    {
        QFETCH(QString, tag);
        QFETCH(QColor, alEntrar);
        QFETCH(QColor, alSalir);
        QFETCH(bool, seleccionado);

        Formulario f;
        f.txt2->setText(QStringLiteral("12,50"));
        f.txt2->setProperty("Tag", tag);
        QPalette p = f.txt2->palette();
        p.setColor(QPalette::Base, QColor(100, 100, 100));
        f.txt2->setPalette(p);
        ClCntrl ctl;
        ctl.sLinkText(f.txt2);
        QVERIFY(f.mostrar());
        f.txt1->setFocus(Qt::OtherFocusReason);

        f.txt2->setFocus(Qt::MouseFocusReason);
        QVERIFY(f.txt2->hasFocus());
        QCOMPARE(fondo(*f.txt2), alEntrar);
        QCOMPARE(f.txt2->selectedText(), seleccionado ? QStringLiteral("12,50") : QString());

        f.txt3->setFocus(Qt::MouseFocusReason);
        QCOMPARE(fondo(*f.txt2), alSalir);
    }

    void enterMovesToNextBoxAndIsSwallowed()
    {
        Formulario f;
        QSignalSpy aceptado(&f.ventana, &QDialog::accepted);
        ClCntrl ctl;
        ctl.sLinkText(f.txt1);
        QVERIFY(f.mostrar());
        f.txt1->setFocus();
        QTest::keyClicks(f.txt1, QStringLiteral("ab"));

        QTest::keyClick(f.txt1, Qt::Key_Return);
        QVERIFY(f.txt2->hasFocus());
        QCOMPARE(f.txt1->text(), QStringLiteral("ab"));
        QCOMPARE(aceptado.count(), 0);

        // The keypad's Enter key behaves the same.
        f.txt1->setFocus();
        QTest::keyClick(f.txt1, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(f.txt2->hasFocus());
        QCOMPARE(aceptado.count(), 0);

        // Unlinked boxes keep the ordinary behaviour: Enter presses the default button.
        QTest::keyClick(f.txt2, Qt::Key_Return);
        QCOMPARE(aceptado.count(), 1);
    }

    void arrowsMoveToPreviousAndNextBox()
    {
        Formulario f;
        ClCntrl ctl;
        ctl.sLinkText(f.txt2);
        QVERIFY(f.mostrar());

        f.txt2->setFocus();
        QTest::keyClick(f.txt2, Qt::Key_Up);
        QCoreApplication::processEvents();
        QVERIFY(f.txt1->hasFocus());

        f.txt2->setFocus();
        QTest::keyClick(f.txt2, Qt::Key_Down);
        QCoreApplication::processEvents();
        QVERIFY(f.txt3->hasFocus());

        // Other keys keep the focus where it is.
        f.txt2->setFocus();
        QTest::keyClick(f.txt2, Qt::Key_Left);
        QTest::keyClick(f.txt2, Qt::Key_A);
        QCoreApplication::processEvents();
        QVERIFY(f.txt2->hasFocus());
        QCOMPARE(f.txt2->text(), QStringLiteral("a"));
    }

    void keypadDecimalTypesLocaleSeparator_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("es_AR") << "es_AR" << "1,5.2";
        QTest::newRow("en_US") << "en_US" << "1.5.2";
    }

    void keypadDecimalTypesLocaleSeparator()
    {
        QFETCH(QString, locale);
        QFETCH(QString, esperado);
        QLocale::setDefault(QLocale(locale));
        Formulario f;
        ClCntrl ctl;
        ctl.sLinkText(f.txt1);
        QVERIFY(f.mostrar());
        f.txt1->setFocus();

        QTest::keyClick(f.txt1, Qt::Key_1);
        teclaDecimal(f.txt1);
        QTest::keyClick(f.txt1, Qt::Key_5);
        // Releasing the keypad key ends its effect: the main keyboard's "." stays a ".".
        QTest::keyClick(f.txt1, Qt::Key_Period);
        QTest::keyClick(f.txt1, Qt::Key_2);
        QCOMPARE(f.txt1->text(), esperado);
    }

    void keypadDecimalWhileHeldDown()
    {
        QLocale::setDefault(QLocale(QStringLiteral("es_AR")));
        Formulario f;
        ClCntrl ctl;
        ctl.sLinkText(f.txt1);
        QVERIFY(f.mostrar());
        f.txt1->setFocus();

        QTest::keyPress(f.txt1, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyPress(f.txt1, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyRelease(f.txt1, Qt::Key_Period, Qt::KeypadModifier);
        QCOMPARE(f.txt1->text(), QStringLiteral(",,"));
    }

    void separatorIsReadAgainEachTime()
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        MsgBoxRecorder cajas;
        ClCntrl ctl;
        QCOMPARE(ctl.Separador_Decimal(), QStringLiteral("."));
        QLocale::setDefault(QLocale(QStringLiteral("es_AR")));
        QCOMPARE(ctl.Separador_Decimal(), QStringLiteral(","));
        QLocale::setDefault(QLocale(QStringLiteral("de_CH")));
        QCOMPARE(ctl.Obtener_Sep_Decim(), QStringLiteral("."));
        QCOMPARE(cajas.count(), 0);
    }

    void unreadableLocaleIsReportedAndKeyLeftAlone()
    {
        MsgBoxRecorder cajas;
        Formulario f;
        ClCntrl ctl(nullptr, [] { return QString(); });
        QCOMPARE(cajas.count(), 1);
        QCOMPARE(cajas.last().text, QStringLiteral("No se puedo obtener la información"));
        QCOMPARE(cajas.last().icon, MsgBox::Icon::None);
        QCOMPARE(cajas.last().title, MsgBox::appTitle());

        ctl.sLinkText(f.txt1);
        QVERIFY(f.mostrar());
        f.txt1->setFocus();
        QTest::keyClick(f.txt1, Qt::Key_3);
        teclaDecimal(f.txt1);
        QTest::keyClick(f.txt1, Qt::Key_4);
        QCOMPARE(f.txt1->text(), QStringLiteral("3.4"));

        QCOMPARE(ctl.Separador_Decimal(), QString());
        QCOMPARE(cajas.count(), 2);
    }

    void prefixSearchInListAndCombo_data()
    {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<int>("indice");
        QTest::newRow("upper case finds lower") << "MAND" << 1;
        QTest::newRow("first of several") << "man" << 0;
        QTest::newRow("accented letter case") << "ñan" << 3;
        QTest::newRow("middle of a word is no prefix") << "era" << -1;
        QTest::newRow("no match") << "Uva" << -1;
        QTest::newRow("longer than the item") << "Perales" << -1;
        QTest::newRow("empty finds the first") << "" << 0;
    }

    void prefixSearchInListAndCombo()
    {
        QFETCH(QString, valor);
        QFETCH(int, indice);
        const QStringList frutas = {QStringLiteral("Manzana"), QStringLiteral("mandarina"), QStringLiteral("Pera"),
                                    QStringLiteral("Ñandú")};
        QListWidget lista;
        lista.addItems(frutas);
        lista.setCurrentRow(2);
        QComboBox combo;
        combo.addItems(frutas);
        combo.setCurrentIndex(2);
        ClCntrl ctl;
        ctl.sLinkListBox(&lista);
        ctl.sLinkCBoBox(&combo);

        QString buscado = valor;
        ctl.LstBuscarStr(buscado);
        QCOMPARE(lista.currentRow(), indice);
        QCOMPARE(lista.selectedItems().size(), indice < 0 ? 0 : 1);
        if (indice >= 0)
            QCOMPARE(lista.selectedItems().first()->text(), frutas.at(indice));

        ctl.BuscarCBO(buscado);
        QCOMPARE(combo.currentIndex(), indice);
        QCOMPARE(combo.currentText(), indice < 0 ? QString() : frutas.at(indice));
    }

    void searchesWithoutLinkedControlsDoNothing()
    {
        ClCntrl ctl;
        QString valor = QStringLiteral("a");
        ctl.LstBuscarStr(valor);
        ctl.BuscarCBO(valor);
        QListWidget lista;
        ctl.sLinkListBox(&lista);
        ctl.LstBuscarStr(valor);
        QCOMPARE(lista.currentRow(), -1);
    }

    void vaciarTxtEmptiesEveryTextBox()
    {
        QDialog ventana;
        auto *layout = new QVBoxLayout(&ventana);
        auto *txtA = new QLineEdit(QStringLiteral("uno"), &ventana);
        auto *txtB = new QLineEdit(QStringLiteral("dos"), &ventana);
        auto *marco = new QGroupBox(&ventana);
        auto *txtC = new QLineEdit(QStringLiteral("tres"), marco);
        auto *cboPais = new QComboBox(&ventana);
        cboPais->setEditable(true);
        cboPais->addItems({QStringLiteral("Argentina"), QStringLiteral("Brasil")});
        cboPais->setCurrentIndex(1);
        auto *spin = new QSpinBox(&ventana);
        spin->setValue(7);
        for (QWidget *w : {static_cast<QWidget *>(txtA), static_cast<QWidget *>(txtB),
                           static_cast<QWidget *>(marco), static_cast<QWidget *>(cboPais),
                           static_cast<QWidget *>(spin)})
            layout->addWidget(w);
        QLineEdit ajena(QStringLiteral("otra ventana"));

        ClCntrl ctl;
        ctl.VaciarTxt(ventana);

        QCOMPARE(txtA->text(), QString());
        QCOMPARE(txtB->text(), QString());
        QCOMPARE(txtC->text(), QString());
        QCOMPARE(cboPais->currentText(), QStringLiteral("Brasil"));
        QCOMPARE(spin->text(), QStringLiteral("7"));
        QCOMPARE(ajena.text(), QStringLiteral("otra ventana"));
    }

    void listTooltipFollowsMouse()
    {
        QListWidget lista;
        lista.addItems({QStringLiteral("AB-100 Tornillo"), QStringLiteral("AB-200 Tuerca"),
                        QStringLiteral("AB-300 Arandela")});
        lista.resize(200, 300);
        ClCntrl ctl;
        ctl.sLinkListBox(&lista);
        lista.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lista));

        const QPoint sobreSegundo = lista.visualItemRect(lista.item(1)).center();
        QTest::mouseMove(lista.viewport(), sobreSegundo);
        QCOMPARE(lista.toolTip(), QStringLiteral("AB-200 Tuerca"));

        // Moving with a button down leaves the tooltip alone.
        QMouseEvent arrastre(QEvent::MouseMove, lista.visualItemRect(lista.item(0)).center(),
                             lista.viewport()->mapToGlobal(lista.visualItemRect(lista.item(0)).center()),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(lista.viewport(), &arrastre);
        QCOMPARE(lista.toolTip(), QStringLiteral("AB-200 Tuerca"));

        const QRect ultimo = lista.visualItemRect(lista.item(2));
        const QPoint debajo(ultimo.center().x(), ultimo.bottom() + 40);
        QVERIFY(debajo.y() < lista.viewport()->height());
        QTest::mouseMove(lista.viewport(), debajo);
        QCOMPARE(lista.toolTip(), QString());
    }

private:
    QLocale m_localeOriginal;
};

QTEST_MAIN(ClCntrlTest)
#include "ClCntrl_test.moc"
