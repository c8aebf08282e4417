#include "modelos/ReviewListModel.h"

#include <QAbstractItemModelTester>
#include <QtTest>

// The review list's model without any view or graphical library, as sorvanta-lote uses it.
class ReviewListModelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void itemsChecksAndColours()
    {
        QVERIFY(!qobject_cast<QGuiApplication *>(QCoreApplication::instance()));
        ReviewListModel lista;
        QAbstractItemModelTester tester(&lista);
        lista.addColumn(QStringLiteral("ARTICULOS"), 2300);
        lista.addColumn(QStringLiteral("ESTADO"), 2000);
        QSignalSpy pendientes(&lista, &ReviewListModel::itemsPending);
        for (int i = 0; i < 3; ++i)
            lista.setSubItem(lista.addItem(QStringLiteral("A%1").arg(i)), 1, QStringLiteral("Nuevo"));
        QCOMPARE(pendientes.count(), 1);
        QCOMPARE(lista.rowCount(), 0);
        lista.publish();
        QCOMPARE(lista.rowCount(), 3);

        lista.setForeColor(1, 0, ColorTexto(0, 128, 0));
        QCOMPARE(lista.foreColor(1, 0), ColorTexto(0, 128, 0));
        QCOMPARE(lista.index(1, 0).data(Qt::ForegroundRole).value<ColorTexto>(), ColorTexto(0, 128, 0));
        QVERIFY(!lista.index(1, 1).data(Qt::ForegroundRole).isValid());
        QVERIFY(!lista.foreColor(2, 0).isValid());
        QVERIFY(lista.setData(lista.index(2, 0), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(lista.isChecked(2) && !lista.isChecked(1));
        QCOMPARE(lista.subItem(2, 1), QStringLiteral("Nuevo"));
    }
};

QTEST_GUILESS_MAIN(ReviewListModelTest)
#include "ReviewListModel_test.moc"
