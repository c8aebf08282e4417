#include "catalog/modEntidadCatalogo.h"

#include "common/modGlobal.h"
#include "external/ComponentRegistry.h"
#include "external/DataAccessManager.h"
#include "platform/AppError.h"
#include "platform/ErrorNumbers.h"
#include "support/DataAccessTestConfig.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QLocale>
#include <QtTest>

namespace {

// Answers every query as told and records its text.
class FakeConexion : public DatabaseConnection {
public:
    void setSql(const QString &statement) override { m_sql = statement; }
    QString sql() const override { return m_sql; }
    bool crearRs(std::shared_ptr<Recordset> &rs) override
    {
        consultas << m_sql;
        if (falla)
            throw *falla;
        rs = std::make_shared<Recordset>(QStringList{QStringLiteral("ncm")}, std::vector<QVariantList>{{ncm}});
        return existe;
    }
    long ejecutar() override { return 0; }

    QStringList consultas;
    bool existe = false;
    QVariant ncm;
    std::optional<AppError> falla;

private:
    QString m_sql;
};

class FakeDatos : public DataAccessManager {
public:
    void LoadParameters() override {}
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &) override { return conexion; }
    QString getDataConnectionTAG(const QString &) override { return QStringLiteral("SQL"); }
    std::shared_ptr<FakeConexion> conexion = std::make_shared<FakeConexion>();
};

const QString kInsertSql = QStringLiteral(
    "insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario, "
    "IdPais, USUARIO, FECHA, [observacion1], [observacion2], [observacion3] , idunidad, sufijos) values (");
const QString kInsertAccess = QStringLiteral(
    "insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario, "
    "IdPais, USUARIO, FECHA, idunidad, sufijos ) values (");
const QString kFinSql = QStringLiteral(" USUARIO = 'U' ,  FECHA = GETDATE()  where idcatalogo = 'C1' and idarticulo = 'X'");

QString insert(const RegArticulo &a, const QString &tipo = QStringLiteral("SQL"), const QString &cat = QStringLiteral("C1"))
{
    return modEntidadCatalogo::AgregarArticulo(cat, a, tipo);
}

QString update(const RegArticulo &a, const QString &tipo = QStringLiteral("SQL"), const QString &cat = QStringLiteral("C1"))
{
    return modEntidadCatalogo::getSQLUpdateArticulo(cat, a, tipo);
}

RegArticulo articulo(const QString &codigo = QStringLiteral("X"))
{
    RegArticulo a;
    a.idarticulo = codigo;
    return a;
}

RegArticulo completo()
{
    RegArticulo a = articulo(QStringLiteral("A-1"));
    a.descripcion = QStringLiteral("TECLADO");
    a.anexo_descripcion = QStringLiteral("USB");
    a.descripcion_maria = QStringLiteral("TECLADO PARA PC");
    a.ncm = QStringLiteral("8471.60.52");
    a.kilos_unitario = 1.5;
    a.idpais = QStringLiteral("156");
    a.observacion1 = QStringLiteral("O1");
    a.observacion2 = QStringLiteral("O2");
    a.observacion3 = QStringLiteral("O3");
    a.idunidad = QStringLiteral("07");
    a.sufijos = QStringLiteral("AA1");
    return a;
}

QString hoy(const QString &sep)
{
    return QDate::currentDate().toString(QStringLiteral("yyyy'%1'MM'%1'dd").arg(sep));
}

AppError errorDe(const std::function<void()> &operacion)
{
    try {
        operacion();
    } catch (const AppError &e) {
        return e;
    }
    return AppError(0, QString(), QString());
}

// Runs a statement on the catalog the way the sender does.
void ejecutar(const QString &sql)
{
    modGlobal::AccesoDatos->getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->setSql(sql);
    modGlobal::AccesoDatos->getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->ejecutar();
}

// The stored row of one article (values quoted by hand, apostrophes doubled).
QVariantMap fila(const QString &cat, const QString &codigo)
{
    const QStringList campos{"descripcion", "ncm", "ArtKgUnitario", "IdPais", "USUARIO", "FECHA",
                             "observacion1", "observacion2", "idunidad", "sufijos"};
    auto conexion = [] { return modGlobal::AccesoDatos->getDataConnectionByEntity(QStringLiteral("CATALOGOS")); };
    conexion()->setSql(QStringLiteral("select %1 from catarticulos where idcatalogo = '%2' and idarticulo = '%3'")
                           .arg(campos.join(QLatin1Char(',')), QString(cat).replace("'", "''"),
                                QString(codigo).replace("'", "''")));
    std::shared_ptr<Recordset> rs;
    QVariantMap valores;
    if (conexion()->crearRs(rs))
        for (const QString &c : campos)
            valores.insert(c, rs->fields(c));
    return valores;
}

} // namespace

class modEntidadCatalogoTest : public QObject {
    Q_OBJECT

    std::shared_ptr<FakeDatos> datos;
    std::unique_ptr<TestEnvironment> env;

    // The real component on a fresh SQLite catalog of the given kind.
    void usarBaseReal(const QString &tipo = QStringLiteral("SQL"))
    {
        env = std::make_unique<TestEnvironment>();
        if (tipo != QLatin1String("SQL"))
            DataAccessTestConfig(*env).sqliteFolder(env->path(QStringLiteral("bases")), tipo).write();
        modGlobal::AccesoDatos =
            ComponentRegistry::create<DataAccessManager>(QStringLiteral("DataAccessManager.DAMMain"));
        modGlobal::AccesoDatos->LoadParameters();
    }

private Q_SLOTS:
    void init()
    {
        modGlobal::reset();
        modGlobal::UsuarioSesion = QStringLiteral("U");
        datos = std::make_shared<FakeDatos>();
        modGlobal::AccesoDatos = datos;
        QLocale::setDefault(QLocale(QStringLiteral("es_AR")));
    }

    void cleanup()
    {
        modGlobal::reset();
        env.reset();
        QLocale::setDefault(QLocale::c());
    }

    void updateExampleComesOutCharacterForCharacter()
    {
        RegArticulo a = articulo(QStringLiteral("A-1"));
        a.ncm = QStringLiteral("8471300000");
        a.descripcion = QStringLiteral("TECLADO");
        QCOMPARE(update(a),
                 QStringLiteral("update catarticulos set  NCM = '8471300000'  ,  Descripcion = 'TECLADO'  ,  "
                                "USUARIO = 'U' ,  FECHA = GETDATE()  where idcatalogo = 'C1' and idarticulo = 'A-1'"));
    }

    void insertAndUpdateWriteEveryFieldForBothKinds()
    {
        modGlobal::UsuarioSesion = QStringLiteral("Sorvanta - ana\\PC1");
        const RegArticulo a = completo();
        const QString valores = QStringLiteral(
            "'C1','A-1','TECLADO USB','TECLADO PARA PC','8471.60.52',01.50,'156','Sorvanta - ana\\PC1',");
        QCOMPARE(insert(a), kInsertSql + valores + QStringLiteral(" GETDATE() ,'O1','O2','O3','07','AA1')"));
        QCOMPARE(insert(a, QStringLiteral("ACCESS")),
                 kInsertAccess + valores + "#" + hoy(QStringLiteral("/")) + QStringLiteral("#,'07','AA1')"));

        const QString cabeza = QStringLiteral(
            "update catarticulos set  NCM = '8471.60.52'  ,  Descripcion = 'TECLADO USB'  ,  "
            "Descripcion_Maria = 'TECLADO PARA PC' ,  ArtKgUnitario = 1.5");
        const QString pie = QStringLiteral(" ,  idPais = '156' ,  USUARIO = 'Sorvanta - ana\\PC1' ,  FECHA = ");
        const QString where = QStringLiteral(" where idcatalogo = 'C1' and idarticulo = 'A-1'");
        QCOMPARE(update(a), cabeza + " ,  [observacion1] = 'O1' ,  [observacion2] = 'O2' ,  [observacion3] = 'O3'"
                                + pie + "GETDATE() " + where);
        // The Access date takes the operator's date separator.
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(update(a, QStringLiteral("ACCESS")), cabeza + pie + "#" + hoy(QStringLiteral(".")) + "# " + where);
        QLocale::setDefault(QLocale(QStringLiteral("ar_EG")));
        QCOMPARE(update(a, QStringLiteral("ACCESS")), cabeza + pie + "#" + hoy(QStringLiteral("/")) + "# " + where);
    }

    void descriptionRules_data()
    {
        QTest::addColumn<QString>("catalogo");
        QTest::addColumn<QString>("descripcion");
        QTest::addColumn<QString>("anexo");
        QTest::addColumn<QString>("asignacion");
        const QString anexar = QStringLiteral(" Descripcion = Descripcion + ' USB' , ");
        QTest::newRow("PUR without addition") << "PUR" << "TECLADO" << "" << "";
        QTest::newRow("PUR with addition") << "PUR" << "TECLADO" << "USB" << anexar;
        QTest::newRow("empty description, addition") << "C1" << "" << "USB" << anexar;
        QTest::newRow("empty description, nothing") << "C1" << "" << "" << "";
        QTest::newRow("pur in lower case") << "pur" << "TECLADO" << "" << " Descripcion = 'TECLADO'  , ";
    }

    void descriptionRules()
    {
        QFETCH(QString, catalogo);
        QFETCH(QString, descripcion);
        QFETCH(QString, anexo);
        QFETCH(QString, asignacion);
        RegArticulo a = articulo();
        a.descripcion = descripcion;
        a.anexo_descripcion = anexo;
        QCOMPARE(update(a, QStringLiteral("SQL"), catalogo),
                 "update catarticulos set " + asignacion + QString(kFinSql).replace("'C1'", "'" + catalogo + "'"));
    }

    void ncmOfNineIsInsertedButNotUpdated()
    {
        RegArticulo a = articulo();
        a.ncm = QStringLiteral("847130000");
        QCOMPARE(update(a), "update catarticulos set " + kFinSql);
        QVERIFY(insert(a).contains(QStringLiteral(",'847130000',00.00,")));
        a.ncm = QStringLiteral("8471300000");
        QCOMPARE(update(a), "update catarticulos set  NCM = '8471300000'  , " + kFinSql);
    }

    void weights_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("kilos");
        QTest::addColumn<QString>("enInsert");
        QTest::addColumn<QString>("enUpdate");
        // Arabic and Swedish write their own digits, decimal mark or minus sign.
        for (const char *nombre : {"es_AR", "en_US", "de_DE", "ar_EG", "sv_SE"}) {
            const QString l = QString::fromLatin1(nombre);
            QTest::addRow("%s zero", nombre) << l << 0.0 << "00.00" << "";
            QTest::addRow("%s negative", nombre) << l << -1.5 << "-01.50" << "";
            QTest::addRow("%s one and a half", nombre) << l << 1.5 << "01.50" << "1.5";
            QTest::addRow("%s rounded", nombre) << l << 123.456 << "123.46" << "123.456";
            QTest::addRow("%s no grouping", nombre) << l << 12345.5 << "12345.50" << "12345.5";
            QTest::addRow("%s whole", nombre) << l << 7.0 << "07.00" << "7";
        }
    }

    void weights()
    {
        QFETCH(QString, locale);
        QFETCH(double, kilos);
        QFETCH(QString, enInsert);
        QFETCH(QString, enUpdate);
        QLocale::setDefault(QLocale(locale));
        RegArticulo a = articulo();
        a.kilos_unitario = kilos;
        QVERIFY2(insert(a).contains(",''," + enInsert + ",'','U', GETDATE() ,"), qPrintable(insert(a)));
        const QString peso = enUpdate.isEmpty() ? QString() : " ArtKgUnitario = " + enUpdate + " , ";
        QCOMPARE(update(a), "update catarticulos set " + peso + kFinSql);
    }

    void remarkApostrophesBecomeBlankInInsertAndPointInUpdate()
    {
        RegArticulo a = articulo();
        a.observacion1 = QStringLiteral("it's");
        a.observacion3 = QStringLiteral("'a'");
        QVERIFY(insert(a).endsWith(QStringLiteral(" GETDATE() ,'it s','',' a ','','')")));
        QCOMPARE(update(a), "update catarticulos set  [observacion1] = 'it.s' ,  [observacion3] = '.a.' , " + kFinSql);
        QVERIFY(!update(a, QStringLiteral("ACCESS")).contains(QStringLiteral("observacion")));
    }

    void apostrophesInUnreplacedValuesAreDoubled()
    {
        modGlobal::UsuarioSesion = QStringLiteral("O'Neil");
        RegArticulo a = articulo(QStringLiteral("A'1"));
        a.ncm = QStringLiteral("8471'300000");
        a.idpais = QStringLiteral("1'5");
        a.descripcion = QStringLiteral("D'1");
        a.anexo_descripcion = QStringLiteral("X'");
        a.descripcion_maria = QStringLiteral("M'");
        a.sufijos = QStringLiteral("S'");
        const QString cat = QStringLiteral("C'1");
        QCOMPARE(insert(a, QStringLiteral("SQL"), cat),
                 kInsertSql + "'C''1','A 1','D 1 X ','M ','8471''300000',00.00,'1''5','O''Neil', GETDATE() ,'','','','','S ')");
        QCOMPARE(datos->conexion->consultas.last(),
                 QStringLiteral("select idarticulo from catarticulos where idcatalogo = 'C''1' and idarticulo = 'A''1'"));
        QCOMPARE(update(a, QStringLiteral("SQL"), cat),
                 QStringLiteral("update catarticulos set  NCM = '8471''300000'  ,  Descripcion = 'D''1 X'''  ,  "
                                "Descripcion_Maria = 'M''' ,  idPais = '1''5' ,  USUARIO = 'O''Neil' ,"
                                "  FECHA = GETDATE()  where idcatalogo = 'C''1' and idarticulo = 'A 1'"));
        a.descripcion.clear();
        QVERIFY(update(a, QStringLiteral("SQL"), cat).contains(QStringLiteral(" Descripcion = Descripcion + ' X''' ,")));
        modEntidadCatalogo::getArticuloenCatalogo(cat, a);
        QCOMPARE(datos->conexion->consultas.last(),
                 QStringLiteral("select ncm from catarticulos where idcatalogo = 'C''1' and idarticulo = 'A''1'"));
    }

    void kindDifferingInCaseIsUnknown()
    {
        const RegArticulo a = completo();
        QCOMPARE(insert(a, QStringLiteral("sql")), QString());
        QCOMPARE(insert(a, QStringLiteral("Access")), QString());
        QVERIFY(update(a, QStringLiteral("sql"))
                    .endsWith(QStringLiteral("USUARIO = 'U' ,  where idcatalogo = 'C1' and idarticulo = 'A-1'")));
        // An article already in the catalog gets the update whatever the kind.
        datos->conexion->existe = true;
        for (const QString &tipo : {QStringLiteral("SQL"), QStringLiteral("ACCESS"), QStringLiteral("sql")})
            QCOMPARE(insert(a, tipo), update(a, tipo));
    }

    void lookupFillsStateAndCatalogNcm_data()
    {
        QTest::addColumn<bool>("existe");
        QTest::addColumn<QVariant>("ncm");
        QTest::addColumn<QString>("estado");
        QTest::addColumn<QString>("ncmCatalogo");
        QTest::newRow("found") << true << QVariant(QStringLiteral("8471300000")) << "Existe" << "8471300000";
        QTest::newRow("found, null ncm") << true << QVariant() << "Existe" << "";
        QTest::newRow("not found") << false << QVariant(QStringLiteral("x")) << "Nuevo" << "";
    }

    void lookupFillsStateAndCatalogNcm()
    {
        QFETCH(bool, existe);
        QFETCH(QVariant, ncm);
        QFETCH(QString, estado);
        QFETCH(QString, ncmCatalogo);
        datos->conexion->existe = existe;
        datos->conexion->ncm = ncm;
        RegArticulo a = completo();
        a.ncm_catalogo = QStringLiteral("viejo");
        const RegArticulo devuelto = modEntidadCatalogo::getArticuloenCatalogo(QStringLiteral("C1"), a);
        QCOMPARE(a.estado, estado);
        QCOMPARE(a.ncm_catalogo, ncmCatalogo);
        QCOMPARE(devuelto.ncm_catalogo, ncmCatalogo);
        QCOMPARE(datos->conexion->consultas.last(),
                 QStringLiteral("select ncm from catarticulos where idcatalogo = 'C1' and idarticulo = 'A-1'"));
    }

    void errorsAreWrappedOnceAndTwice()
    {
        datos->conexion->falla = AppError(-2147217865, QStringLiteral("OLE DB"), QStringLiteral("Sin conexión"));
        RegArticulo a;
        AppError e = errorDe([&] { modEntidadCatalogo::getArticuloenCatalogo(QStringLiteral("C1"), a); });
        QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
        QCOMPARE(e.source(), QStringLiteral("[ getArticuloenCatalogo.modEntidadCatalogo.Sorvanta Linea 0 ]OLE DB"));
        QCOMPARE(e.description(), QStringLiteral("Sin conexión"));
        e = errorDe([&] { insert(a); });
        QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
        QCOMPARE(e.source(), QStringLiteral("[ AgregarArticulo.modEntidadCatalogo.Sorvanta Linea 0 ]"
                                            "[ Sorvanta.modEntidadCatalogo.ExisteArticulo Linea 20 ]OLE DB"));
        QCOMPARE(e.description(), QStringLiteral("Sin conexión"));
    }

    void apostrophesAreStoredExactlyInARealCatalog()
    {
        usarBaseReal();
        modGlobal::UsuarioSesion = QStringLiteral("Sorvanta - O'Neil\\PC");
        RegArticulo a = articulo(QStringLiteral("A-1"));
        a.descripcion = QStringLiteral("D'1");
        a.ncm = QStringLiteral("8471'30");
        a.idpais = QStringLiteral("1'5");
        a.kilos_unitario = 1.5;
        const QString cat = QStringLiteral("C'1");
        ejecutar(insert(a, QStringLiteral("SQL"), cat));
        const QVariantMap f = fila(cat, QStringLiteral("A-1"));
        QCOMPARE(f.value("descripcion").toString(), QStringLiteral("D 1 "));
        QCOMPARE(f.value("ncm").toString(), QStringLiteral("8471'30"));
        QCOMPARE(f.value("IdPais").toString(), QStringLiteral("1'5"));
        QCOMPARE(f.value("USUARIO").toString(), QStringLiteral("Sorvanta - O'Neil\\PC"));
        QCOMPARE(f.value("ArtKgUnitario").toDouble(), 1.5);

        modEntidadCatalogo::getArticuloenCatalogo(cat, a);
        QCOMPARE(a.estado, QStringLiteral("Existe"));
        QCOMPARE(a.ncm_catalogo, QStringLiteral("8471'30"));
        QVERIFY(!modEntidadCatalogo::ExisteArticulo(QStringLiteral("x' or '1'='1"), a));
    }

    void existingArticleIsUpdatedInARealCatalog()
    {
        usarBaseReal();
        RegArticulo a = articulo(QStringLiteral("B7"));
        a.descripcion = QStringLiteral("MOUSE");
        a.ncm = QStringLiteral("8471300000");
        a.idunidad = QStringLiteral("07");
        ejecutar(insert(a, QStringLiteral("SQL"), QStringLiteral("GEN")));

        modGlobal::UsuarioSesion = QStringLiteral("U2");
        a.descripcion = QStringLiteral("MOUSE 'PRO'");
        a.anexo_descripcion = QStringLiteral("USB");
        a.ncm = QStringLiteral("847130");
        a.kilos_unitario = 2.25;
        a.observacion2 = QStringLiteral("o'k");
        a.idunidad = QStringLiteral("99");
        const QString segundo = insert(a, QStringLiteral("SQL"), QStringLiteral("GEN"));
        QCOMPARE(segundo, update(a, QStringLiteral("SQL"), QStringLiteral("GEN")));
        ejecutar(segundo);
        const QVariantMap f = fila(QStringLiteral("GEN"), QStringLiteral("B7"));
        QCOMPARE(f.value("descripcion").toString(), QStringLiteral("MOUSE 'PRO' USB"));
        QCOMPARE(f.value("ncm").toString(), QStringLiteral("8471300000"));
        QCOMPARE(f.value("ArtKgUnitario").toDouble(), 2.25);
        QCOMPARE(f.value("observacion2").toString(), QStringLiteral("o.k"));
        QCOMPARE(f.value("USUARIO").toString(), QStringLiteral("U2"));
        QCOMPARE(f.value("idunidad").toString(), QStringLiteral("07"));
    }

    void accessFormsRunInARealCatalog()
    {
        usarBaseReal(QStringLiteral("ACCESS"));
        const QString tipo = modGlobal::AccesoDatos->getDataConnectionTAG(QStringLiteral("CATALOGOS"));
        RegArticulo a = articulo();
        a.descripcion = QStringLiteral("CABLE");
        a.observacion1 = QStringLiteral("no va");
        a.sufijos = QStringLiteral("S1");
        ejecutar(insert(a, tipo, QStringLiteral("GEN")));
        QVariantMap f = fila(QStringLiteral("GEN"), QStringLiteral("X"));
        QCOMPARE(f.value("descripcion").toString(), QStringLiteral("CABLE "));
        QCOMPARE(f.value("sufijos").toString(), QStringLiteral("S1"));
        QCOMPARE(f.value("observacion1").toString(), QString());
        QVERIFY(f.value("FECHA").toString().startsWith(QDate::currentDate().toString(Qt::ISODate)));

        a.kilos_unitario = 0.5;
        ejecutar(insert(a, tipo, QStringLiteral("GEN")));
        f = fila(QStringLiteral("GEN"), QStringLiteral("X"));
        QCOMPARE(f.value("descripcion").toString(), QStringLiteral("CABLE"));
        QCOMPARE(f.value("ArtKgUnitario").toDouble(), 0.5);
    }
};

QTEST_GUILESS_MAIN(modEntidadCatalogoTest)
#include "modEntidadCatalogo_test.moc"
