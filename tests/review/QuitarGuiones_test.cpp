#include "review/QuitarGuiones.h"

#include "support/DataTable.h"

#include <QtTest>

class QuitarGuionesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleansCodes_data() { DataTable::addRows(QStringLiteral("quitar-guiones.json")); }
    void cleansCodes()
    {
        QFETCH(QJsonObject, c);
        QString in = c[QLatin1String("in")].toString();
        QCOMPARE(QuitarGuiones(in), c[QLatin1String("out")].toString());
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
