#include "core/AppError.h"
#include "database/FilaCodificada.h"
#include "database/Recordset.h"
#include "database/SqlConnection.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// The rows a run writes, as the engine hands them over, must be exactly those that stand when
// the run commits: a failing command's rows go, and a run the engine rolled back and ran again
// is not kept twice.
class CapturaSqliteTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_abiertas = 0;

    SqlConnection *abrir(const QStringList &inicio)
    {
        const QString nombre = u"captura%1"_s.arg(++m_abiertas);
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, nombre);
        db.setDatabaseName(m_dir.filePath(nombre + u".sqlite"_s));
        db.open();
        for (const QString &sql : inicio)
            QSqlQuery(db).exec(sql);
        return new SqlConnection(db, SqlDialect::Sqlite);
    }

    static void ejecutar(SqlConnection &c, const char *sql)
    {
        c.setSql(Sentencia(sql));
        c.ejecutar();
    }

    // Each change as "before -> after", values as text, "-" for an inserted row's before.
    static QStringList leidos(SqlConnection &c)
    {
        QStringList filas;
        const CambiosCapturados cambios = c.cambiosCapturados();
        for (std::size_t i = 0; i < cambios.size(); ++i) {
            const auto texto = [](QByteArrayView fila) {
                QStringList valores;
                for (const QVariant &v : FilaCodificada::decodificar(fila))
                    valores << (v.isNull() ? u"null"_s : v.toString());
                return fila.isEmpty() ? u"-"_s : valores.join(u' ');
            };
            filas << texto(cambios.antes(i)) + u" -> "_s + texto(cambios.despues(i));
        }
        return filas;
    }

    static const QStringList &esquema()
    {
        static const QStringList sql{u"create table t (k text primary key, x text, n real, extra text)"_s,
                                     u"insert into t values ('a', 'uno', 1.5, 'e')"_s};
        return sql;
    }

private slots:
    void capturesOnlyWhatStands()
    {
        std::unique_ptr<SqlConnection> c(abrir(esquema()));
        QVERIFY(c->capturarCambios(u"T"_s, {u"k"_s, u"n"_s, u"x"_s}));
        c->comenzarTanda();
        ejecutar(*c, "update t set x = 'dos', n = 2 where k = 'a'");
        ejecutar(*c, "insert into t (k, x) values ('b', 'tres')");
        // Fails on its second row: the first it wrote goes too.
        QVERIFY_THROWS_EXCEPTION(AppError, ejecutar(*c, "insert into t (k) values ('c'), ('a')"));
        c->confirmarTanda();
        QCOMPARE(leidos(*c), (QStringList{u"a 1.5 uno -> a 2 dos"_s, u"- -> b null tres"_s}));
        c->terminarTanda();
        QVERIFY(c->cambiosCapturados().empty());
    }

    void runRolledBackByTheEngineIsNotKeptTwice()
    {
        std::unique_ptr<SqlConnection> c(abrir(
            esquema()
            + QStringList{
                u"create trigger r before insert on t when new.k = 'z' begin select raise(rollback, 'no'); end"_s}));
        QVERIFY(c->capturarCambios(u"t"_s, {u"k"_s, u"x"_s}));
        c->comenzarTanda();
        ejecutar(*c, "update t set x = 'dos' where k = 'a'");
        // The engine rolls the whole run back; the run sends what stood again.
        QVERIFY_THROWS_EXCEPTION(AppError, ejecutar(*c, "insert into t (k) values ('z')"));
        c->confirmarTanda();
        QCOMPARE(leidos(*c), QStringList{u"a uno -> a dos"_s});
        c->terminarTanda();
    }

    void keptRowEqualsTheRowReadBack_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::newRow("UTF-8") << u"UTF-8"_s;
        // Its texts are not the bytes they stand in on disk.
        QTest::newRow("UTF-16le") << u"UTF-16le"_s;
    }

    // The rows kept are compared later with the rows Qt reads: a whole number in a real column
    // is an integer on disk and a real once read, and texts are kept in UTF-8 whatever the file's.
    void keptRowEqualsTheRowReadBack()
    {
        QFETCH(QString, encoding);
        std::unique_ptr<SqlConnection> c(abrir(QStringList{u"pragma encoding = '%1'"_s.arg(encoding)} + esquema()));
        QVERIFY(c->capturarCambios(u"t"_s, {u"k"_s, u"n"_s, u"x"_s}));
        c->comenzarTanda();
        ejecutar(*c, "update t set x = 'ñandú' where k = 'a'");
        ejecutar(*c, "insert into t (k, n, x) values ('d', 2, null)");
        c->confirmarTanda();
        const CambiosCapturados kept = c->cambiosCapturados();
        c->terminarTanda();
        c->setSql(Sentencia("select k, n, x from t order by k"));
        std::shared_ptr<Recordset> rs;
        QVERIFY(c->crearRs(rs));
        QCOMPARE(FilaCodificada::codificar(rs->fila()), kept.despues(0).toByteArray());
        rs->moveNext();
        QCOMPARE(FilaCodificada::codificar(rs->fila()), kept.despues(1).toByteArray());
    }

    void refusedWhereTheTableLacksAColumn()
    {
        std::unique_ptr<SqlConnection> c(abrir(esquema()));
        QVERIFY(!c->capturarCambios(u"t"_s, {u"k"_s, u"observacion1"_s}));
        c->comenzarTanda();
        ejecutar(*c, "update t set x = 'dos' where k = 'a'");
        QVERIFY(c->cambiosCapturados().empty());
        c->terminarTanda();
    }
};

QTEST_GUILESS_MAIN(CapturaSqliteTest)
#include "CapturaSqlite_test.moc"
