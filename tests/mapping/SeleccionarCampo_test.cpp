#include "mapping/SeleccionarCampo.h"

#include "platform/FlexGrid.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "support/MsgBoxRecorder.h"

using namespace Qt::StringLiterals;

// F1's chooser through its only caller: the keys pressed, then the column's header.
class SeleccionarCampoTest : public QObject {
    Q_OBJECT
    std::unique_ptr<FlexGrid> grid;

private Q_SLOTS:
    void initTestCase()
    {
        grid = std::make_unique<FlexGrid>();
        grid->setRows(2);
        grid->setCols(4);
        for (int c = 0; c < 4; ++c) {
            grid->setTextMatrix(0, c, u"col%1"_s.arg(c));
            grid->setTextMatrix(1, c, u"dato%1"_s.arg(c));
        }
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }
    void cleanupTestCase() { grid.reset(); }

    void chooser_data()
    {
        QTest::addColumn<QList<int>>("keys"); // 0 closes the window
        QTest::addColumn<QString>("header");
        const QList<int> down6(6, Qt::Key_Down);
        QTest::newRow("sixth entry") << down6 + QList<int>{Qt::Key_Return} << "[ KILOS_UNITARIO ]";
        // Each opening starts at the none-entry, which leaves the header empty.
        QTest::newRow("enter at once") << QList<int>{Qt::Key_Return} << "";
        QTest::newRow("unit keeps its blanks") << QList<int>(11, Qt::Key_Down) + QList<int>{Qt::Key_Return}
                                               << "[   UNIDAD     ]";
        QTest::newRow("escape") << QList<int>{Qt::Key_Down, Qt::Key_Escape} << "";
        QTest::newRow("escape with the list open") << QList<int>{Qt::Key_F4, Qt::Key_Escape} << "";
        QTest::newRow("close box") << QList<int>{Qt::Key_Down, 0} << "";
    }

    void chooser()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, header);
        MsgBoxRecorder boxes;
        grid->setTextMatrix(0, 2, u"col2"_s);
        grid->setCol(2);
        ModalDriver::onNextModal([keys](QWidget *modal) {
            for (int key : keys)
                key ? keyInModal(modal, key) : void(modal->close());
            if (modal->isVisible()) {
                modal->close();
                QFAIL("chooser still open after the keys");
            }
        });
        SeleccionarCampo(*grid);
        QCOMPARE(grid->textMatrix(0, 2), header);
        QCOMPARE(grid->textMatrix(0, 1), u"col1"_s);
        QCOMPARE(grid->textMatrix(1, 2), u"dato2"_s);
        QCOMPARE(grid->model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), header);
        if (!header.isEmpty()) {
            QCOMPARE(grid->cellForeColor(0, 2), QColor(128, 0, 0));
            QVERIFY(grid->cellFontBold(0, 2));
        }
        QCOMPARE(boxes.count(), 0);
    }
};

QTEST_MAIN(SeleccionarCampoTest)
#include "SeleccionarCampo_test.moc"
