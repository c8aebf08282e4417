#include "mapping/frmCampos.h"

#include "support/ModalDriver.h"
#include "common/modGlobal.h"
#include "mapping/CampoCatalogo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QtTest>

namespace {

// The offscreen platform neither activates a new modal window nor hands activation back
// when the list closes; a real one does both.
void teclaEnFoco(QWidget *modal, int tecla)
{
    if (QApplication::activeWindow() != modal || !QApplication::focusWidget()) {
        modal->activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == modal && QApplication::focusWidget());
    }
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(tecla));
}

// Opens the chooser the way its caller does and presses the keys on whatever has the focus.
QString elegirConTeclas(const QList<int> &teclas, const QString &antes = QString())
{
    modGlobal::CampoElegido = antes;
    ModalDriver::onNextModal([teclas](QWidget *modal) {
        for (int tecla : teclas)
            teclaEnFoco(modal, tecla);
        if (modal->isVisible()) {
            modal->close();
            QFAIL("chooser still open after the keys");
        }
    });
    frmCampos::instancia().exec();
    return modGlobal::CampoElegido;
}

} // namespace

class frmCamposTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { modGlobal::reset(); }

    void labelsAreExact()
    {
        const QStringList etiquetas = etiquetasCampos();
        QCOMPARE(etiquetas.size(), kCantidadCampos);
        QCOMPARE(etiquetas.first(), QStringLiteral("< ninguno >"));
        QCOMPARE(etiquetaCampo(CampoCatalogo::AnexarDescripcion), QStringLiteral("[ ANEXAR DESCRIPCION ]"));
        QCOMPARE(etiquetaCampo(CampoCatalogo::Unidad), QStringLiteral("[   UNIDAD     ]"));
        QCOMPARE(etiquetaCampo(CampoCatalogo::Unidad).size(), 16);
        QCOMPARE(etiquetaCampo(CampoCatalogo::Sufijos), QStringLiteral("[ SUFIJOS ]"));
    }

    void dialogLooksAsDesigned()
    {
        frmCampos &dlg = frmCampos::instancia();
        QCOMPARE(&frmCampos::instancia(), &dlg);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Establecer Campo"));
        QCOMPARE(dlg.font().family(), QStringLiteral("Tahoma"));
        QVERIFY(!dlg.cboCampos()->isEditable());
        QCOMPARE(dlg.cboCampos()->count(), kCantidadCampos);
        QCOMPARE(dlg.size(), QSize(245 * dlg.logicalDpiX() / 96, 61 * dlg.logicalDpiX() / 96));
        QCOMPARE(dlg.cboCampos()->width(), 208 * dlg.logicalDpiX() / 96);
        QCOMPARE(dlg.cboCampos()->pos(), QPoint(18, 15) * dlg.logicalDpiX() / 96);
    }

    void escapeWithTheListOpenClosesTheChooser()
    {
        QCOMPARE(elegirConTeclas({Qt::Key_F4, Qt::Key_Escape}, QStringLiteral("[ NCM ]")), QString());
    }

    void secondOpeningStartsAtNone()
    {
        QCOMPARE(elegirConTeclas({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}), QStringLiteral("[ DESCRIPCION ]"));
        QCOMPARE(elegirConTeclas({Qt::Key_Return}), QStringLiteral("< ninguno >"));
    }

    void closeBoxLeavesWhatTheCallerSet()
    {
        modGlobal::CampoElegido.clear();
        ModalDriver::onNextModal([](QWidget *modal) {
            teclaEnFoco(modal, Qt::Key_Down);
            modal->close();
        });
        QCOMPARE(frmCampos::instancia().exec(), int(QDialog::Rejected));
        QCOMPARE(modGlobal::CampoElegido, QString());
    }
};

QTEST_MAIN(frmCamposTest)
#include "frmCampos_test.moc"
