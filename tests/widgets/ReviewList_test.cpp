#include "modelos/ReviewListModel.h"
#include "widgets/ReviewList.h"

#include <QAbstractItemModelTester>
#include <QtTest>

class ReviewListTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A full sheet of items reaches the views in one batch.
    void holdsAFullSheetAddedInOneBatch()
    {
        ReviewList list;
        list.addColumn(QStringLiteral("ARTICULOS"), 2300);
        list.addColumn(QStringLiteral("DESCRIPCION"), 2300);
        QSignalSpy inserted(list.listModel(), &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 65534; ++i) {
            const int item = list.addItem(QStringLiteral("A%1").arg(i));
            list.setSubItem(item, 1, QStringLiteral("d%1").arg(i));
            list.setChecked(item, true);
        }
        QCOMPARE(list.subItem(65533, 1), QStringLiteral("d65533"));
        QCoreApplication::processEvents();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(list.listModel()->rowCount(), 65534);
        QCOMPARE(list.listModel()->index(65533, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    }

    // Colours per column; the operator ticks with the model, Space or the mouse on the box.
    void checkBoxAndColoursPerColumn()
    {
        ReviewList list;
        QAbstractItemModelTester tester(list.listModel());
        list.addColumn(QStringLiteral("A"), 1440);
        list.addColumn(QStringLiteral("B"), 1440);
        const int item = list.addItem(QStringLiteral("X"));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setForeColor(item, 0, QColor(0, 128, 0));
        QCOMPARE(list.listModel()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
        QCOMPARE(list.listModel()->index(0, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 128, 0));
        QVERIFY(!list.listModel()->index(0, 1).data(Qt::ForegroundRole).isValid());
        list.listModel()->setData(list.listModel()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
        QVERIFY(list.isChecked(item));
        list.setCurrentIndex(list.listModel()->index(0, 0));
        QTest::keyClick(&list, Qt::Key_Space);
        QVERIFY(!list.isChecked(item));
        const QRect cell = list.visualRect(list.listModel()->index(0, 0));
        const int indicator = list.style()->pixelMetric(QStyle::PM_IndicatorWidth);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(cell.left() + 2 + indicator / 2, cell.center().y()));
        QVERIFY(list.isChecked(item));
        list.clearItems();
        QCOMPARE(list.listModel()->rowCount(), 0);
    }
};

QTEST_MAIN(ReviewListTest)
#include "ReviewList_test.moc"
