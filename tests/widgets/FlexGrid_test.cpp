#include "core/AppError.h"
#include "modelos/GridModel.h"
#include "widgets/FlexGrid.h"

#include <QAbstractItemModelTester>
#include <QtTest>

// Row 0 of the grid is the header: the model shows it as column titles, data starts at row 1.
class FlexGridTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusesRowsBelowTheFixedHeaderRow()
    {
        FlexGrid grid;
        QCOMPARE(grid.rows(), 1);
        QCOMPARE(grid.fixedRows(), 1);
        try {
            grid.setRows(0);
            QFAIL("zero rows accepted");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), 30009);
            QCOMPARE(e.description(), QStringLiteral("Valor de fila no válido"));
        }
        QVERIFY_THROWS_EXCEPTION(AppError, grid.setCols(0));
    }

    // A pasted block fills the selection only; formats go to the selected cells; cells stay
    // through a resize; the cursor sets the current row and column.
    void pasteFormatResizeAndCursor()
    {
        FlexGrid grid;
        QAbstractItemModelTester tester(grid.gridModel());
        grid.setCols(3);
        grid.setRows(3);
        grid.setRow(0);
        grid.setCol(0);
        grid.setRowSel(1);
        grid.setColSel(1);
        QString beforeReset = QStringLiteral("no reset");
        connect(grid.gridModel(), &QAbstractItemModel::modelAboutToBeReset, this,
                [&] { beforeReset = grid.textMatrix(0, 0); });
        grid.setClip(QStringLiteral("A\tB\tIGNORED\r\tx\rNOT PASTED"));
        QCOMPARE(beforeReset, QString()); // views are told before the cells change
        QCOMPARE(grid.textMatrix(0, 0) + grid.textMatrix(0, 1) + grid.textMatrix(0, 2), QStringLiteral("AB"));
        QCOMPARE(grid.textMatrix(1, 0) + grid.textMatrix(1, 1) + grid.textMatrix(2, 0), QStringLiteral("x"));
        QCOMPARE(grid.gridModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("B"));
        QCOMPARE(grid.gridModel()->rowCount(), 2);
        QCOMPARE(grid.gridModel()->index(0, 1).data().toString(), QStringLiteral("x"));

        grid.setRowSel(0);
        grid.setColSel(2);
        grid.setCellForeColor(QColor(0, 0, 255));
        grid.setCellFontBold(true);
        QCOMPARE(grid.cellForeColor(0, 2), QColor(0, 0, 255));
        QVERIFY(grid.cellFontBold(0, 1) && !grid.cellFontBold(1, 1));
        // What the header and the delegates paint with, from the model's Qt Core values.
        QVERIFY(grid.gridModel()->headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QCOMPARE(grid.gridModel()->headerData(2, Qt::Horizontal, Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(0, 0, 255));
        grid.setCols(2);
        grid.setRows(5);
        QCOMPARE(grid.textMatrix(1, 1), QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(AppError, grid.textMatrix(0, 2));
        grid.setColWidth(1, 3000);
        QCOMPARE(grid.colWidth(1), 3000);

        grid.setCurrentIndex(grid.gridModel()->index(1, 1));
        QCOMPARE(grid.row(), 2);
        QCOMPARE(grid.col(), 1);
    }
};

QTEST_MAIN(FlexGridTest)
#include "FlexGrid_test.moc"
