#include "catalog/modEntidadCatalogo.h"

#include "core/ErrorNumbers.h"
#include "support/DataAccessTestConfig.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;
using namespace modEntidadCatalogo;

namespace {
const QString kEnd = u" USUARIO = 'U' ,  FECHA = GETDATE()  where idcatalogo = 'C1' and idarticulo = 'X'"_s;

QString insert(const RegArticulo &a, const QString &kind = u"SQL"_s, const QString &cat = u"C1"_s)
{
    return AgregarArticulo(cat, a, kind);
}

QString update(const RegArticulo &a, const QString &kind = u"SQL"_s, const QString &cat = u"C1"_s)
{
    return getSQLUpdateArticulo(cat, a, kind);
}

RegArticulo reg(const QString &codigo = u"X"_s)
{
    RegArticulo a;
    a.idarticulo = codigo;
    return a;
}

// An article from its fields in tests/data/sentencias-articulo.json.
RegArticulo fromJson(const QJsonObject &o)
{
    RegArticulo a;
    QString *texts[] = {&a.idarticulo, &a.descripcion,  &a.descripcion_maria, &a.ncm,          &a.anexo_descripcion,
                        &a.idpais,     &a.observacion1, &a.observacion2,      &a.observacion3, &a.idunidad,
                        &a.sufijos};
    const char *names[] = {"idarticulo", "descripcion",  "descripcion_maria", "ncm",          "anexo_descripcion",
                           "idpais",     "observacion1", "observacion2",      "observacion3", "idunidad",
                           "sufijos"};
    for (int i = 0; i < 11; ++i)
        *texts[i] = o.value(QLatin1String(names[i])).toString();
    a.kilos_unitario = o.value(QLatin1String("kilos_unitario")).toDouble();
    return a;
}

// "{today/}": today's date, year first, with that separator.
QString withToday(QString s)
{
    for (const char *sep : {"/", "."})
        s.replace(u"{today%1}"_s.arg(QLatin1String(sep)),
                  QDate::currentDate().toString(u"yyyy'%1'MM'%1'dd"_s.arg(QLatin1String(sep))));
    return s;
}
} // namespace

class modEntidadCatalogoTest : public QObject {
    Q_OBJECT
    std::shared_ptr<FakeData> datos;

private Q_SLOTS:
    void init()
    {
        modGlobal::reset();
        modGlobal::UsuarioSesion = u"U"_s;
        datos = std::make_shared<FakeData>();
        datos->connection->fields = {u"ncm"_s};
        modGlobal::AccesoDatos = datos;
        QLocale::setDefault(QLocale(u"es_AR"_s));
    }

    void cleanup()
    {
        modGlobal::reset();
        QLocale::setDefault(QLocale::c());
    }

    // Each case of tests/data/sentencias-articulo.json: the statements for one article, whole
    // ("insert", "update") or in part ("insertEnds", "insertHas", "updateHas", "updateLacks").
    void statements_data()
    {
        QTest::addColumn<QJsonObject>("c");
        QFile f(QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/sentencias-articulo.json"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        for (const QJsonValue &c : QJsonDocument::fromJson(f.readAll()).array())
            QTest::newRow(qPrintable(c[u"name"_s].toString())) << c.toObject();
    }

    void statements()
    {
        QFETCH(QJsonObject, c);
        const auto get = [&c](const char *key, const char *otherwise = "") {
            return withToday(c.value(QLatin1String(key)).toString(QString::fromUtf8(otherwise)));
        };
        QLocale::setDefault(QLocale(get("locale", "es_AR")));
        modGlobal::UsuarioSesion = get("user", "U");
        const RegArticulo a = fromJson(c.value(u"article"_s).toObject());
        const QString kind = get("kind", "SQL"), cat = get("catalog", "C1");
        const QString ins = insert(a, kind, cat), upd = update(a, kind, cat);
        if (c.contains(u"insert"_s))
            QCOMPARE(ins, get("insert"));
        QVERIFY2(c.contains(u"insert"_s) || (ins.endsWith(get("insertEnds")) && ins.contains(get("insertHas"))),
                 qPrintable(ins));
        if (c.contains(u"query"_s))
            QCOMPARE(datos->connection->queries.last(), get("query"));
        if (c.contains(u"update"_s))
            QCOMPARE(upd, get("update"));
        QVERIFY2(upd.contains(get("updateHas")), qPrintable(upd));
        QVERIFY2(!c.contains(u"updateLacks"_s) || !upd.contains(get("updateLacks")), qPrintable(upd));
    }

    // An article already in the catalog gets the update whatever the kind.
    void existingArticleIsUpdated()
    {
        RegArticulo a = reg(u"A-1"_s);
        getArticuloenCatalogo(u"C1"_s, a);
        QCOMPARE(datos->connection->queries.last(),
                 u"select ncm from catarticulos where idcatalogo = 'C1' and idarticulo = 'A-1'"_s);
        datos->connection->rows = {{u"x"_s}};
        for (const QString &kind : {u"SQL"_s, u"ACCESS"_s, u"sql"_s})
            QCOMPARE(insert(a, kind), update(a, kind));
    }

    void errorsAreWrappedOnceAndTwice()
    {
        datos->connection->failure = AppError(-2147217865, u"OLE DB"_s, u"Sin conexión"_s);
        RegArticulo a;
        AppError e = errorOf([&] { getArticuloenCatalogo(u"C1"_s, a); });
        QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
        QCOMPARE(e.source(), u"[ getArticuloenCatalogo.modEntidadCatalogo.Sorvanta Linea 0 ]OLE DB"_s);
        QCOMPARE(e.description(), u"Sin conexión"_s);
        e = errorOf([&] { insert(a); });
        QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
        QCOMPARE(e.source(), u"[ AgregarArticulo.modEntidadCatalogo.Sorvanta Linea 0 ]"
                             "[ Sorvanta.modEntidadCatalogo.ExisteArticulo Linea 20 ]OLE DB"_s);
    }

    void realCatalogStoresWhatTheStatementsSay_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("SQL") << u"SQL"_s;
        QTest::newRow("ACCESS") << u"ACCESS"_s;
    }

    // Insert, then the same article again (an update), run by SQLite through the real component.
    void realCatalogStoresWhatTheStatementsSay()
    {
        QFETCH(QString, kind);
        TestEnvironment env;
        if (kind != u"SQL"_s)
            DataAccessTestConfig(env).sqliteFolder(env.path(u"bases"_s), kind).write();
        useRealData();
        QCOMPARE(modGlobal::AccesoDatos->getDataConnectionTAG(u"CATALOGOS"_s), kind);
        const bool remarks = kind == u"SQL"_s;
        const QString cat = u"C'1"_s;
        const auto stored = [&] {
            return sqlRow(u"select descripcion, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA, observacion1, "
                          "observacion2, idunidad, sufijos from catarticulos where idcatalogo = 'C''1' and "
                          "idarticulo = 'B7'"_s);
        };
        modGlobal::UsuarioSesion = u"Sorvanta - O'Neil\\PC"_s;
        RegArticulo a = reg(u"B7"_s);
        a.descripcion = u"D'1"_s;
        a.ncm = u"8471'30"_s;
        a.idpais = u"1'5"_s;
        a.kilos_unitario = 1.5;
        a.observacion1 = u"no'ta"_s;
        a.idunidad = u"07"_s;
        a.sufijos = u"S1"_s;
        runSql(insert(a, kind, cat));
        QStringList f = stored();
        QCOMPARE(f.mid(0, 5), (QStringList{u"D 1 "_s, u"8471'30"_s, u"1.5"_s, u"1'5"_s, u"Sorvanta - O'Neil\\PC"_s}));
        QVERIFY(f[5].startsWith(QDate::currentDate().toString(Qt::ISODate)));
        QCOMPARE(f.mid(6), (QStringList{remarks ? u"no ta"_s : QString(), QString(), u"07"_s, u"S1"_s}));
        getArticuloenCatalogo(cat, a);
        QCOMPARE(a.estado, u"Existe"_s);
        QCOMPARE(a.ncm_catalogo, u"8471'30"_s);
        QVERIFY(!ExisteArticulo(u"x' or '1'='1"_s, a));

        modGlobal::UsuarioSesion = u"U2"_s;
        a.descripcion = u"MOUSE 'PRO'"_s;
        a.anexo_descripcion = u"USB"_s;
        a.ncm = u"847130"_s;
        a.kilos_unitario = 2.25;
        a.observacion2 = u"o'k"_s;
        a.idunidad = u"99"_s;
        const QString second = insert(a, kind, cat);
        QCOMPARE(second, update(a, kind, cat));
        runSql(second);
        f = stored();
        QCOMPARE(f.mid(0, 5), (QStringList{u"MOUSE 'PRO' USB"_s, u"8471'30"_s, u"2.25"_s, u"1'5"_s, u"U2"_s}));
        QCOMPARE(f.mid(7, 2), (QStringList{remarks ? u"o.k"_s : QString(), u"07"_s}));
    }
};

QTEST_GUILESS_MAIN(modEntidadCatalogoTest)
#include "modEntidadCatalogo_test.moc"
