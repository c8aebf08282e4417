#include "catalog/modEntidadCatalogo.h"

#include "core/ErrorNumbers.h"
#include "support/DataAccessTestConfig.h"
#include "support/DataTable.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;
using namespace modEntidadCatalogo;

namespace {
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
    for (const char *sep : {"/", ".", "-"})
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
    void statements_data() { DataTable::addRows(u"sentencias-articulo.json"_s); }

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
        const QString ins = AgregarArticulo(cat, a, kind).texto(), upd = getSQLUpdateArticulo(cat, a, kind).texto();
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
        RegArticulo a;
        a.idarticulo = u"A-1"_s;
        getArticuloenCatalogo(u"C1"_s, a);
        QCOMPARE(datos->connection->queries.last(),
                 u"select ncm from catarticulos where idcatalogo = 'C1' and idarticulo = 'A-1'"_s);
        datos->connection->rows = {{u"x"_s}};
        for (const QString &kind : {u"SQL"_s, u"ACCESS"_s, u"sql"_s})
            QCOMPARE(AgregarArticulo(u"C1"_s, a, kind).texto(), getSQLUpdateArticulo(u"C1"_s, a, kind).texto());
    }

    // No statement ever holds a weight that is no finite number ("inf", "nan"): the builders
    // refuse the article, whichever statement it would get.
    void weightsThatAreNoFiniteNumberAreRefused()
    {
        RegArticulo a;
        a.idarticulo = u"A-1"_s;
        a.descripcion = u"d"_s;
        for (const double peso : {qInf(), -qInf(), qQNaN()}) {
            a.kilos_unitario = peso;
            for (const QString &kind : {u"SQL"_s, u"ACCESS"_s}) {
                AppError e = errorOf([&] { getSQLInsertArticulo(u"C1"_s, a, kind); });
                QCOMPARE(e.number(), ErrorNumbers::kValidation);
                QCOMPARE(e.description(), u"El peso del artículo \"A-1\" no es un número finito (%1). "
                                          "No se envió el artículo."_s.arg(QString::number(peso)));
                e = errorOf([&] { getSQLUpdateArticulo(u"C1"_s, a, kind); });
                QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
                QVERIFY2(e.description().startsWith(u"El peso del artículo"_s), qPrintable(e.description()));
                QCOMPARE(errorOf([&] { AgregarArticulo(u"C1"_s, a, kind); }).number(), ErrorNumbers::kInnerOperation);
            }
        }
        a.kilos_unitario = 1e308;
        QVERIFY(getSQLInsertArticulo(u"C1"_s, a, u"SQL"_s).texto().contains(u",1"_s));
    }

    void errorsAreWrappedOnceAndTwice()
    {
        datos->connection->failure = AppError(-2147217865, u"OLE DB"_s, u"Sin conexión"_s);
        RegArticulo a;
        AppError e = errorOf([&] { getArticuloenCatalogo(u"C1"_s, a); });
        QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
        QCOMPARE(e.source(), u"[ getArticuloenCatalogo.modEntidadCatalogo.Sorvanta Linea 0 ]OLE DB"_s);
        QCOMPARE(e.description(), u"Sin conexión"_s);
        e = errorOf([&] { AgregarArticulo(u"C1"_s, a, u"SQL"_s); });
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

    // The steps of tests/data/catalogo-real.json, one article inserted then updated, run by
    // SQLite through the real component, and the columns then stored ("sql:": where the kind
    // keeps remarks, else empty).
    void realCatalogStoresWhatTheStatementsSay()
    {
        QFETCH(QString, kind);
        TestEnvironment env;
        if (kind != u"SQL"_s)
            DataAccessTestConfig(env).sqliteFolder(env.path(u"bases"_s), kind).write();
        useRealData();
        QCOMPARE(modGlobal::AccesoDatos->getDataConnectionTAG(u"CATALOGOS"_s), kind);
        const QString cat = u"C'1"_s;
        const auto fill = [&kind](QString v) {
            v = withToday(v);
            return v.startsWith(u"sql:"_s) ? (kind == u"SQL"_s ? v.mid(4) : QString()) : v;
        };
        for (const QJsonValue &step : DataTable::read(u"catalogo-real.json"_s)) {
            modGlobal::UsuarioSesion = step[u"user"_s].toString();
            RegArticulo a = fromJson(step[u"article"_s].toObject());
            const Sentencia sql = AgregarArticulo(cat, a, kind);
            if (step[u"existing"_s].toBool())
                QCOMPARE(sql.texto(), getSQLUpdateArticulo(cat, a, kind).texto());
            runSql(sql);
            QStringList f = sqlRow(u"select descripcion, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA, observacion1, "
                                   "observacion2, idunidad, sufijos from catarticulos where idcatalogo = 'C''1' and "
                                   "idarticulo = 'B7'"_s);
            f[5] = f[5].left(10);
            QCOMPARE(f, DataTable::expected(step[u"stored"_s].toArray(), f, fill));
            getArticuloenCatalogo(cat, a);
            QCOMPARE(a.estado + u'|' + a.ncm_catalogo, u"Existe|"_s + f[1]);
            QVERIFY(!ExisteArticulo(u"x' or '1'='1"_s, a));
        }
    }
};

QTEST_GUILESS_MAIN(modEntidadCatalogoTest)
#include "modEntidadCatalogo_test.moc"
