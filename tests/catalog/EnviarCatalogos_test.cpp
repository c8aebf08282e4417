#include "catalog/ConsultaAnticipada.h"
#include "catalog/EnviarCatalogos.h"
#include "database/EmbeddedDatabases.h"
#include "widgets/ReviewList.h"

#include "support/DataAccessTestConfig.h"
#include "support/Fakes.h"
#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QProcess>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {
const QString kSent = u"Artículos enviados al catálogo GEN"_s;

// The real component, but reporting a database kind the statements do not know.
class UnknownKind : public DataAccessManager {
public:
    explicit UnknownKind(std::shared_ptr<DataAccessManager> real) : m_real(std::move(real)) {}
    void LoadParameters() override {}
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &e) override
    {
        return m_real->getDataConnectionByEntity(e);
    }
    QString getDataConnectionTAG(const QString &) override { return u"MYSQL"_s; }

private:
    std::shared_ptr<DataAccessManager> m_real;
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
                      u"insert into catarticulos (idcatalogo, idarticulo) values ('GEN', '%1')"_s.arg(codigo));
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

// The grouped questions asked of the fake, from " in (".
QStringList groups(const FakeData &fake)
{
    QStringList out;
    for (const QString &q : fake.connection->queries)
        out << q.mid(q.indexOf(u" in ("_s) + 4);
    return out;
}

// Every grouped question answered "none of them".
std::shared_ptr<FakeData> useFake()
{
    auto fake = std::make_shared<FakeData>();
    modGlobal::AccesoDatos = fake;
    return fake;
}

QString today()
{
    return QDate::currentDate().toString(Qt::ISODate);
}
} // namespace

class EnviarCatalogosTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ReviewList> m_list;
    std::unique_ptr<QProgressBar> m_bar;
    std::unique_ptr<MsgBoxRecorder> m_boxes;

    void start(const QString &tag = u"SQL"_s)
    {
        if (tag != u"SQL"_s)
            DataAccessTestConfig(*m_env).sqliteFolder(m_env->path(u"db"_s), tag).write();
        useRealData();
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

    void emptyListOnlySaysSo()
    {
        start();
        m_bar->setRange(5, 9);
        m_bar->setValue(7);
        QCOMPARE(send(), u"No hay artículos para procesar contra el catálogo"_s);
        QCOMPARE(m_boxes->last().icon, MsgBox::Icon::Exclamation);
        QCOMPARE(m_bar->value(), 7);
    }

    void insertsUpdatesAndSkipsByTheRules()
    {
        start();
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion) values ('GEN', 'EXI-2', 'queda'), "
               "('GEN', 'EXI-3', 'queda')"_s);
        fill({{u" NUE'1 "_s, u"Nuevo"_s, u"Tornillo ñandú"_s, u"7318.15.00"_s, u"1,5"_s, u"BRA"_s, u"frágil"_s},
              {u"EXI-1"_s, u"Existe"_s, u"nueva"_s, u"8471.30.00"_s},
              // Only a country and a remark: nothing the update would write.
              {u"EXI-2"_s, u"Existe"_s, QString(), u"123456789"_s, u"0"_s, u"ARG"_s, u"nota"_s},
              // A ten-character NCM is something to write.
              {u"EXI-3"_s, u"Existe"_s, QString(), u"1234567890"_s},
              {u"NUE-2"_s, u"Nuevo"_s, u"sin marcar"_s}});
        m_list->setChecked(4, false);
        QCOMPARE(send(), kSent);
        QCOMPARE(m_boxes->last().icon, MsgBox::Icon::Information);
        QCOMPARE(m_bar->maximum(), 5);
        QCOMPARE(m_bar->value(), 5);
        const QStringList added = article(u"NUE 1"_s);
        QCOMPARE(added.mid(0, 5),
                 (QStringList{u"Tornillo ñandú "_s, u"7318.15.00"_s, u"1.5"_s, u"BRA"_s, u"Sorvanta - o'neil\\PC1"_s}));
        QCOMPARE(added[5].left(10), today());
        QCOMPARE(added[6], u"frágil"_s);
        const QStringList updated = article(u"EXI-1"_s);
        QCOMPARE(updated.mid(0, 2), (QStringList{u"nueva"_s, u"8471.30.00"_s}));
        QCOMPARE(updated[4], u"Sorvanta - o'neil\\PC1"_s);
        QCOMPARE(article(u"EXI-2"_s)[4], QString());
        QCOMPARE(article(u"EXI-3"_s)[1], u"1234567890"_s);
        QVERIFY(article(u"NUE-2"_s).isEmpty());
        QCOMPARE(articleCount(), 4);
        // A second run updates what the first inserted: no duplicates.
        QCOMPARE(send(), kSent);
        QCOMPARE(articleCount(), 4);
    }

    // A 16-character NCM, then a database refusal: each run stops at that article, keeps
    // what went before and leaves the catalog free for other programs; the rerun completes.
    void aRunStopsAtAFaultAndARerunCompletes()
    {
        start();
        const QString file = EmbeddedDatabases::catalogosFile(m_env->dataDir() + u"/sorvanta"_s);
        fill({{u"A"_s, u"Nuevo"_s, u"a"_s, u"123456789012345"_s},
              {u"B"_s, u"Nuevo"_s, u"b"_s, u" 1234567890123456 "_s},
              {u"C"_s, u"Nuevo"_s, u"c"_s}});
        QCOMPARE(send(), u" NCM incorrecto  1234567890123456 articulo B\r\n\r\n-2147220393 - seccion "
                         "[ EnviarCatalogos.frmMain.Sorvanta Linea 0 ]Validación datos"_s);
        QCOMPARE(m_boxes->last().icon, MsgBox::Icon::Exclamation);
        QVERIFY(!article(u"A"_s).isEmpty());
        QVERIFY(article(u"C"_s).isEmpty());
        QCOMPARE(m_bar->value(), 1);
        QVERIFY(othersCanWrite(file, u"OTRO-1"_s));

        // The refusal takes back the whole transaction the run was in: what went before it
        // must still be written.
        m_list->setSubItem(1, 3, QString());
        runSql(u"create trigger rechazar before insert on catarticulos when NEW.idarticulo = 'C' "
               "begin select raise(rollback, 'articulo C rechazado'); end"_s);
        const QString refused = send();
        QVERIFY2(refused.startsWith(u"articulo C rechazado"_s), qPrintable(refused));
        QVERIFY(refused.contains(u" - seccion [ EnviarCatalogos.frmMain.Sorvanta Linea 0 ]"_s));
        QVERIFY2(refused.endsWith(u" ]DataAccessManager.DAMMain\r\nArtículo que se estaba enviando: C"_s),
                 qPrintable(refused));
        QVERIFY(!article(u"B"_s).isEmpty());
        QCOMPARE(articleCount(), 4);
        QVERIFY(othersCanWrite(file, u"OTRO-2"_s));

        runSql(u"drop trigger rechazar"_s);
        QCOMPARE(send(), kSent);
        QCOMPARE(articleCount(), 6);
        QVERIFY(othersCanWrite(file, u"OTRO-3"_s));
    }

    // Another program holding the catalog makes the run fail; once it lets go, the
    // catalog must be free for everyone again, not kept by the failed run.
    void aRunThatFindsTheCatalogLockedLetsItGo()
    {
        start();
        const QString file = EmbeddedDatabases::catalogosFile(m_env->dataDir() + u"/sorvanta"_s);
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
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"dueño"_s);
            other.setDatabaseName(file);
            QVERIFY(other.open());
            QSqlQuery hold(other);
            QVERIFY(hold.exec(u"begin immediate"_s));
            QVERIFY(hold.exec(u"insert into catarticulos (idcatalogo, idarticulo) values ('GEN', 'Z')"_s));
            QVERIFY(send().startsWith(u"database is locked"_s));
            QVERIFY(hold.exec(u"rollback"_s));
        }
        QSqlDatabase::removeDatabase(u"dueño"_s);
        QVERIFY(othersCanWrite(file, u"OTRO-1"_s));
        QCOMPARE(send(), kSent);
    }

    // By F12 the catalog may hold articles the list still calls new: one added since F11,
    // and the same code twice in the sheet in another spelling. Each is updated, never
    // inserted twice, however the existence checks are grouped.
    void articlesThatExistByNowAreUpdatedNotDuplicated()
    {
        start();
        QList<QStringList> items;
        for (int i = 1; i <= 9; ++i)
            items.append({u"N-%1"_s.arg(i), u"Nuevo"_s, u"n"_s});
        items.insert(3, {u"EXI-1"_s, u"Nuevo"_s, u"ya estaba"_s});
        items.insert(5, {u"ABC"_s, u"Nuevo"_s, u"primera"_s});
        items.insert(6, {u"abc"_s, u"Nuevo"_s, u"segunda"_s});
        items.insert(9, {u"Ñu-A"_s, u"Nuevo"_s, u"primera"_s});
        items.append({u"Ñu-a"_s, u"Nuevo"_s, u"segunda"_s});
        fill(items);
        QCOMPARE(send(), kSent);
        QCOMPARE(articleCount(), 1 + 9 + 2);
        QCOMPARE(article(u"EXI-1"_s)[0], u"ya estaba"_s);
        QCOMPARE(article(u"ABC"_s)[0], u"segunda"_s);
        QCOMPARE(article(u"Ñu-A"_s)[0], u"segunda"_s);
        QCOMPARE(article(u"N-9"_s)[0], u"n "_s);
    }

    void unknownKindIsRefusedBeforeWriting()
    {
        start();
        modGlobal::AccesoDatos = std::make_shared<UnknownKind>(modGlobal::AccesoDatos);
        fill({{u"N1"_s, u"Nuevo"_s, u"d"_s}, {u"EXI-1"_s, u"Existe"_s, u"otra"_s}});
        QVERIFY(send().startsWith(u"Tipo de base de datos desconocido \"MYSQL\""_s));
        QCOMPARE(m_boxes->count(), 1);
        QVERIFY(article(u"N1"_s).isEmpty());
        QCOMPARE(article(u"EXI-1"_s)[0], u"vieja"_s);
    }

    // The existence questions of a run, asked ahead in groups.
    // Codes the database might take for one another never share a group: the later one
    // is asked after the earlier is inserted. Codes beyond ASCII are asked alone.
    void groupsStopAtCodesThatMayBeEqualOrAreNotAscii()
    {
        auto fake = useFake();
        ConsultaAnticipada consulta(u"GEN"_s, pending({u"A1"_s, u"b'2"_s, u"a-1"_s, u"Ñ1"_s, u"C 3"_s, u"c3"_s}));
        QList<bool> absent;
        for (int i = 0; i < 6; ++i)
            absent << consulta.ausente(i * 2);
        QCOMPARE(absent, (QList<bool>{true, true, true, false, true, true}));
        QCOMPARE(groups(*fake), (QStringList{u"('A1', 'b''2')"_s, u"('a-1')"_s, u"('C 3')"_s, u"('c3')"_s}));
        QVERIFY(!consulta.ausente(1)); // not a new article of the run
    }

    void slowGroupsGiveWayToSingleQuestions()
    {
        auto fake = useFake();
        QStringList codigos;
        for (int i = 0; i < 40; ++i)
            codigos << u"N%1"_s.arg(i);
        ConsultaAnticipada consulta(u"GEN"_s, pending(codigos));
        fake->connection->delayMs = 5;
        consulta.anotarSentencia(100'000); // statements take 0.1 ms: a group of 8 should take under 0.8 ms
        int absent = 0;
        for (int i = 0; i < 40; ++i)
            absent += consulta.ausente(i * 2) ? 1 : 0;
        QCOMPARE(fake->connection->queries.size(), 4);
        QCOMPARE(absent, 32);
    }

    void aRefusedGroupQuestionLeavesEveryArticleToItsOwn()
    {
        auto fake = useFake();
        ConsultaAnticipada consulta(u"GEN"_s, pending({u"A"_s, u"B"_s}));
        fake->connection->failure = AppError(-2147217900, u"DataAccessManager.DAMMain"_s, u"sintaxis"_s);
        QVERIFY(!consulta.ausente(0));
        fake->connection->failure.reset();
        QVERIFY(!consulta.ausente(2));
        QCOMPARE(fake->connection->queries.size(), 1);
    }
};

QTEST_MAIN(EnviarCatalogosTest)
#include "EnviarCatalogos_test.moc"
