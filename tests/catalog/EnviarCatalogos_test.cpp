#include "catalog/EnviarCatalogos.h"
#include "common/modGlobal.h"
#include "external/ComponentRegistry.h"
#include "external/DataAccessManager.h"
#include "external/database/EmbeddedDatabases.h"
#include "platform/ReviewList.h"

#include "support/DataAccessTestConfig.h"
#include "support/MsgBoxRecorder.h"
#include "support/SqlRows.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

namespace {
struct Item {
    Item(QString c, QString e, QString d = {}, QString n = {}, QString k = QStringLiteral("0"), QString p = {},
         QString o = {}, bool chk = true)
        : codigo(c), estado(e), descripcion(d), ncm(n), kilos(k), pais(p), observacion1(o), checked(chk)
    {
    }
    QString codigo;
    QString estado;
    QString descripcion;
    QString ncm;
    QString kilos;
    QString pais;
    QString observacion1;
    bool checked;
};

// The real component, but reporting a database kind the statements do not know.
class UnknownKind : public DataAccessManager {
public:
    explicit UnknownKind(std::shared_ptr<DataAccessManager> real) : m_real(std::move(real)) {}
    void LoadParameters() override {}
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &e) override
    {
        return m_real->getDataConnectionByEntity(e);
    }
    QString getDataConnectionTAG(const QString &) override { return QStringLiteral("MYSQL"); }

private:
    std::shared_ptr<DataAccessManager> m_real;
};

void execute(const QString &sql)
{
    SqlRows::execute(*modGlobal::AccesoDatos, QStringLiteral("CATALOGOS"), sql);
}

// descripcion, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA, observacion1 of one article; empty when absent.
QStringList row(const QString &codigo)
{
    return SqlRows::firstRow(*modGlobal::AccesoDatos, QStringLiteral("CATALOGOS"),
                             QStringLiteral("select descripcion, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA, observacion1 "
                                            "from catarticulos where idcatalogo = 'GEN' and idarticulo = '%1'")
                                 .arg(codigo));
}

int count()
{
    return SqlRows::firstRow(*modGlobal::AccesoDatos, QStringLiteral("CATALOGOS"), QStringLiteral("select count(*) as n from catarticulos")).value(0).toInt();
}

// Whether a second connection, as another program would open, can write to the catalog now.
bool othersCanWrite(const QString &file, const QString &codigo)
{
    const QString name = QStringLiteral("otro-programa");
    bool written = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        written = db.open()
                  && QSqlQuery(db).exec(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo) values ('GEN', '%1')")
                                            .arg(codigo));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return written;
}

QString today()
{
    return QDate::currentDate().toString(Qt::ISODate);
}
} // namespace

class EnviarCatalogosTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestEnvironment> m_env;
    ReviewList *m_list = nullptr;
    QProgressBar *m_bar = nullptr;

    void start(const QString &tag = QStringLiteral("SQL"))
    {
        if (tag != QLatin1String("SQL"))
            DataAccessTestConfig(*m_env).sqliteFolder(m_env->path(QStringLiteral("db")), tag).write();
        modGlobal::AccesoDatos = ComponentRegistry::create<DataAccessManager>(QStringLiteral("DataAccessManager.DAMMain"));
        modGlobal::AccesoDatos->LoadParameters();
        execute(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, descripcion, ncm) values "
                               "('GEN', 'EXI-1', 'vieja', '8471.30.00')"));
    }

    void fill(const QList<Item> &items)
    {
        for (const Item &it : items) {
            const int i = m_list->addItem(it.codigo);
            const QStringList subs{it.descripcion, QString(), it.ncm, it.estado, QString(), QString(), it.kilos,
                                   it.pais, it.observacion1, QString(), QString(), QString(), QString()};
            for (int k = 0; k < subs.size(); ++k)
                m_list->setSubItem(i, k + 1, subs[k]);
            m_list->setChecked(i, it.checked);
        }
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        modGlobal::UsuarioSesion = QStringLiteral("Sorvanta - o'neil\\PC1");
        modGlobal::IdCatalogoActual = QStringLiteral("GEN");
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        m_list = new ReviewList;
        for (int k = 0; k < 14; ++k)
            m_list->addColumn(QString::number(k), 1440);
        m_bar = new QProgressBar;
    }

    void cleanup()
    {
        delete m_list;
        delete m_bar;
        QLocale::setDefault(QLocale::c());
        modGlobal::reset();
        m_env.reset();
    }

    void emptyListOnlySaysSo()
    {
        start();
        MsgBoxRecorder boxes;
        m_bar->setRange(5, 9);
        m_bar->setValue(7);
        EnviarCatalogos(*m_list, *m_bar);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("No hay artículos para procesar contra el catálogo"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Exclamation);
        QCOMPARE(m_bar->value(), 7);
    }

    void insertsUpdatesAndSkipsByTheRules()
    {
        start();
        execute(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, descripcion) values ('GEN', 'EXI-2', 'queda')"));
        fill({{QStringLiteral(" NUE'1 "), QStringLiteral("Nuevo"), QStringLiteral("Tornillo ñandú"), QStringLiteral("7318.15.00"),
               QStringLiteral("1,5"), QStringLiteral("BRA"), QStringLiteral("frágil")},
              {QStringLiteral("EXI-1"), QStringLiteral("Existe"), QStringLiteral("nueva"), QStringLiteral("8471.30.00")},
              // Only a country and a remark: nothing the update would write.
              {QStringLiteral("EXI-2"), QStringLiteral("Existe"), QString(), QStringLiteral("123456789"), QStringLiteral("0"),
               QStringLiteral("ARG"), QStringLiteral("nota")},
              {QStringLiteral("NUE-2"), QStringLiteral("Nuevo"), QStringLiteral("sin marcar"), QString(), QStringLiteral("0"),
               QString(), QString(), false}});
        MsgBoxRecorder boxes;
        EnviarCatalogos(*m_list, *m_bar);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("Artículos enviados al catálogo GEN"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Information);
        QCOMPARE(m_bar->maximum(), 4);
        QCOMPARE(m_bar->value(), 4);

        const QStringList nuevo = row(QStringLiteral("NUE 1"));
        QCOMPARE(nuevo.mid(0, 5), (QStringList{QStringLiteral("Tornillo ñandú "), QStringLiteral("7318.15.00"),
                                               QStringLiteral("1.5"), QStringLiteral("BRA"),
                                               QStringLiteral("Sorvanta - o'neil\\PC1")}));
        QCOMPARE(nuevo[5].left(10), today());
        QCOMPARE(nuevo[6], QStringLiteral("frágil"));
        const QStringList actualizado = row(QStringLiteral("EXI-1"));
        QCOMPARE(actualizado[0], QStringLiteral("nueva"));
        QCOMPARE(actualizado[1], QStringLiteral("8471.30.00"));
        QCOMPARE(actualizado[4], QStringLiteral("Sorvanta - o'neil\\PC1"));
        QCOMPARE(row(QStringLiteral("EXI-2"))[4], QString());
        QVERIFY(row(QStringLiteral("NUE-2")).isEmpty());
        QCOMPARE(count(), 3);

        // A second F12 updates what the first inserted: no duplicates.
        EnviarCatalogos(*m_list, *m_bar);
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(count(), 3);
    }

    void longNcmStopsTheRunAtThatArticle()
    {
        start();
        fill({{QStringLiteral("A"), QStringLiteral("Nuevo"), QStringLiteral("a"), QStringLiteral("123456789012345")},
              {QStringLiteral("B"), QStringLiteral("Nuevo"), QStringLiteral("b"), QStringLiteral(" 1234567890123456 ")},
              {QStringLiteral("C"), QStringLiteral("Nuevo"), QStringLiteral("c")}});
        MsgBoxRecorder boxes;
        EnviarCatalogos(*m_list, *m_bar);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral(" NCM incorrecto  1234567890123456 articulo B\r\n\r\n-2147220393 - seccion "
                                                   "[ EnviarCatalogos.frmMain.Sorvanta Linea 0 ]Validación datos"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Exclamation);
        QVERIFY(!row(QStringLiteral("A")).isEmpty());
        QVERIFY(row(QStringLiteral("C")).isEmpty());
        QCOMPARE(m_bar->value(), 1);
    }

    void databaseErrorKeepsEarlierRowsAndARerunCompletes()
    {
        start();
        execute(QStringLiteral("create trigger rechazar before insert on catarticulos when NEW.idarticulo = 'B' "
                               "begin select raise(abort, 'articulo B rechazado'); end"));
        fill({{QStringLiteral("A"), QStringLiteral("Nuevo"), QStringLiteral("a")},
              {QStringLiteral("B"), QStringLiteral("Nuevo"), QStringLiteral("b")},
              {QStringLiteral("C"), QStringLiteral("Nuevo"), QStringLiteral("c")}});
        MsgBoxRecorder boxes;
        EnviarCatalogos(*m_list, *m_bar);
        QVERIFY2(boxes.last().text.startsWith(QStringLiteral("articulo B rechazado")), qPrintable(boxes.last().text));
        QVERIFY(boxes.last().text.contains(QStringLiteral(" - seccion [ EnviarCatalogos.frmMain.Sorvanta Linea 0 ]")));
        QCOMPARE(count(), 2);
        execute(QStringLiteral("drop trigger rechazar"));
        EnviarCatalogos(*m_list, *m_bar);
        QCOMPARE(boxes.last().text, QStringLiteral("Artículos enviados al catálogo GEN"));
        QCOMPARE(count(), 4);
    }

    // By F12 the catalog may hold articles the list still calls new: one added since F11,
    // and the same code twice in the sheet in another spelling. Each is updated, never
    // inserted twice, however the existence checks are grouped.
    void articlesThatExistByNowAreUpdatedNotDuplicated()
    {
        start();
        QList<Item> items;
        for (int i = 1; i <= 9; ++i)
            items.append({QStringLiteral("N-%1").arg(i), QStringLiteral("Nuevo"), QStringLiteral("n")});
        items.insert(3, {QStringLiteral("EXI-1"), QStringLiteral("Nuevo"), QStringLiteral("ya estaba")});
        items.insert(5, {QStringLiteral("ABC"), QStringLiteral("Nuevo"), QStringLiteral("primera")});
        items.insert(6, {QStringLiteral("abc"), QStringLiteral("Nuevo"), QStringLiteral("segunda")});
        items.insert(9, {QStringLiteral("Ñu-A"), QStringLiteral("Nuevo"), QStringLiteral("primera")});
        items.append({QStringLiteral("Ñu-a"), QStringLiteral("Nuevo"), QStringLiteral("segunda")});
        fill(items);
        MsgBoxRecorder boxes;
        EnviarCatalogos(*m_list, *m_bar);
        QCOMPARE(boxes.last().text, QStringLiteral("Artículos enviados al catálogo GEN"));
        QCOMPARE(count(), 1 + 9 + 2);
        QCOMPARE(row(QStringLiteral("EXI-1"))[0], QStringLiteral("ya estaba"));
        QCOMPARE(row(QStringLiteral("ABC"))[0], QStringLiteral("segunda"));
        QCOMPARE(row(QStringLiteral("Ñu-A"))[0], QStringLiteral("segunda"));
        QCOMPARE(row(QStringLiteral("N-9"))[0], QStringLiteral("n "));
    }

    void catalogIsFreeForOthersOnceARunEnds()
    {
        start();
        const QString file = EmbeddedDatabases::catalogosFile(m_env->dataDir() + QStringLiteral("/sorvanta"));
        fill({{QStringLiteral("A"), QStringLiteral("Nuevo"), QStringLiteral("a")},
              {QStringLiteral("B"), QStringLiteral("Nuevo"), QStringLiteral("b"), QStringLiteral("1234567890123456")}});
        MsgBoxRecorder boxes;
        EnviarCatalogos(*m_list, *m_bar);
        QVERIFY(boxes.last().text.startsWith(QStringLiteral(" NCM incorrecto")));
        QVERIFY(othersCanWrite(file, QStringLiteral("OTRO-1")));

        m_list->setSubItem(1, 3, QString());
        EnviarCatalogos(*m_list, *m_bar);
        QCOMPARE(boxes.last().text, QStringLiteral("Artículos enviados al catálogo GEN"));
        QVERIFY(othersCanWrite(file, QStringLiteral("OTRO-2")));
        QCOMPARE(count(), 5);
    }

    void accessKindWritesNoRemarks()
    {
        start(QStringLiteral("ACCESS"));
        fill({{QStringLiteral("N1"), QStringLiteral("Nuevo"), QStringLiteral("d"), QString(), QStringLiteral("2"),
               QString(), QStringLiteral("nota")}});
        MsgBoxRecorder boxes;
        EnviarCatalogos(*m_list, *m_bar);
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Information);
        const QStringList r = row(QStringLiteral("N1"));
        QCOMPARE(r[5].left(10), today());
        QCOMPARE(r[6], QString());
    }

    void unknownKindIsRefusedBeforeWriting()
    {
        start();
        modGlobal::AccesoDatos = std::make_shared<UnknownKind>(modGlobal::AccesoDatos);
        fill({{QStringLiteral("N1"), QStringLiteral("Nuevo"), QStringLiteral("d")},
              {QStringLiteral("EXI-1"), QStringLiteral("Existe"), QStringLiteral("otra")}});
        MsgBoxRecorder boxes;
        EnviarCatalogos(*m_list, *m_bar);
        QCOMPARE(boxes.count(), 1);
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("Tipo de base de datos desconocido \"MYSQL\"")));
        QVERIFY(row(QStringLiteral("N1")).isEmpty());
        QCOMPARE(row(QStringLiteral("EXI-1"))[0], QStringLiteral("vieja"));
    }
};

QTEST_MAIN(EnviarCatalogosTest)
#include "EnviarCatalogos_test.moc"
