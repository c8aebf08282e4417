#include "review/ObtenerPaisOrigen.h"
#include "review/frmRelPais.h"

#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {
void typeInto(QWidget *w, const QString &text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Picks the country by its code and stores with F11.
void answer(frmRelPais *d, const QString &code)
{
    d->cboPais()->setCurrentIndex(d->cboidPais()->findText(code));
    QTest::keyClick(d->txtESM(), Qt::Key_F11);
}

QString stored(const QString &where)
{
    return sqlRow(u"select ORI from ORG where "_s + where).value(0, u"<none>"_s);
}

AppError errorFor(const QString &valor)
{
    return errorOf([&] { ObtenerPaisOrigen(valor); });
}
} // namespace

class ObtenerPaisOrigenTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        useRealData();
    }

    void cleanup()
    {
        modGlobal::reset();
        m_env.reset();
    }

    // Escape brings the dialog straight back; F11 on the second opening stores the row.
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
            ModalDriver::onNextModal([](QWidget *again) {
                auto *d2 = qobject_cast<frmRelPais *>(again);
                QCOMPARE(d2->txtValor()->text(), u"Alemanha"_s);
                d2->txtESM()->clear();
                typeInto(d2->txtESM(), u"3"_s);
                answer(d2, u"DEU"_s);
            });
        });
        const RelacionPais r = ObtenerPaisOrigen(u"Alemanha"_s);
        QVERIFY(asked);
        QCOMPARE(r.ORI + r.ESM, u"DEU3"_s);
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(stored(u"PAI = 'Alemanha'"_s), u"DEU"_s);
        // Learned: the same value, in another letter case too, opens nothing now.
        QCOMPARE(ObtenerPaisOrigen(u"ALEMANHA"_s).ORI, u"DEU"_s);
    }

    void emptyFieldsAndNoCountryAreRefusedWithTheDialogOpen()
    {
        MsgBoxRecorder boxes;
        ModalDriver::onNextModal([&](QWidget *modal) {
            auto *d = qobject_cast<frmRelPais *>(modal);
            d->txtESM()->setText(u"  "_s);
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
            QCOMPARE(boxes.last().text, u"El campo Estado de Mercaderia no puede estar vacio"_s);
            QCOMPARE(boxes.last().icon, MsgBox::Icon::Critical);
            d->txtValor()->setText(u" "_s);
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
            QCOMPARE(boxes.last().text, u"el campo 'Valor origen' no puede estar vacio"_s);
            d->txtValor()->setText(u"Brasil"_s);
            d->txtESM()->setText(u"1"_s);
            d->cboPais()->setCurrentIndex(-1);
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
            QCOMPARE(boxes.last().text, u"Debe seleccionar un país de la lista 'Pais - Sistema Maria'"_s);
            QVERIFY(d->isVisible());
            answer(d, u"BRA"_s);
        });
        QCOMPARE(ObtenerPaisOrigen(u"Brasil"_s).ORI, u"BRA"_s);
        QCOMPARE(boxes.count(), 3);
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
        const AppError e = errorFor(u"Marte"_s);
        QCOMPARE(e.number(), 1111);
        QVERIFY(e.description().contains(u"Marte"_s));
        runSql(u"drop table ORG"_s);
        QCOMPARE(errorFor(u"China"_s).number(), 1111);
    }
};

QTEST_MAIN(ObtenerPaisOrigenTest)
#include "ObtenerPaisOrigen_test.moc"
