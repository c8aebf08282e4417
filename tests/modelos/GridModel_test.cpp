#include "modelos/GridModel.h"

#include <QtTest>

// The grid's model without any view or graphical library, as sorvanta-lote uses it.
class GridModelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formatsAreQtCoreValues()
    {
        QVERIFY(!qobject_cast<QGuiApplication *>(QCoreApplication::instance()));
        GridModel grid;
        grid.resize(3, 3);
        grid.paste(0, 0, 2, 1, QStringLiteral("A\tB\tfuera\rx\ty"));
        const ColorTexto granate(128, 0, 0);
        const bool negrita = true;
        grid.setFormat(0, 1, 0, 1, &granate, &negrita);
        QCOMPARE(grid.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("B"));
        QCOMPARE(grid.headerData(1, Qt::Horizontal, Qt::ForegroundRole).value<ColorTexto>(), granate);
        QVERIFY(grid.headerData(1, Qt::Horizontal, Qt::FontRole).canConvert<GridModel::Negrita>());
        QVERIFY(!grid.headerData(0, Qt::Horizontal, Qt::ForegroundRole).isValid());
        QVERIFY(!grid.headerData(0, Qt::Horizontal, Qt::FontRole).isValid());
        QCOMPARE(grid.index(0, 1).data().toString(), QStringLiteral("y"));
        QCOMPARE(grid.text(0, 2), QString());
        // Shrinking drops the formats of the cells that left the grid.
        grid.resize(3, 1);
        grid.resize(3, 3);
        QVERIFY(!grid.foreColor(0, 1).isValid());
        QVERIFY(!grid.bold(0, 1));
        QCOMPARE(grid.text(1, 0), QStringLiteral("x"));
    }
};

QTEST_GUILESS_MAIN(GridModelTest)
#include "GridModel_test.moc"
