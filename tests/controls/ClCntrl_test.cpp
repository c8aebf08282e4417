#include "controls/ClCntrl.h"

#include "support/DataTable.h"
#include "support/MsgBoxRecorder.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
// Three text boxes and an OK button that Enter would otherwise press; txt1 or others linked.
struct Form {
    QDialog window;
    QLineEdit *txt1 = new QLineEdit(&window);
    QLineEdit *txt2 = new QLineEdit(&window);
    QLineEdit *txt3 = new QLineEdit(&window);
    QPushButton *ok = new QPushButton(u"Aceptar"_s, &window);
    QSignalSpy accepted{&window, &QDialog::accepted};

    Form()
    {
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &window, &QDialog::accept);
    }

    bool show(QLineEdit *focus)
    {
        window.show();
        window.activateWindow();
        const bool active = QTest::qWaitForWindowActive(&window);
        focus->setFocus();
        return active;
    }
};
} // namespace

class ClCntrlTest : public QObject {
    Q_OBJECT
    QLocale m_locale;

private Q_SLOTS:
    void initTestCase() { m_locale = QLocale(); }
    void cleanup() { QLocale::setDefault(m_locale); }

    void highlightFollowsTag_data() { DataTable::addRows(u"controles.json"_s, u"highlight"_s); }
    void highlightFollowsTag()
    {
        QFETCH(QJsonObject, c);
        Form f;
        f.txt2->setText(u"12,50"_s);
        f.txt2->setProperty("Tag", c[u"tag"_s].toString());
        QPalette p = f.txt2->palette();
        p.setColor(QPalette::Base, QColor(100, 100, 100));
        f.txt2->setPalette(p);
        ClCntrl ctl;
        ctl.sLinkText(f.txt2);
        QVERIFY(f.show(f.txt1));
        f.txt2->setFocus(Qt::MouseFocusReason);
        QCOMPARE(f.txt2->palette().color(QPalette::Base), QColor(c[u"onEntry"_s].toString()));
        QCOMPARE(f.txt2->selectedText(), c[u"selected"_s].toBool() ? u"12,50"_s : QString());
        f.txt3->setFocus(Qt::MouseFocusReason);
        QCOMPARE(f.txt2->palette().color(QPalette::Base), QColor(c[u"onExit"_s].toString()));
    }

    // Enter (either key) and Down go to the next box, Up to the previous; Enter is swallowed.
    void keysMoveBetweenBoxes()
    {
        Form f;
        ClCntrl ctl;
        ctl.sLinkText(f.txt2);
        QVERIFY(f.show(f.txt2));
        QTest::keyClicks(f.txt2, u"ab"_s);
        const QList<QPair<int, QLineEdit *>> moves{{Qt::Key_Return, f.txt3},
                                                   {Qt::Key_Enter, f.txt3},
                                                   {Qt::Key_Down, f.txt3},
                                                   {Qt::Key_Up, f.txt1},
                                                   {Qt::Key_Left, f.txt2}};
        for (const auto &[key, next] : moves) {
            f.txt2->setFocus();
            QTest::keyClick(f.txt2, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QCoreApplication::processEvents();
            QVERIFY(next->hasFocus());
        }
        QCOMPARE(f.txt2->text(), u"ab"_s);
        QCOMPARE(f.accepted.count(), 0);
        // Unlinked boxes keep the ordinary behaviour: Enter presses the default button.
        QTest::keyClick(f.txt3, Qt::Key_Return);
        QCOMPARE(f.accepted.count(), 1);
    }

    void keypadDecimalTypesLocaleSeparator_data() { DataTable::addRows(u"controles.json"_s, u"keypad"_s); }

    // Releasing the keypad key ends its effect: the main keyboard's "." stays a ".".
    void keypadDecimalTypesLocaleSeparator()
    {
        QFETCH(QJsonObject, c);
        const QString locale = c[u"locale"_s].toString();
        MsgBoxRecorder boxes;
        QLocale::setDefault(QLocale(locale.isEmpty() ? u"es_AR"_s : locale));
        Form f;
        ClCntrl ctl(nullptr,
                    locale.isEmpty() ? ClCntrl::LectorSeparador([] { return QString(); }) : ClCntrl::LectorSeparador());
        ctl.sLinkText(f.txt1);
        QVERIFY(f.show(f.txt1));
        QTest::keyClick(f.txt1, Qt::Key_1);
        QTest::keyClick(f.txt1, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyClick(f.txt1, Qt::Key_5);
        QTest::keyClick(f.txt1, Qt::Key_Period);
        QTest::keyClick(f.txt1, Qt::Key_2);
        // Held down: repeats.
        QTest::keyPress(f.txt1, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyPress(f.txt1, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyRelease(f.txt1, Qt::Key_Period, Qt::KeypadModifier);
        QCOMPARE(f.txt1->text(), c[u"typed"_s].toString());
        // The separator asked for is the one in force now, not the one at creation.
        QLocale::setDefault(QLocale(u"de_CH"_s));
        QCOMPARE(ctl.Obtener_Sep_Decim(), locale.isEmpty() ? QString() : u"."_s);
        // Unreadable: said at creation and at each reading.
        QCOMPARE(boxes.count(), locale.isEmpty() ? 2 : 0);
        if (locale.isEmpty())
            QVERIFY(boxes.last().text == u"No se puedo obtener la información"_s
                    && boxes.last().icon == MsgBox::Icon::None && boxes.last().title == MsgBox::appTitle());
    }

    void prefixSearchInListAndCombo_data() { DataTable::addRows(u"controles.json"_s, u"prefix"_s); }

    void prefixSearchInListAndCombo()
    {
        QFETCH(QJsonObject, c);
        QString value = c[u"value"_s].toString();
        const int index = c[u"index"_s].toInt();
        const QStringList fruits{u"Manzana"_s, u"mandarina"_s, u"Pera"_s, u"Ñandú"_s};
        ClCntrl ctl;
        ctl.LstBuscarStr(value); // nothing linked yet: nothing happens
        ctl.BuscarCBO(value);
        QListWidget list;
        list.addItems(fruits);
        list.setCurrentRow(2);
        QComboBox combo;
        combo.addItems(fruits);
        combo.setCurrentIndex(2);
        ctl.sLinkListBox(&list);
        ctl.sLinkCBoBox(&combo);
        ctl.LstBuscarStr(value);
        QCOMPARE(list.currentRow(), index);
        QCOMPARE(list.selectedItems().size(), index < 0 ? 0 : 1);
        ctl.BuscarCBO(value);
        QCOMPARE(combo.currentIndex(), index);
        QCOMPARE(combo.currentText(), fruits.value(index));
    }

    // Text boxes of the window, in frames too; not combo boxes, spin boxes or other windows.
    void vaciarTxtEmptiesEveryTextBox()
    {
        QDialog window;
        auto *frame = new QGroupBox(&window);
        auto *inFrame = new QLineEdit(u"tres"_s, frame);
        auto *combo = new QComboBox(&window);
        combo->setEditable(true);
        combo->addItems({u"Argentina"_s, u"Brasil"_s});
        combo->setCurrentIndex(1);
        auto *spin = new QSpinBox(&window);
        spin->setValue(7);
        auto *txt = new QLineEdit(u"uno"_s, &window);
        QLineEdit other(u"otra ventana"_s);
        ClCntrl().VaciarTxt(window);
        QCOMPARE(txt->text() + inFrame->text(), QString());
        QCOMPARE(combo->currentText(), u"Brasil"_s);
        QCOMPARE(spin->text(), u"7"_s);
        QCOMPARE(other.text(), u"otra ventana"_s);
    }

    // The item under the mouse; a drag leaves it alone; below the last item, none.
    void listTooltipFollowsMouse()
    {
        QListWidget list;
        list.addItems({u"AB-100 Tornillo"_s, u"AB-200 Tuerca"_s, u"AB-300 Arandela"_s});
        list.resize(200, 300);
        ClCntrl ctl;
        ctl.sLinkListBox(&list);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const auto centre = [&](int i) { return list.visualItemRect(list.item(i)).center(); };
        QTest::mouseMove(list.viewport(), centre(1));
        QCOMPARE(list.toolTip(), u"AB-200 Tuerca"_s);
        QMouseEvent drag(QEvent::MouseMove, centre(0), list.viewport()->mapToGlobal(centre(0)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list.viewport(), &drag);
        QCOMPARE(list.toolTip(), u"AB-200 Tuerca"_s);
        QTest::mouseMove(list.viewport(), centre(2) + QPoint(0, 40));
        QCOMPARE(list.toolTip(), QString());
    }
};

QTEST_MAIN(ClCntrlTest)
#include "ClCntrl_test.moc"
