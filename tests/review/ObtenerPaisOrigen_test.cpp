#include "common/modGlobal.h"
#include "external/ComponentRegistry.h"
#include "external/DataAccessManager.h"
#include "platform/AppError.h"
#include "review/ObtenerPaisOrigen.h"
#include "review/frmRelPais.h"

#include "support/ModalDriver.h"
#include "support/MsgBoxRecorder.h"
#include "support/SqlRows.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>
#include <memory>

namespace {
QString scalar(const QString &entity, const QString &sql)
{
    const QStringList values = SqlRows::firstRow(*modGlobal::AccesoDatos, entity, sql);
    return values.isEmpty() ? QStringLiteral("<none>") : values.first();
}

void execute(const QString &entity, const QString &sql)
{
    SqlRows::execute(*modGlobal::AccesoDatos, entity, sql);
}

void typeInto(QWidget *w, const QString &text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

frmRelPais *dialogOf(QWidget *modal)
{
    return qobject_cast<frmRelPais *>(modal);
}
} // namespace

class ObtenerPaisOrigenTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        modGlobal::AccesoDatos = ComponentRegistry::create<DataAccessManager>(QStringLiteral("DataAccessManager.DAMMain"));
        modGlobal::AccesoDatos->LoadParameters();
    }

    void cleanup()
    {
        modGlobal::reset();
        m_env.reset();
    }

    void knownValueNeedsNoDialog()
    {
        execute(QStringLiteral("CATALOGOS"), QStringLiteral("insert into ORG (PAI, ORI, ESM) values ('China', 'CHN', '2')"));
        const RelacionPais r = ObtenerPaisOrigen(QStringLiteral("China"));
        QCOMPARE(r.ORI, QStringLiteral("CHN"));
        QCOMPARE(r.ESM, QStringLiteral("2"));
        QVERIFY(ObtenerPaisOrigen(QString()).ORI.isEmpty());
    }

    void unknownValueAsksUntilStoredThenIsLearned()
    {
        MsgBoxRecorder boxes;
        const QWidget *first = nullptr;
        // Escape brings the dialog straight back; F11 on the second opening stores the row.
        ModalDriver::onNextModal([&](QWidget *modal) {
            first = modal;
            frmRelPais *d = dialogOf(modal);
            QVERIFY(d);
            QCOMPARE(d->windowTitle(), QStringLiteral("Establecer Pais"));
            QCOMPARE(d->txtValor()->text(), QStringLiteral("Alemanha"));
            QCOMPARE(d->txtESM()->text(), QStringLiteral("1"));
            QVERIFY(d->cboPais()->count() > 200);
            QVERIFY(d->cboPais()->itemText(0).endsWith(QLatin1Char(')')));
            QTest::keyClick(d->txtValor(), Qt::Key_Escape);
            ModalDriver::onNextModal([](QWidget *again) {
                frmRelPais *d2 = dialogOf(again);
                QCOMPARE(d2->txtValor()->text(), QStringLiteral("Alemanha"));
                const int deu = d2->cboidPais()->findText(QStringLiteral("DEU"));
                QVERIFY(deu >= 0);
                d2->cboPais()->setCurrentIndex(deu);
                d2->txtESM()->clear();
                typeInto(d2->txtESM(), QStringLiteral("3"));
                QTest::keyClick(d2->cboPais(), Qt::Key_F11);
            });
        });
        const RelacionPais r = ObtenerPaisOrigen(QStringLiteral("Alemanha"));
        QVERIFY(first);
        QCOMPARE(r.ORI, QStringLiteral("DEU"));
        QCOMPARE(r.ESM, QStringLiteral("3"));
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(scalar(QStringLiteral("CATALOGOS"), QStringLiteral("select ORI from ORG where PAI = 'Alemanha'")),
                 QStringLiteral("DEU"));
        // Learned: the same value, in another letter case too, opens nothing now.
        QCOMPARE(ObtenerPaisOrigen(QStringLiteral("ALEMANHA")).ORI, QStringLiteral("DEU"));
    }

    void editedValueAndApostrophesAreStoredAsTyped()
    {
        ModalDriver::onNextModal([](QWidget *modal) {
            frmRelPais *d = dialogOf(modal);
            d->txtValor()->clear();
            typeInto(d->txtValor(), QStringLiteral("Côte d'Ivoire"));
            d->cboPais()->setCurrentIndex(d->cboidPais()->findText(QStringLiteral("CIV")));
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
        });
        const RelacionPais r = ObtenerPaisOrigen(QStringLiteral("Costa d'Avorio"));
        QCOMPARE(r.ORI, QStringLiteral("CIV"));
        QCOMPARE(scalar(QStringLiteral("CATALOGOS"), QStringLiteral("select ORI from ORG where PAI = 'Côte d''Ivoire'")),
                 QStringLiteral("CIV"));
        QCOMPARE(scalar(QStringLiteral("CATALOGOS"), QStringLiteral("select count(*) from ORG")), QStringLiteral("1"));
    }

    void emptyFieldsAndNoCountryAreRefusedWithTheDialogOpen()
    {
        MsgBoxRecorder boxes;
        ModalDriver::onNextModal([&](QWidget *modal) {
            frmRelPais *d = dialogOf(modal);
            d->txtESM()->setText(QStringLiteral("  "));
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
            QCOMPARE(boxes.last().text, QStringLiteral("El campo Estado de Mercaderia no puede estar vacio"));
            QCOMPARE(boxes.last().icon, MsgBox::Icon::Critical);
            d->txtValor()->setText(QStringLiteral(" "));
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
            QCOMPARE(boxes.last().text, QStringLiteral("el campo 'Valor origen' no puede estar vacio"));
            d->txtValor()->setText(QStringLiteral("Brasil"));
            d->txtESM()->setText(QStringLiteral("1"));
            d->cboPais()->setCurrentIndex(-1);
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
            QCOMPARE(boxes.last().text, QStringLiteral("Debe seleccionar un país de la lista 'Pais - Sistema Maria'"));
            QVERIFY(d->isVisible());
            d->cboPais()->setCurrentIndex(d->cboidPais()->findText(QStringLiteral("BRA")));
            QTest::keyClick(d->txtESM(), Qt::Key_F11);
        });
        QCOMPARE(ObtenerPaisOrigen(QStringLiteral("Brasil")).ORI, QStringLiteral("BRA"));
        QCOMPARE(boxes.count(), 3);
    }

    void emptyCountryTableLetsEscapeEndTheRun()
    {
        execute(QStringLiteral("SYSTABLAS"), QStringLiteral("delete from PAIS"));
        ModalDriver::onNextModal([](QWidget *modal) {
            QCOMPARE(dialogOf(modal)->cboPais()->count(), 0);
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        try {
            ObtenerPaisOrigen(QStringLiteral("Marte"));
            QFAIL("the run went on without a country");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), 1111);
            QVERIFY(e.description().contains(QStringLiteral("Marte")));
        }
    }

    void databaseFailureIsRaisedAs1111()
    {
        execute(QStringLiteral("CATALOGOS"), QStringLiteral("drop table ORG"));
        try {
            ObtenerPaisOrigen(QStringLiteral("China"));
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), 1111);
            QVERIFY(!e.description().isEmpty());
        }
    }
};

QTEST_MAIN(ObtenerPaisOrigenTest)
#include "ObtenerPaisOrigen_test.moc"
