#include "catalog/ConsultaAnticipada.h"
#include "catalog/EnviarCatalogos.h"
#include "catalog/EnvioArticulos.h"
#include "database/EmbeddedDatabases.h"
#include "widgets/ReviewList.h"

#include "support/DataAccessTestConfig.h"
#include "support/DataTable.h"
#include "support/Fakes.h"
#include "support/MsgBoxRecorder.h"
#include "support/PostgresTestServer.h"
#include "support/SqlRows.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QProcess>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {
const QString kSent = u"Artículos enviados al catálogo GEN"_s;

// The real connection with each statement sent and committed on its own, as without windows.
struct OneByOne : DatabaseConnection {
    explicit OneByOne(std::shared_ptr<DatabaseConnection> r) : real(std::move(r)) {}
    std::shared_ptr<DatabaseConnection> real;
    void setSql(const Sentencia &s) override { real->setSql(s); }
    QString sql() const override { return real->sql(); }
    bool crearRs(std::shared_ptr<Recordset> &rs) override { return real->crearRs(rs); }
    long ejecutar() override { return real->ejecutar(); }
};

// The real component, its connections one by one, reporting another database kind ("" keeps it).
struct Wrapped : DataAccessManager {
    Wrapped(std::shared_ptr<DataAccessManager> r, QString t) : real(std::move(r)), tag(std::move(t)) {}
    std::shared_ptr<DataAccessManager> real;
    QString tag;
    void LoadParameters() override {}
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &e) override
    {
        return std::make_shared<OneByOne>(real->getDataConnectionByEntity(e));
    }
    QString getDataConnectionTAG(const QString &e) override
    {
        return tag.isEmpty() ? real->getDataConnectionTAG(e) : tag;
    }
};

// Whether a second connection, as another program would open, can write to the catalog now.
bool othersCanWrite(const QString &file, const QString &codigo)
{
    bool written = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"otro"_s);
        db.setDatabaseName(file);
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=0"_s);
        written = db.open()
                  && QSqlQuery(db).exec(
                      u"insert into catarticulos (idcatalogo, idarticulo) values ('OTRO', '%1')"_s.arg(codigo));
    }
    QSqlDatabase::removeDatabase(u"otro"_s);
    return written;
}

// New articles at even positions: the items between them are not new.
std::vector<ConsultaAnticipada::Pendiente> pending(const QStringList &codigos)
{
    std::vector<ConsultaAnticipada::Pendiente> list;
    for (int i = 0; i < codigos.size(); ++i)
        list.emplace_back(i * 2, codigos[i]);
    return list;
}

// The real connection, with another program inserting an article on the server just before the
// run's first commands go: after the run asked for it, before its insert.
struct Intruder : DatabaseConnection {
    Intruder(std::shared_ptr<DatabaseConnection> r, const PostgresTestServer &pg, QString d)
        : real(std::move(r)), server(pg), database(std::move(d))
    {
    }
    std::shared_ptr<DatabaseConnection> real;
    const PostgresTestServer &server;
    QString database;
    bool done = false;
    void setSql(const Sentencia &s) override { real->setSql(s); }
    QString sql() const override { return real->sql(); }
    bool crearRs(std::shared_ptr<Recordset> &rs) override { return real->crearRs(rs); }
    long ejecutar() override { return intrude(), real->ejecutar(); }
    void comenzarTanda(const std::function<void()> &alEsperar) override { real->comenzarTanda(alEsperar); }
    void confirmarTanda() override { real->confirmarTanda(); }
    void terminarTanda() override { real->terminarTanda(); }
    bool tandaPerdida() const override { return real->tandaPerdida(); }
    int sentenciasPorEnvio() const override { return real->sentenciasPorEnvio(); }
    bool ejecutarJuntas(const std::vector<Sentencia> &s, std::vector<long> *c = nullptr) override
    {
        return intrude(), real->ejecutarJuntas(s, c);
    }
    void intrude()
    {
        if (std::exchange(done, true))
            return;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, u"intruso"_s);
            db.setHostName(server.host());
            db.setPort(server.port());
            db.setUserName(server.user());
            db.setDatabaseName(database);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(u"insert into catarticulos (idcatalogo, idarticulo, descripcion) "
                                       "values ('GEN', 'intruso', 'del otro')"_s));
        }
        QSqlDatabase::removeDatabase(u"intruso"_s);
    }
};

struct WithIntruder : DataAccessManager {
    std::shared_ptr<DataAccessManager> real;
    std::shared_ptr<Intruder> catalogos;
    void LoadParameters() override {}
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &e) override
    {
        if (e == u"CATALOGOS"_s)
            return catalogos;
        return real->getDataConnectionByEntity(e);
    }
    QString getDataConnectionTAG(const QString &e) override { return real->getDataConnectionTAG(e); }
};

} // namespace

class EnviarCatalogosTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ReviewList> m_list;
    std::unique_ptr<QProgressBar> m_bar;
    std::unique_ptr<MsgBoxRecorder> m_boxes;

    void start()
    {
        useRealData();
        runSql(u"delete from catarticulos where idcatalogo = 'GEN'"_s);
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion, ncm) values "
               "('GEN', 'EXI-1', 'vieja', '8471.30.00')"_s);
    }

    // Each item: code, state, description, NCM, kilos, country, remark (missing ones empty, kilos 0).
    void fill(const QList<QStringList> &items)
    {
        for (QStringList it : items) {
            while (it.size() < 7)
                it << (it.size() == 4 ? u"0"_s : QString());
            const int i = m_list->addItem(it[0]);
            const QStringList subs{it[2], {}, it[3], it[1], {}, {}, it[4], it[5], it[6], {}, {}, {}, {}};
            for (int k = 0; k < subs.size(); ++k)
                m_list->setSubItem(i, k + 1, subs[k]);
            m_list->setChecked(i, true);
        }
    }

    QString send()
    {
        EnviarCatalogos(*m_list, *m_bar);
        return m_boxes->count() ? m_boxes->last().text : QString();
    }

    // A run from the catalog start() leaves, one by one or in windows: the message without the
    // article it names, that article, the progress, then the catalog's code|descripcion|ncm.
    QStringList sendAfresh(bool oneByOne)
    {
        start();
        if (oneByOne)
            modGlobal::AccesoDatos = std::make_shared<Wrapped>(modGlobal::AccesoDatos, QString());
        const QStringList message = send().split(u"\r\nArtículo que se estaba enviando: "_s);
        useRealData(); // the run may have lost its session
        return QStringList{message.value(0), message.value(1), QString::number(m_bar->value())}
               + SqlRows::rows(*modGlobal::AccesoDatos, u"CATALOGOS"_s,
                               u"select idarticulo, descripcion, ncm from catarticulos where idcatalogo = 'GEN' "
                               "order by idarticulo"_s);
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        modGlobal::UsuarioSesion = u"Sorvanta - o'neil\\PC1"_s;
        modGlobal::IdCatalogoActual = u"GEN"_s;
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        m_list = std::make_unique<ReviewList>();
        for (int k = 0; k < 14; ++k)
            m_list->addColumn(QString::number(k), 1440);
        m_bar = std::make_unique<QProgressBar>();
        m_boxes = std::make_unique<MsgBoxRecorder>();
    }

    void cleanup()
    {
        m_boxes.reset();
        m_list.reset();
        m_bar.reset();
        QLocale::setDefault(QLocale::c());
        modGlobal::reset();
        m_env.reset();
    }

    // Each case of tests/data/envio-catalogo.json: the list's items (code, state, description,
    // NCM, kilos, country, remark) sent to GEN; the message, the bar, the articles then stored
    // (descripcion, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA, observacion1; null: any) and
    // their count. A run that was sent is run again: it updates, never duplicates.
    void sending_data() { DataTable::addRows(u"envio-catalogo.json"_s); }
    void sending()
    {
        QFETCH(QJsonObject, c);
        start();
        if (c.contains(u"sql"_s))
            runSql(c[u"sql"_s].toString());
        if (c.contains(u"kind"_s))
            modGlobal::AccesoDatos = std::make_shared<Wrapped>(modGlobal::AccesoDatos, c[u"kind"_s].toString());
        QList<QStringList> items;
        for (const QJsonValue &item : c[u"items"_s].toArray())
            items << DataTable::texts(item);
        fill(items);
        for (const QJsonValue &i : c[u"unchecked"_s].toArray())
            m_list->setChecked(i.toInt(), false);
        m_bar->setRange(5, 9);
        m_bar->setValue(7);
        const QString message = send();
        // Whatever the outcome, the catalog is free for other programs again.
        QVERIFY(othersCanWrite(EmbeddedDatabases::catalogosFile(m_env->dataDir() + u"/sorvanta"_s), u"OTRO"_s));
        QVERIFY2(c.contains(u"message"_s) ? message == c[u"message"_s].toString()
                                          : message.startsWith(c[u"messageStart"_s].toString()),
                 qPrintable(message));
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(int(m_boxes->last().icon),
                 int(c[u"icon"_s] == u"Information"_s ? MsgBox::Icon::Information : MsgBox::Icon::Exclamation));
        if (c.contains(u"progress"_s))
            QCOMPARE(QList<int>({m_bar->value(), m_bar->maximum()}),
                     QList<int>({c[u"progress"_s][0].toInt(), c[u"progress"_s][1].toInt()}));
        const QJsonObject articles = c[u"articles"_s].toObject();
        const auto withToday = [](QString v) {
            return v.replace(u"{today}"_s, QDate::currentDate().toString(Qt::ISODate));
        };
        for (auto it = articles.begin(); it != articles.end(); ++it) {
            QStringList got = article(it.key());
            QCOMPARE(got.size(), 7);
            got[5] = got[5].left(10);
            QCOMPARE(got, DataTable::expected(it.value().toArray(), got, withToday));
        }
        for (const QString &codigo : DataTable::texts(c[u"absent"_s]))
            QVERIFY(article(codigo).isEmpty());
        QCOMPARE(articleCount(), c[u"count"_s].toInt(1));
        if (message == kSent) {
            QCOMPARE(send(), kSent);
            QCOMPARE(articleCount(), c[u"count"_s].toInt());
        }
    }

    // A database refusal takes back the whole transaction the run was in: what went before it
    // must still be written, and the catalog left free for other programs; the rerun completes.
    void aRefusalStopsTheRunAndARerunCompletes()
    {
        start();
        const QString file = EmbeddedDatabases::catalogosFile(m_env->dataDir() + u"/sorvanta"_s);
        fill({{u"A"_s, u"Nuevo"_s, u"a"_s}, {u"B"_s, u"Nuevo"_s, u"b"_s}, {u"C"_s, u"Nuevo"_s, u"c"_s}});
        runSql(u"create trigger rechazar before insert on catarticulos when NEW.idarticulo = 'C' "
               "begin select raise(rollback, 'articulo C rechazado'); end"_s);
        const QString refused = send();
        QVERIFY2(refused.startsWith(u"articulo C rechazado"_s), qPrintable(refused));
        QVERIFY(refused.contains(u" - seccion [ EnviarCatalogos.frmMain.Sorvanta Linea 0 ]"_s));
        QVERIFY2(refused.endsWith(u" ]DataAccessManager.DAMMain\r\nArtículo que se estaba enviando: C"_s),
                 qPrintable(refused));
        QCOMPARE(articleCount(), 3); // EXI-1, A and B
        QVERIFY(othersCanWrite(file, u"OTRO-1"_s));
        runSql(u"drop trigger rechazar"_s);
        QCOMPARE(send(), kSent);
        QCOMPARE(articleCount(), 4);
        QVERIFY(othersCanWrite(file, u"OTRO-2"_s));
    }

    // Another run (or program) writing to the embedded catalog is waited for, and the run then
    // goes whole; one that holds it past the limit ends the run with nothing written.
    void aRunWaitsForAnotherWriterAndLetsTheCatalogGo()
    {
        const QString folder = m_env->dataDir() + u"/propias"_s;
        DataAccessTestConfig::createSqliteDatabases(folder);
        const QString file = DataAccessTestConfig::catalogosFile(folder);
        DataAccessTestConfig(*m_env)
            .entity(u"CATALOGOS"_s, {{u"Driver"_s, u"QSQLITE"_s}, {u"BaseDatos"_s, file}, {u"EsperaMaxima"_s, u"2"_s}})
            .entity(u"SYSTABLAS"_s,
                    {{u"Driver"_s, u"QSQLITE"_s}, {u"BaseDatos"_s, DataAccessTestConfig::systablasFile(folder)}})
            .write();
        start();
        fill({{u"A"_s, u"Nuevo"_s, u"a"_s}});
        // Another program that only has the catalog open, idle, does not stop a run.
        QProcess idle;
        idle.start(u"/usr/bin/python3"_s, {u"-c"_s,
                                           u"import sqlite3, sys, time\n"
                                           "c = sqlite3.connect(sys.argv[1])\n"
                                           "c.execute('select count(*) from catarticulos').fetchall()\n"
                                           "print('abierta', flush=True)\n"
                                           "time.sleep(60)"_s,
                                           file});
        QVERIFY(idle.waitForReadyRead(10000));
        QCOMPARE(send(), kSent);
        QCOMPARE(articleCount(), 2);
        idle.kill();
        idle.waitForFinished();

        // A writer that lets go after a while: the run waits, then sends.
        QProcess writer;
        writer.start(u"/usr/bin/python3"_s, {u"-c"_s,
                                             u"import sqlite3, sys, time\n"
                                             "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                             "c.execute('begin immediate')\n"
                                             "print('tomada', flush=True)\n"
                                             "time.sleep(1)\n"
                                             "c.execute('rollback')\n"
                                             "time.sleep(60)"_s,
                                             file});
        QVERIFY(writer.waitForReadyRead(10000));
        fill({{u"B"_s, u"Nuevo"_s, u"b"_s}});
        QCOMPARE(send(), kSent);
        QCOMPARE(articleCount(), 3);
        writer.kill();
        writer.waitForFinished();

        // A writer that keeps it: the run gives up, having written nothing, and lets it go.
        fill({{u"C"_s, u"Nuevo"_s, u"c"_s}});
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"dueño"_s);
            other.setDatabaseName(file);
            QVERIFY(other.open());
            QSqlQuery hold(other);
            QVERIFY(hold.exec(u"begin immediate"_s));
            QVERIFY(hold.exec(u"insert into catarticulos (idcatalogo, idarticulo) values ('GEN', 'Z')"_s));
            const QString said = send();
            QVERIFY2(said.startsWith(u"Otro envío al catálogo sigue en curso tras 2 s de espera. No se envió nada"_s),
                     qPrintable(said));
            QVERIFY(hold.exec(u"rollback"_s));
        }
        QSqlDatabase::removeDatabase(u"dueño"_s);
        QCOMPARE(articleCount(), 3);
        QVERIFY(othersCanWrite(file, u"OTRO-1"_s));
        QCOMPARE(send(), kSent);
        QCOMPARE(articleCount(), 4);
    }

    // A value a message names is cut at 200 characters: the NCM check's article and NCM, and
    // the article a database refused.
    void longValuesAreCutInMessages()
    {
        start();
        const QString shown = QString(200, u'c') + u'…';
        fill({{QString(100000, u'c'), u"Nuevo"_s, u"a"_s, QString(300, u'9')}});
        QCOMPARE(send(),
                 u" NCM incorrecto  "_s + QString(200, u'9') + u"… articulo "_s + shown
                     + u"\r\n\r\n-2147220393 - seccion [ EnviarCatalogos.frmMain.Sorvanta Linea 0 ]Validación datos"_s);
        m_list->setSubItem(0, 3, QString());
        runSql(u"create trigger rechazar before insert on catarticulos when length(NEW.idarticulo) > 50 "
               "begin select raise(abort, 'codigo demasiado largo'); end"_s);
        const QString refused = send();
        QVERIFY2(refused.startsWith(u"codigo demasiado largo\r\n"_s), qPrintable(refused.left(300)));
        QVERIFY2(refused.endsWith(u" ]DataAccessManager.DAMMain\r\nArtículo que se estaba enviando: "_s + shown),
                 qPrintable(refused.right(300)));
        QCOMPARE(articleCount(), 1);
    }

    // The existence questions of a run, asked ahead in groups after three timed alone.
    // Codes the database might take for one another never share a group: the later one
    // is asked after the earlier is inserted. Codes without a key (ä) are asked alone.
    void groupsStopAtCodesThatMayBeEqualOrHaveNoKey()
    {
        auto fake = std::make_shared<FakeData>(); // every grouped question answered "none of them"
        modGlobal::AccesoDatos = fake;
        ConsultaAnticipada consulta(u"GEN"_s, pending({u"S1"_s, u"S2"_s, u"S3"_s, u"A1"_s, u"b'2"_s, u"a-1"_s, u"Ä1"_s,
                                                       u"Ñ 3"_s, u"é4"_s, u"ñ3"_s}));
        QList<bool> absent;
        for (int i = 0; i < 10; ++i)
            absent << consulta.ausente(i * 2);
        QCOMPARE(absent, (QList<bool>{true, true, true, true, true, true, false, true, true, true}));
        QStringList groups; // the grouped questions asked, from " in ("
        for (const QString &q : fake->connection->queries)
            groups << q.mid(q.indexOf(u" in ("_s) + 4);
        QCOMPARE(groups, (QStringList{u"('S1')"_s, u"('S2')"_s, u"('S3')"_s, u"('A1', 'b''2')"_s, u"('a-1')"_s,
                                      u"('Ñ 3', 'é4')"_s, u"('ñ3')"_s}));
        QVERIFY(!consulta.ausente(1)); // not a new article of the run
    }

    void slowGroupsGiveWayToSingleQuestions()
    {
        auto fake = std::make_shared<FakeData>();
        modGlobal::AccesoDatos = fake;
        QStringList codigos;
        for (int i = 0; i < 40; ++i)
            codigos << u"N%1"_s.arg(i);
        ConsultaAnticipada consulta(u"GEN"_s, pending(codigos));
        int absent = 0;
        for (int i = 0; i < 40; ++i) {
            // Three quick single questions; then each group of 8 takes longer than 8 of them.
            fake->connection->delayMs = i < 3 ? 0 : 5;
            absent += consulta.ausente(i * 2) ? 1 : 0;
        }
        QCOMPARE(fake->connection->queries.size(), 3 + 4);
        QCOMPARE(absent, 3 + 32);
    }

    // With a question of the run's own, every new article is asked before its statement:
    // alone when its code cannot join a group (Ä), or while slow groups pause.
    void ownQuestionAsksEveryCodeEvenWhileGroupsPause()
    {
        modGlobal::AccesoDatos = std::make_shared<FakeData>();
        QStringList codigos;
        for (int i = 0; i < 40; ++i)
            codigos << (i == 20 ? u"Ä20"_s : u"N%1"_s.arg(i));
        ConsultaAnticipada consulta(u"GEN"_s, pending(codigos));
        QStringList asked;
        consulta.preguntarCon([&asked](const QStringList &group) {
            if (asked.size() >= 3)
                QThread::msleep(5);
            asked += group;
            return false;
        });
        int absent = 0;
        for (int i = 0; i < 40; ++i)
            absent += consulta.ausente(i * 2) ? 1 : 0;
        QCOMPARE(asked, codigos);
        QCOMPARE(absent, 40);
    }

    void aRefusedGroupQuestionLeavesEveryArticleToItsOwn()
    {
        auto fake = std::make_shared<FakeData>();
        modGlobal::AccesoDatos = fake;
        ConsultaAnticipada consulta(u"GEN"_s, pending({u"A"_s, u"B"_s}), 1); // B is a group of its own
        fake->connection->failure = AppError(-2147217900, u"DataAccessManager.DAMMain"_s, u"sintaxis"_s);
        QVERIFY(!consulta.ausente(0));
        fake->connection->failure.reset();
        QVERIFY(!consulta.ausente(2));
        QCOMPARE(fake->connection->queries.size(), 1);
    }

    // A session the server ended is opened again for the next statement, and set as the
    // first one was: a database whose sessions start with standard_conforming_strings off
    // never gets a statement in a session where a backslash escapes.
    void aSessionOpenedAgainKeepsStandardStrings()
    {
        PostgresTestServer pg;
        QVERIFY2(pg.createDatabase(u"sesion_nueva"_s), qPrintable(pg.problem()));
        DataAccessTestConfig(*m_env)
            .postgres(u"CATALOGOS"_s, u"sesion_nueva"_s)
            .postgres(u"SYSTABLAS"_s, u"sesion_nueva"_s)
            .write();
        useRealData();
        runSql(u"alter database sesion_nueva set standard_conforming_strings = off"_s);
        runSql(u"create function cortar() returns trigger language plpgsql as $$ begin "
               "perform pg_terminate_backend(pg_backend_pid()); return NEW; end $$"_s);
        runSql(u"create trigger cortar before insert on catarticulos for each row execute function cortar()"_s);
        const QString primera = sqlRow(u"select pg_backend_pid()"_s).value(0);
        fill({{u"CORTE"_s, u"Nuevo"_s, u"n"_s}});
        ResumenEnvio resumen;
        QVERIFY_THROWS_EXCEPTION(AppError, EnviarArticulos(
                                               *m_list->listModel(), u"GEN"_s, [](int, bool) {}, resumen));
        QCOMPARE(
            sqlRow(u"select pg_backend_pid() <> %1 as otra, current_setting('standard_conforming_strings') as ajuste, "
                   "'a\\' as texto"_s.arg(primera)),
            (QStringList{u"true"_s, u"on"_s, u"a\\"_s}));
    }

    // An article another program inserts after the run asked for it: the insert meets its row
    // and becomes its update, as if the run had asked a moment later.
    void anArticleInsertedMeanwhileIsUpdated()
    {
        PostgresTestServer pg;
        QVERIFY2(pg.createDatabase(u"envio_intruso"_s), qPrintable(pg.problem()));
        DataAccessTestConfig(*m_env)
            .postgres(u"CATALOGOS"_s, u"envio_intruso"_s)
            .postgres(u"SYSTABLAS"_s, u"envio_intruso"_s)
            .write();
        start();
        auto with = std::make_shared<WithIntruder>();
        with->real = modGlobal::AccesoDatos;
        with->catalogos = std::make_shared<Intruder>(with->real->getDataConnectionByEntity(u"CATALOGOS"_s), pg,
                                                     u"envio_intruso"_s);
        modGlobal::AccesoDatos = with;
        fill({{u"N-1"_s, u"Nuevo"_s, u"uno"_s},
              {u"INTRUSO"_s, u"Nuevo"_s, u"de la lista"_s},
              {u"N-2"_s, u"Nuevo"_s, u"dos"_s}});
        QCOMPARE(send(), kSent);
        QVERIFY(with->catalogos->done);
        useRealData();
        QCOMPARE(SqlRows::rows(*modGlobal::AccesoDatos, u"CATALOGOS"_s,
                               u"select idarticulo, descripcion from catarticulos where idcatalogo = 'GEN' "
                               "order by idarticulo"_s),
                 (QStringList{u"EXI-1|vieja"_s, u"intruso|de la lista"_s, u"N-1|uno "_s, u"N-2|dos "_s}));
    }

    void aFaultInAWindowEndsAsOneByOne_data()
    {
        QTest::addColumn<QString>("fault");
        for (const char *row : {"sqlite refused", "sqlite ncm", "postgres refused", "postgres ncm", "postgres session"})
            QTest::newRow(row) << QString::fromLatin1(row);
    }

    // A statement in the middle of a window fails: the catalog, the message and the progress
    // are those of the run sent one statement at a time. A session the server ends takes the
    // whole run along: nothing stands, and nothing is counted sent.
    void aFaultInAWindowEndsAsOneByOne()
    {
        QFETCH(QString, fault);
        if (fault.startsWith(u"postgres"_s)) {
            PostgresTestServer pg;
            QVERIFY2(pg.createDatabase(u"envio_ventanas"_s), qPrintable(pg.problem()));
            DataAccessTestConfig(*m_env)
                .postgres(u"CATALOGOS"_s, u"envio_ventanas"_s)
                .postgres(u"SYSTABLAS"_s, u"envio_ventanas"_s)
                .write();
            useRealData();
            runSql(u"create function vigilar() returns trigger language plpgsql as $$ begin "
                   "if length(NEW.descripcion) > 40 then raise exception 'descripcion demasiado larga'; end if; "
                   "if NEW.idarticulo = 'CORTE' then perform pg_terminate_backend(pg_backend_pid()); end if; "
                   "return NEW; end $$"_s);
            runSql(u"create trigger vigilar before insert on catarticulos for each row execute function vigilar()"_s);
        } else {
            useRealData();
            runSql(u"create trigger vigilar before insert on catarticulos when length(NEW.descripcion) > 40 "
                   "begin select raise(abort, 'descripcion demasiado larga'); end"_s);
        }
        QList<QStringList> items;
        for (int i = 0; i < 40; ++i)
            items.append({u"N-%1"_s.arg(i, 2, 10, QChar(u'0')), u"Nuevo"_s, u"n"_s});
        items[5] = {u"EXI-1"_s, u"Existe"_s, u"nueva"_s};
        // The second spelling must find the first already written, asked in a group or alone (ä).
        items[8] = {u"ABC"_s, u"Nuevo"_s, u"primera"_s};
        items[9] = {u"Ñu"_s, u"Nuevo"_s, u"primera"_s};
        items[11] = {u"ñU"_s, u"Nuevo"_s, u"segunda"_s};
        items[12] = {u"abc"_s, u"Nuevo"_s, u"segunda"_s};
        items[13] = {u"Bär"_s, u"Nuevo"_s, u"primera"_s};
        items[14] = {u"bÄR"_s, u"Nuevo"_s, u"segunda"_s};
        items[15] = {u"EXI-1"_s, u"Existe"_s};
        // Beyond the first eight codes of its group.
        items[24] = {u"EXI-1"_s, u"Nuevo"_s, u"ya estaba"_s};
        items[25] = fault.endsWith(u"refused"_s) ? QStringList{u"LARGO"_s, u"Nuevo"_s, QString(50, u'x')}
                    : fault.endsWith(u"ncm"_s)   ? QStringList{u"NCM"_s, u"Nuevo"_s, u"n"_s, u"1234567890123456"_s}
                                                 : QStringList{u"CORTE"_s, u"Nuevo"_s, u"n"_s};
        fill(items);
        m_list->setChecked(18, false);
        const QStringList oneByOne = sendAfresh(true);
        QCOMPARE(oneByOne[2], u"25"_s);
        const QStringList windows = sendAfresh(false);
        if (!fault.endsWith(u"session"_s)) {
            QCOMPARE(windows, oneByOne);
            return;
        }
        // The same message, which says that none of the run stands.
        const QString nada = u" No se escribió nada de este envío en el catálogo."_s;
        const qsizetype seccion = oneByOne[0].indexOf(u"\r\n\r\n"_s);
        QCOMPARE(windows[0], QString(oneByOne[0]).insert(seccion, nada));
        QCOMPARE(windows.mid(3), (QStringList{u"EXI-1|vieja|8471.30.00"_s}));
        ResumenEnvio resumen;
        QVERIFY_THROWS_EXCEPTION(AppError, EnviarArticulos(
                                               *m_list->listModel(), u"GEN"_s, [](int, bool) {}, resumen));
        QCOMPARE(resumen.enviados + resumen.sinCambios, 0);
    }
};

QTEST_MAIN(EnviarCatalogosTest)
#include "EnviarCatalogos_test.moc"
