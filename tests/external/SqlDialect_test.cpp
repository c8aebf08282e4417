#include "external/database/SqlDialect.h"

#include <QtTest>

namespace {
const QString kNowSqlite = QStringLiteral("datetime('now','localtime')");
const QString kNowPostgres = QStringLiteral("LOCALTIMESTAMP");
} // namespace

class SqlDialectTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rewrites_data()
    {
        QTest::addColumn<QString>("statement");
        // %NOW% stands for the dialect's current timestamp.
        QTest::addColumn<QString>("expected");

        // Current date.
        QTest::newRow("getdate") << "insert into t (a, FECHA) values ('x', GETDATE() ,'y')"
                                 << "insert into t (a, FECHA) values ('x', %NOW% ,'y')";
        QTest::newRow("getdate lower case, blanks") << "set f = getdate ( ) where" << "set f = %NOW% where";
        QTest::newRow("getdate end of text") << "FECHA = GETDATE()" << "FECHA = %NOW%";
        QTest::newRow("longer name") << "select MYGETDATE(), GETDATE_X()" << "select MYGETDATE(), GETDATE_X()";
        QTest::newRow("getdate without call") << "select GETDATE from t" << "select GETDATE from t";
        QTest::newRow("getdate in literal") << "values ('GETDATE()', GETDATE())" << "values ('GETDATE()', %NOW%)";

        // Access date literals, whatever the separator.
        QTest::newRow("date slash") << "FECHA = #2026/03/09# " << "FECHA = '2026-03-09' ";
        QTest::newRow("date dash, short parts") << "(#2026-3-9#," << "('2026-03-09',";
        QTest::newRow("date two-character separator") << "#2026. 12. 31#" << "'2026-12-31'";
        QTest::newRow("month first") << "#03/09/2026#" << "'2026-03-09'";
        QTest::newRow("date and time") << "#2026/03/09 7:05#" << "'2026-03-09 07:05:00'";
        QTest::newRow("blank separator and time") << "#2026. 3. 9. 17:05:59#" << "'2026-03-09 17:05:59'";
        QTest::newRow("not a date") << "where a = #x# or b = #13/45/2026#" << "where a = #x# or b = #13/45/2026#";
        QTest::newRow("lone hash") << "select '#' || a from t where b = 1 # 2" << "select '#' || a from t where b = 1 # 2";
        QTest::newRow("date in literal") << "set a = '#2026/03/09#', FECHA = #2026/03/09#"
                                         << "set a = '#2026/03/09#', FECHA = '2026-03-09'";
        QTest::newRow("plus after date adds") << "#2026/01/02# + 1" << "'2026-01-02' + 1";

        // Bracketed names.
        QTest::newRow("brackets") << "(USUARIO, FECHA, [observacion1], [observacion2], [observacion3] , idunidad)"
                                  << "(USUARIO, FECHA, \"observacion1\", \"observacion2\", \"observacion3\" , idunidad)";
        QTest::newRow("bracket with blank and quote") << "select [mi \"col\"] from t" << "select \"mi \"\"col\"\"\" from t";
        QTest::newRow("bracket in literal") << "set [observacion1] = 'a [b] c'" << "set \"observacion1\" = 'a [b] c'";
        QTest::newRow("unterminated bracket") << "select [abc from t" << "select [abc from t";

        // + next to a string literal concatenates.
        QTest::newRow("append description") << " Descripcion = Descripcion + ' x'" << " Descripcion = Descripcion || ' x'";
        QTest::newRow("literal first") << "select 'a' + b from t" << "select 'a' || b from t";
        QTest::newRow("no blanks") << "select 'a'+b+'c'" << "select 'a'||b||'c'";
        QTest::newRow("numbers add") << "set n = n + 1, m = a + b" << "set n = n + 1, m = a + b";
        QTest::newRow("doubled quote") << "set d = d + ' it''s' + x" << "set d = d || ' it''s' || x";
        QTest::newRow("plus inside literal") << "set d = '+' , e = e + 2" << "set d = '+' , e = e + 2";
        QTest::newRow("literal ending in doubled quote") << "set d = 'a''' + d" << "set d = 'a''' || d";
        QTest::newRow("newline before literal") << "set d = d +\n  'x'" << "set d = d ||\n  'x'";

        // Several forms and literals in one statement.
        QTest::newRow("mixed")
            << "update catarticulos set  Descripcion = Descripcion + ' [USB] #1#' ,  [observacion1] = 'a + b' ,  "
               "FECHA = #2026/03/09#  where idcatalogo = 'PUR' and idarticulo = 'x''y GETDATE()'"
            << "update catarticulos set  Descripcion = Descripcion || ' [USB] #1#' ,  \"observacion1\" = 'a + b' ,  "
               "FECHA = '2026-03-09'  where idcatalogo = 'PUR' and idarticulo = 'x''y GETDATE()'";
        QTest::newRow("unterminated literal") << "select 'abc + [x]" << "select 'abc + [x]";

        // Quoted names and comments stay as written.
        QTest::newRow("quoted name") << "select \"a+[b]\" + 'c' from t" << "select \"a+[b]\" || 'c' from t";
        QTest::newRow("line comment") << "select 1 -- [x] + 'y'\n, [z]" << "select 1 -- [x] + 'y'\n, \"z\"";
        QTest::newRow("block comment") << "select /* GETDATE() #2026/1/1# */ 1" << "select /* GETDATE() #2026/1/1# */ 1";
        QTest::newRow("non-ASCII text") << "set d = d + ' ñandú' where PAI = 'Perú'" << "set d = d || ' ñandú' where PAI = 'Perú'";
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
