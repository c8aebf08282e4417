#include "catalog/DeshacerEnvio.h"
#include "catalog/DiarioEnvios.h"
#include "catalog/EnvioArticulos.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/modGlobal.h"
#include "modelos/ReviewListModel.h"

#include "support/DataAccessTestConfig.h"
#include "support/Fakes.h"
#include "support/SqlRows.h"
#include "support/TestEnvironment.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString kTodas = u"select idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario, IdPais, "
                       "USUARIO, cast(FECHA as varchar(40)) as f, observacion1, observacion2, observacion3, idunidad, "
                       "sufijos from catarticulos order by idcatalogo, idarticulo"_s;
} // namespace

// The undo of the last send, on every engine the connection layer serves.
class DeshacerEnvioTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;

    QStringList catalog() { return SqlRows::rows(*modGlobal::AccesoDatos, u"CATALOGOS"_s, kTodas); }

    // Another program's connection to the catalog's database.
    void otherProgram(const QString &sql)
    {
        const EntitySettings s = modGlobal::AccesoDatos->getDataConnectionOrigen(u"CATALOGOS"_s);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(s.driver, u"otro"_s);
            db.setDatabaseName(s.database);
            db.setHostName(s.host);
            if (s.port > 0)
                db.setPort(s.port);
            db.setUserName(s.user);
            QVERIFY2(db.open(), qPrintable(db.lastError().text()));
            QSqlQuery query(db);
            QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
        }
        QSqlDatabase::removeDatabase(u"otro"_s);
    }

    // Rows with every column filled, nulls, a weight no binary fraction holds, a dated stamp.
    void seed()
    {
        runSql(u"delete from catarticulos"_s);
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario, "
               "IdPais, USUARIO, FECHA, observacion1, observacion2, observacion3, idunidad, sufijos) values "
               "('GEN', 'Exi-1', 'vieja''s', 'MARIA', '8471.30.00', 0.1, 'ARG', 'otro', '2020-01-02 03:04:05', "
               "'o1', 'o2', 'o3', 'KG', 'Z')"_s);
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion) values ('GEN', 'EXI-2', 'sola')"_s);
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion) values ('PUR', 'EXI-1', 'otro')"_s);
    }

    // EXI-1 and EXI-2 updated (the first's code in another case), NUE-1 inserted.
    void send()
    {
        send({{u"EXI-1"_s, u"nueva"_s, u"Existe"_s, u"2,5"_s, u"obs"_s},
              {u"EXI-2"_s, u"otra"_s, u"Existe"_s, u"0"_s, u""_s},
              {u"NUE-1"_s, u"alta"_s, u"Nuevo"_s, u"1,25"_s, u"x'y"_s}});
    }

    // Each item: code, description, "Existe"/"Nuevo", weight, remark.
    static void fill(ReviewListModel &lista, const QList<QStringList> &items)
    {
        for (int k = 0; k < 14; ++k)
            lista.addColumn(QString::number(k), 1440);
        for (const QStringList &it : items) {
            const int i = lista.addItem(it[0]);
            lista.setSubItem(i, 1, it[1]);
            lista.setSubItem(i, 4, it[2]);
            lista.setSubItem(i, 7, it[3]);
            lista.setSubItem(i, 9, it[4]);
            lista.setChecked(i, true);
        }
    }

    void send(const QList<QStringList> &items)
    {
        ReviewListModel lista;
        fill(lista, items);
        ResumenEnvio resumen;
        EnviarArticulos(
            lista, u"GEN"_s, [](int, bool) {}, resumen);
        QCOMPARE(resumen.sinDeshacer, QString());
        QCOMPARE(resumen.enviados, int(items.size()));
    }

    // The catalog's database on the backend, seeded; "" or why it could not be had.
    QString seededBackend(const QString &backend, const QString &base)
    {
        const QString problem = DataAccessTestConfig(*m_env).backend(backend, m_env->path(u"bases"_s), base);
        if (problem.isEmpty()) {
            useRealData();
            seed();
        }
        return problem;
    }

    // The last send undone whole: so many rows deleted and put back, none left as another
    // program changed it, the catalog as it was.
    void undoneWhole(int borrados, int repuestos, const QStringList &before)
    {
        const ResultadoDeshacer hecho = DeshacerUltimoEnvio(u"gen"_s);
        QCOMPARE(hecho.borrados, borrados);
        QCOMPARE(hecho.repuestos, repuestos);
        QVERIFY(hecho.cambiados.isEmpty());
        QCOMPARE(catalog(), before);
    }

    QString refusal()
    {
        try {
            DeshacerUltimoEnvio(u"gen"_s);
        } catch (const AppError &e) {
            return QString::number(e.number()) + u' ' + e.description();
        }
        return u"(undone)"_s;
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        modGlobal::UsuarioSesion = u"Sorvanta - o'neil\\PC1"_s;
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    }

    void cleanup()
    {
        modGlobal::reset();
        m_env.reset();
    }

    void backends_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::newRow("sqlite") << u"sqlite"_s;
        QTest::newRow("postgres") << u"postgres"_s;
    }

    // Every column back, nulls and stamp included; then the same send refused.
    void undoRestoresEveryColumnOnceOnly_data() { backends_data(); }
    void undoRestoresEveryColumnOnceOnly()
    {
        QFETCH(QString, backend);
        const QString problem = seededBackend(backend, u"deshacer_todo"_s);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        runSql(u"insert into ORG (PAI, ORI, ESM) values ('ARG', 'Argentina', '1')"_s);
        const QStringList before = catalog();
        QCOMPARE(refusal().left(11), QString::number(ErrorNumbers::kValidation));
        send();
        QVERIFY(catalog() != before);
        undoneWhole(1, 2, before);
        QCOMPARE(sqlRow(u"select count(*) from ORG"_s).value(0), u"1"_s);
        const QString second = refusal();
        QVERIFY2(second.startsWith(QString::number(ErrorNumbers::kValidation)) && second.contains(u"ya se deshizo"_s),
                 qPrintable(second));
        QCOMPARE(catalog(), before);
    }

    // Statements of one shape by the dozen (on a server they go prepared after the first),
    // weights no binary fraction holds: each row is found and put back exactly.
    void manyRowsOfOneShapeUndoneExactly_data() { backends_data(); }
    void manyRowsOfOneShapeUndoneExactly()
    {
        QFETCH(QString, backend);
        const QString problem = seededBackend(backend, u"deshacer_formas"_s);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QList<QStringList> items;
        for (int k = 1; k <= 12; ++k) {
            runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion, ArtKgUnitario, FECHA) values "
                   "('GEN', 'F-%1', 'vieja %1', 0.%1, '2020-01-02 03:04:05.%1')"_s.arg(k));
            items.append({u"F-%1"_s.arg(k), u"nueva %1"_s.arg(k), u"Existe"_s, u"0,3"_s, u"o'%1"_s.arg(k)});
            items.append({u"N-%1"_s.arg(k), u"alta %1"_s.arg(k), u"Nuevo"_s, u"0,7"_s, u""_s});
        }
        const QStringList before = catalog();
        send(items);
        undoneWhole(12, 12, before);
        if (backend == u"postgres"_s)
            QVERIFY(sqlRow(u"select count(*) from pg_prepared_statements where name like 'sorvanta_comando_%'"_s)
                        .value(0)
                        .toInt()
                    > 0);
    }

    // More articles than one grouped question holds (a server reads them all in one list): each
    // row is told apart from another catalog's of the same code, and from its own code spelt in
    // another case, and put back exactly. A new article another program added since it was
    // processed gets its row back; one listed twice, or spelt twice in two cases, is deleted.
    void manyArticlesReadInOneListUndoneExactly_data() { backends_data(); }
    void manyArticlesReadInOneListUndoneExactly()
    {
        QFETCH(QString, backend);
        const QString problem = seededBackend(backend, u"deshacer_lista"_s);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        // Some codes hold what a list of codes must escape.
        const auto codigo = [](const char *prefijo, int k) {
            return QString::fromLatin1(prefijo) + (k % 3 ? u"%1"_s.arg(k) : u"\"{%1}, \\"_s.arg(k));
        };
        for (const QString &catalogo : {u"GEN"_s, u"PUR"_s})
            for (int k = 1; k <= 150; ++k)
                runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion, ArtKgUnitario, USUARIO) "
                       "values ('%1', '%2', '%1 vieja %3', %3 / 7.0, 'otro')"_s.arg(catalogo, codigo("l-", k))
                           .arg(k));
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion) values ('GEN', 'M-140', 'ajena')"_s);
        QList<QStringList> items;
        for (int k = 1; k <= 150; ++k) {
            items.append({codigo("L-", k), u"nueva %1"_s.arg(k), u"Existe"_s, u"0,3"_s, u"o%1"_s.arg(k)});
            items.append({u"M-%1"_s.arg(k), u"alta %1"_s.arg(k), u"Nuevo"_s, u"0,7"_s, u""_s});
        }
        items.append({u"M-145"_s, u"otra vez"_s, u"Nuevo"_s, u"0,9"_s, u""_s});
        items.append({u"m-146"_s, u"en minusculas"_s, u"Nuevo"_s, u"0,9"_s, u""_s});
        const QStringList before = catalog();
        send(items);
        QVERIFY(catalog() != before);
        undoneWhole(149, 151, before);
    }

    // A run stopped half way by an article's NCM keeps what went before it, and its undo
    // takes back only that: a new article further on, added by another program since it was
    // processed, was never written and stays.
    void aStoppedRunUndoesOnlyWhatItWrote_data() { backends_data(); }
    void aStoppedRunUndoesOnlyWhatItWrote()
    {
        QFETCH(QString, backend);
        const QString problem = seededBackend(backend, u"deshacer_parada"_s);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion) values ('GEN', 'NUE-3', 'ajena')"_s);
        const QStringList before = catalog();
        ReviewListModel lista;
        fill(lista, {{u"NUE-1"_s, u"alta"_s, u"Nuevo"_s, u"1"_s, u""_s},
                     {u"NUE-2"_s, u"mal"_s, u"Nuevo"_s, u"1"_s, u""_s},
                     {u"NUE-3"_s, u"alta"_s, u"Nuevo"_s, u"1"_s, u""_s}});
        lista.setSubItem(1, 3, u"8471.30.00.000.AB"_s);
        ResumenEnvio resumen;
        QVERIFY_THROWS_EXCEPTION(AppError, EnviarArticulos(
                                               lista, u"GEN"_s, [](int, bool) {}, resumen));
        QCOMPARE(resumen.enviados, 1);
        QCOMPARE(resumen.sinDeshacer, QString());
        undoneWhole(1, 0, before);
    }

    // A journal another program holds open in write-ahead mode (as earlier versions left it)
    // still takes a send at once, rather than waiting for that program and failing.
    void journalHeldInWriteAheadModeStillTakesASend()
    {
        const QString archivo = m_env->path(u"diario/envios.sqlite"_s);
        {
            DiarioEnvios crear(archivo);
        }
        {
            QSqlDatabase otro = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"otro-diario"_s);
            otro.setDatabaseName(archivo);
            QVERIFY(otro.open());
            QSqlQuery query(otro);
            QVERIFY(query.exec(u"pragma journal_mode=wal"_s));
            QVERIFY(query.exec(u"begin"_s));
            QVERIFY(query.exec(u"select count(*) from envios"_s) && query.next());
            DiarioEnvios::Entrada e;
            e.catalogo = u"GEN"_s;
            e.driver = u"QSQLITE"_s;
            DiarioEnvios diario(archivo);
            e.id = diario.registrar(e, {{QByteArray(), QByteArray("fila")}});
            diario.marcar(e, DiarioEnvios::Estado::Hecho);
            QCOMPARE(diario.ultimo(e)->id, e.id);
            query.exec(u"commit"_s);
        }
        QSqlDatabase::removeDatabase(u"otro-diario"_s);
    }

    // A row another program changed after the send stays as it left it, and the message names it.
    void aRowChangedSinceIsKeptAndNamed_data() { backends_data(); }
    void aRowChangedSinceIsKeptAndNamed()
    {
        QFETCH(QString, backend);
        const QString problem = seededBackend(backend, u"deshacer_otro"_s);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        send();
        otherProgram(
            u"update catarticulos set observacion3 = 'de otro' where idcatalogo = 'GEN' and idarticulo = 'EXI-1'"_s);
        otherProgram(u"update catarticulos set ArtKgUnitario = 9 where idarticulo = 'NUE-1'"_s);
        const QStringList changed = SqlRows::rows(
            *modGlobal::AccesoDatos, u"CATALOGOS"_s,
            QString(kTodas).replace(u" order"_s, u" where idarticulo <> 'EXI-2' order"_s));
        const ResultadoDeshacer hecho = DeshacerUltimoEnvio(u"GEN"_s);
        QCOMPARE(hecho.borrados + hecho.repuestos, 1);
        QCOMPARE(hecho.cambiados, (QStringList{u"Exi-1"_s, u"NUE-1"_s}));
        QVERIFY2(hecho.mensaje().contains(u": 0 artículos borrados, 1 devuelto a como estaba.\r\n2 artículos cambiaron "
                                          "después del envío y se dejaron como están: Exi-1, NUE-1"_s),
                 qPrintable(hecho.mensaje()));
        QCOMPARE(sqlRow(u"select descripcion from catarticulos where idcatalogo = 'GEN' and idarticulo = 'EXI-2'"_s),
                 QStringList{u"sola"_s});
        QStringList after = catalog();
        after.removeIf([](const QString &row) { return row.startsWith(u"GEN|EXI-2|"_s); });
        QCOMPARE(after, changed);
    }
};

QTEST_MAIN(DeshacerEnvioTest)
#include "DeshacerEnvio_test.moc"
