#include "review/QuitarGuiones.h"

#include <QtTest>

class QuitarGuionesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleansCodes_data()
    {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("one hyphen") << "AB-123" << "AB 123";
        QTest::newRow("second hyphen dropped") << "AB-12-3" << "AB 123";
        QTest::newRow("four hyphens") << "A-B-C-D" << "A BC D";
        QTest::newRow("blanks around hyphen") << "12 - 34" << "12 34";
        QTest::newRow("inner blank removed") << "AB 12" << "AB12";
        QTest::newRow("leading hyphens keep a blank") << "--X" << " X";
        QTest::newRow("run of hyphens folds") << "A----B" << "A B";
        QTest::newRow("five parts") << "1-2-3-4-5" << "1 23 4 5";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("trailing hyphen kept as blank") << "AB-" << "AB ";
    }

    void cleansCodes()
    {
        QFETCH(QString, entrada);
        QFETCH(QString, esperado);
        QCOMPARE(QuitarGuiones(entrada), esperado);
    }

    void removesBlanksFromCallersText()
    {
        QString codigo = QStringLiteral(" A B-1 ");
        QuitarGuiones(codigo);
        QCOMPARE(codigo, QStringLiteral("AB-1"));
    }
};

QTEST_GUILESS_MAIN(QuitarGuionesTest)
#include "QuitarGuiones_test.moc"
