#include "mapping/SeleccionarCampo.h"

#include "common/modGlobal.h"
#include "platform/FlexGrid.h"
#include "support/ModalDriver.h"
#include "support/MsgBoxRecorder.h"

#include <QApplication>
#include <QtTest>

namespace {

// The offscreen platform does not activate a new modal window by itself; a real one does.
void teclaEnFoco(QWidget *modal, int tecla)
{
    if (QApplication::activeWindow() != modal || !QApplication::focusWidget()) {
        modal->activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == modal && QApplication::focusWidget());
    }
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(tecla));
}

} // namespace

class SeleccionarCampoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FlexGrid> grid;

    // F1 on column `col`, then `teclas` in the chooser.
    QString asignar(int col, const QList<int> &teclas)
    {
        grid->setCol(col);
        ModalDriver::onNextModal([teclas](QWidget *modal) {
            for (int tecla : teclas)
                teclaEnFoco(modal, tecla);
            if (modal->isVisible()) {
                modal->close();
                QFAIL("chooser still open after the keys");
            }
        });
        SeleccionarCampo(*grid);
        return grid->textMatrix(0, col);
    }

private Q_SLOTS:
    void init()
    {
        modGlobal::reset();
        grid = std::make_unique<FlexGrid>();
        grid->setRows(2);
        grid->setFixedRows(1);
        grid->setCols(4);
        const QStringList titulos{QStringLiteral("Codigo"), QStringLiteral("Detalle"), QStringLiteral("Peso"),
                                  QStringLiteral("Pais")};
        for (int c = 0; c < titulos.size(); ++c) {
            grid->setTextMatrix(0, c, titulos.at(c));
            grid->setTextMatrix(1, c, QStringLiteral("dato%1").arg(c));
        }
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }

    void cleanup() { grid.reset(); }

    void chosenLabelReplacesTheCurrentColumnsHeader()
    {
        MsgBoxRecorder cajas;
        QCOMPARE(asignar(2, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                             Qt::Key_Return}),
                 QStringLiteral("[ KILOS_UNITARIO ]"));
        QCOMPARE(grid->textMatrix(0, 1), QStringLiteral("Detalle"));
        QCOMPARE(grid->textMatrix(0, 3), QStringLiteral("Pais"));
        QCOMPARE(grid->textMatrix(1, 2), QStringLiteral("dato2"));
        QCOMPARE(grid->cellForeColor(0, 2), QColor(128, 0, 0));
        QVERIFY(grid->cellFontBold(0, 2));
        QCOMPARE(grid->model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("[ KILOS_UNITARIO ]"));
        QCOMPARE(cajas.count(), 0);
    }

    void enterAtOnceLeavesAnEmptyHeader()
    {
        QCOMPARE(asignar(1, {Qt::Key_Return}), QString());
        QCOMPARE(modGlobal::CampoElegido, QString());
    }

    void escapeLeavesAnEmptyHeader()
    {
        QCOMPARE(asignar(0, {Qt::Key_Down, Qt::Key_Escape}), QString());
    }

    void unitLabelKeepsItsBlanks()
    {
        QList<int> teclas(11, Qt::Key_Down);
        teclas << Qt::Key_Return;
        QCOMPARE(asignar(3, teclas), QStringLiteral("[   UNIDAD     ]"));
    }
};

QTEST_MAIN(SeleccionarCampoTest)
#include "SeleccionarCampo_test.moc"
