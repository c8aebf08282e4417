#include "review/QuitarGuiones.h"

#include <QtTest>

class QuitarGuionesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleansCodes_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("one hyphen") << "AB-123"
                                    << "AB 123";
        QTest::newRow("second hyphen dropped") << "AB-12-3"
                                               << "AB 123";
        QTest::newRow("four hyphens") << "A-B-C-D"
                                      << "A BC D";
        QTest::newRow("five parts") << "1-2-3-4-5"
                                    << "1 23 4 5";
        QTest::newRow("blanks around hyphen") << "12 - 34"
                                              << "12 34";
        QTest::newRow("inner blank removed") << "AB 12"
                                             << "AB12";
        QTest::newRow("leading hyphens keep a blank") << "--X"
                                                      << " X";
        QTest::newRow("run of hyphens folds") << "A----B"
                                              << "A B";
        QTest::newRow("trailing hyphen kept as blank") << "AB-"
                                                       << "AB ";
        QTest::newRow("empty") << ""
                               << "";
    }

    void cleansCodes()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(QuitarGuiones(in), out);
    }

    // The caller's own text loses its blanks, hyphens stay.
    void removesBlanksFromCallersText()
    {
        QString codigo = QStringLiteral(" A B-1 ");
        QuitarGuiones(codigo);
        QCOMPARE(codigo, QStringLiteral("AB-1"));
    }
};

QTEST_GUILESS_MAIN(QuitarGuionesTest)
#include "QuitarGuiones_test.moc"
