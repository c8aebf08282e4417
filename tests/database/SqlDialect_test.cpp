#include "database/SqlDialect.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace {
const QString kNowSqlite = QStringLiteral("datetime('now','localtime')");
const QString kNowPostgres = QStringLiteral("LOCALTIMESTAMP");
} // namespace

class SqlDialectTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // tests/data/sql-dialect.json: name, statement, the statement rewritten; %NOW% stands
    // for the dialect's current timestamp.
    void rewrites_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("expected");
        QFile f(QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/sql-dialect.json"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QJsonArray rows = QJsonDocument::fromJson(f.readAll()).array();
        QVERIFY(rows.size() > 30);
        for (const QJsonValue &row : rows)
            QTest::newRow(qPrintable(row[0].toString())) << row[1].toString() << row[2].toString();
    }

    void rewrites()
    {
        QFETCH(QString, statement);
        QFETCH(QString, expected);
        QCOMPARE(SqlDialect::translate(statement, SqlDialect::Sqlite),
                 QString(expected).replace(QStringLiteral("%NOW%"), kNowSqlite));
        QCOMPARE(SqlDialect::translate(statement, SqlDialect::Postgres),
                 QString(expected).replace(QStringLiteral("%NOW%"), kNowPostgres));
        QCOMPARE(SqlDialect::translate(statement, SqlDialect::Native), statement);
    }

    void dialectNames()
    {
        SqlDialect::Kind kind = SqlDialect::Native;
        QVERIFY(SqlDialect::fromName(QStringLiteral(" Postgres "), kind));
        QCOMPARE(kind, SqlDialect::Postgres);
        QVERIFY(SqlDialect::fromName(QStringLiteral("sqlite"), kind));
        QCOMPARE(kind, SqlDialect::Sqlite);
        QVERIFY(!SqlDialect::fromName(QStringLiteral("mssql"), kind));
        QCOMPARE(SqlDialect::defaultFor(QStringLiteral("QODBC")), SqlDialect::Native);
        QCOMPARE(SqlDialect::defaultFor(QStringLiteral("QPSQL")), SqlDialect::Postgres);
        QCOMPARE(SqlDialect::defaultFor(QStringLiteral("QSQLITE")), SqlDialect::Sqlite);
    }
};

QTEST_GUILESS_MAIN(SqlDialectTest)
#include "SqlDialect_test.moc"
