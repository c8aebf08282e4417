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

// Records what the catalog code asks of the database and answers as told.
class FakeConexion : public DatabaseConnection {
public:
    void setSql(const QString &statement) override
    {
        m_sql = statement;
        pasos << QStringLiteral("setSql");
    }
    QString sql() const override { return m_sql; }
    bool crearRs(std::shared_ptr<Recordset> &rs) override
    {
        pasos << QStringLiteral("crearRs");
        consultas << m_sql;
        if (falla)
            throw *falla;
        if (!existe)
            return false;
        rs = std::make_shared<Recordset>(QStringList{QStringLiteral("ncm")}, std::vector<QVariantList>{{ncm}});
        return true;
    }
    long ejecutar() override { return 0; }

    QStringList pasos;
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
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &entity) override
    {
        entidades << entity;
        conexion->pasos << QStringLiteral("get");
        return conexion;
    }
    QString getDataConnectionTAG(const QString &) override { return QStringLiteral("SQL"); }

    QStringList entidades;
    std::shared_ptr<FakeConexion> conexion = std::make_shared<FakeConexion>();
};

const QString kInsertSql = QStringLiteral(
    "insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario, "
    "IdPais, USUARIO, FECHA, [observacion1], [observacion2], [observacion3] , idunidad, sufijos) values (");
const QString kInsertAccess = QStringLiteral(
    "insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario, "
    "IdPais, USUARIO, FECHA, idunidad, sufijos ) values (");

RegArticulo completo()
{
    RegArticulo a;
    a.idarticulo = QStringLiteral("A-1");
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

// Runs a statement on the catalog the way the sender does.
void ejecutar(const QString &sql)
{
    modGlobal::AccesoDatos->getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->setSql(sql);
    modGlobal::AccesoDatos->getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->ejecutar();
}

// The stored row of one article, field by field.
QVariantMap fila(const QString &idCatalogo, const QString &idArticulo)
{
    const QStringList campos{"descripcion", "descripcion_maria", "ncm", "ArtKgUnitario", "IdPais", "USUARIO",
                             "FECHA", "observacion1", "observacion2", "observacion3", "idunidad", "sufijos"};
    QString sql = QStringLiteral("select ") + campos.join(QStringLiteral(", "))
                  + QStringLiteral(" from catarticulos where idcatalogo = '%1' and idarticulo = '%2'")
                        .arg(QString(idCatalogo).replace(QLatin1Char('\''), QStringLiteral("''")),
                             QString(idArticulo).replace(QLatin1Char('\''), QStringLiteral("''")));
    auto conexion = modGlobal::AccesoDatos->getDataConnectionByEntity(QStringLiteral("CATALOGOS"));
    conexion->setSql(sql);
    std::shared_ptr<Recordset> rs;
    QVariantMap valores;
    if (!modGlobal::AccesoDatos->getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->crearRs(rs))
        return valores;
    for (const QString &c : campos)
        valores.insert(c, rs->fields(c));
    return valores;
}

} // namespace

class modEntidadCatalogoTest : public QObject {
    Q_OBJECT

    std::shared_ptr<FakeDatos> datos;
    std::unique_ptr<TestEnvironment> env;

    // The real component on a fresh embedded SQLite catalog, of the given kind.
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
        RegArticulo a;
        a.idarticulo = QStringLiteral("A-1");
        a.ncm = QStringLiteral("8471300000");
        a.descripcion = QStringLiteral("TECLADO");
        QCOMPARE(modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL")),
                 QStringLiteral("update catarticulos set  NCM = '8471300000'  ,  Descripcion = 'TECLADO'  ,  "
                                "USUARIO = 'U' ,  FECHA = GETDATE()  where idcatalogo = 'C1' and idarticulo = 'A-1'"));
    }

    void insertWritesEveryFieldForBothKinds()
    {
        modGlobal::UsuarioSesion = QStringLiteral("Sorvanta - ana\\PC1");
        const RegArticulo a = completo();
        const QString comunes = QStringLiteral("'C1','A-1','TECLADO USB','TECLADO PARA PC','8471.60.52',01.50,'156',"
                                               "'Sorvanta - ana\\PC1',");
        QCOMPARE(modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL")),
                 kInsertSql + comunes + QStringLiteral(" GETDATE() ,'O1','O2','O3','07','AA1')"));
        QCOMPARE(modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), a, QStringLiteral("ACCESS")),
                 kInsertAccess + comunes + QStringLiteral("#") + hoy(QStringLiteral("/"))
                     + QStringLiteral("#,'07','AA1')"));
    }

    void accessDateUsesTheOperatorsDateSeparator()
    {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        const QString update =
            modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), RegArticulo(), QStringLiteral("ACCESS"));
        QCOMPARE(update, QStringLiteral("update catarticulos set  USUARIO = 'U' ,  FECHA = #") + hoy(QStringLiteral("."))
                             + QStringLiteral("#  where idcatalogo = 'C1' and idarticulo = ''"));
    }

    void updateWritesEveryFieldForBothKinds()
    {
        const RegArticulo a = completo();
        const QString cabeza = QStringLiteral(
            "update catarticulos set  NCM = '8471.60.52'  ,  Descripcion = 'TECLADO USB'  ,  "
            "Descripcion_Maria = 'TECLADO PARA PC' ,  ArtKgUnitario = 1.5");
        const QString pie = QStringLiteral(" ,  idPais = '156' ,  USUARIO = 'U' ,  FECHA = ");
        const QString where = QStringLiteral(" where idcatalogo = 'C1' and idarticulo = 'A-1'");
        QCOMPARE(modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL")),
                 cabeza + QStringLiteral(" ,  [observacion1] = 'O1' ,  [observacion2] = 'O2' ,  [observacion3] = 'O3'")
                     + pie + QStringLiteral("GETDATE() ") + where);
        QCOMPARE(modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), a, QStringLiteral("ACCESS")),
                 cabeza + pie + QStringLiteral("#") + hoy(QStringLiteral("/")) + QStringLiteral("# ") + where);
    }

    void descriptionRules_data()
    {
        QTest::addColumn<QString>("catalogo");
        QTest::addColumn<QString>("descripcion");
        QTest::addColumn<QString>("anexo");
        QTest::addColumn<QString>("asignacion");
        QTest::newRow("PUR without addition") << "PUR" << "TECLADO" << "" << "";
        QTest::newRow("PUR with addition") << "PUR" << "TECLADO" << "USB"
                                           << " Descripcion = Descripcion + ' USB' , ";
        QTest::newRow("empty description, addition") << "C1" << "" << "USB"
                                                     << " Descripcion = Descripcion + ' USB' , ";
        QTest::newRow("empty description, nothing") << "C1" << "" << "" << "";
        QTest::newRow("pur in lower case is a catalog like any") << "pur" << "TECLADO" << ""
                                                                 << " Descripcion = 'TECLADO'  , ";
        QTest::newRow("no trailing blank without addition") << "C1" << "MOUSE" << ""
                                                            << " Descripcion = 'MOUSE'  , ";
    }

    void descriptionRules()
    {
        QFETCH(QString, catalogo);
        QFETCH(QString, descripcion);
        QFETCH(QString, anexo);
        QFETCH(QString, asignacion);
        RegArticulo a;
        a.idarticulo = QStringLiteral("X");
        a.descripcion = descripcion;
        a.anexo_descripcion = anexo;
        QCOMPARE(modEntidadCatalogo::getSQLUpdateArticulo(catalogo, a, QStringLiteral("SQL")),
                 QStringLiteral("update catarticulos set ") + asignacion
                     + QStringLiteral(" USUARIO = 'U' ,  FECHA = GETDATE()  where idcatalogo = '") + catalogo
                     + QStringLiteral("' and idarticulo = 'X'"));
    }

    void insertKeepsBlankBeforeEmptyAddition()
    {
        RegArticulo a;
        a.descripcion = QStringLiteral("MOUSE");
        const QString insert = modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL"));
        QVERIFY2(insert.contains(QStringLiteral("'C1','','MOUSE ','',")), qPrintable(insert));
    }

    void ncmLengthDecidesTheUpdate()
    {
        RegArticulo a;
        a.ncm = QStringLiteral("847130000");
        const QString nueve = modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL"));
        QVERIFY2(nueve.startsWith(QStringLiteral("update catarticulos set  USUARIO = 'U' ,")), qPrintable(nueve));
        QVERIFY(modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL"))
                    .contains(QStringLiteral(",'847130000',00.00,")));
        a.ncm = QStringLiteral("8471300000");
        QVERIFY(modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL"))
                    .startsWith(QStringLiteral("update catarticulos set  NCM = '8471300000'  ,  USUARIO = 'U' ,")));
    }

    void weights_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("kilos");
        QTest::addColumn<QString>("enInsert");
        QTest::addColumn<QString>("enUpdate");
        for (const char *nombre : {"es_AR", "en_US", "de_DE"}) {
            const QString l = QString::fromLatin1(nombre);
            QTest::addRow("%s zero", nombre) << l << 0.0 << "00.00" << "";
            QTest::addRow("%s negative", nombre) << l << -1.5 << "-01.50" << "";
            QTest::addRow("%s one and a half", nombre) << l << 1.5 << "01.50" << " ,  ArtKgUnitario = 1.5";
            QTest::addRow("%s rounded", nombre) << l << 123.456 << "123.46" << " ,  ArtKgUnitario = 123.456";
            QTest::addRow("%s no grouping", nombre) << l << 12345.5 << "12345.50" << " ,  ArtKgUnitario = 12345.5";
            QTest::addRow("%s small", nombre) << l << 0.004 << "00.00" << " ,  ArtKgUnitario = 0.004";
            QTest::addRow("%s whole", nombre) << l << 7.0 << "07.00" << " ,  ArtKgUnitario = 7";
        }
    }

    void weights()
    {
        QFETCH(QString, locale);
        QFETCH(double, kilos);
        QFETCH(QString, enInsert);
        QFETCH(QString, enUpdate);
        QLocale::setDefault(QLocale(locale));
        RegArticulo a;
        a.idarticulo = QStringLiteral("X");
        a.descripcion = QStringLiteral("D");
        a.kilos_unitario = kilos;
        const QString insert = modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL"));
        QVERIFY2(insert.contains(QStringLiteral("'',") + enInsert + QStringLiteral(",'','U', GETDATE() ,")),
                 qPrintable(insert));
        QCOMPARE(modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL")),
                 QStringLiteral("update catarticulos set  Descripcion = 'D' ") + enUpdate
                     + QStringLiteral(" ,  USUARIO = 'U' ,  FECHA = GETDATE()  where idcatalogo = 'C1' and idarticulo = 'X'"));
    }

    void remarkApostrophesBecomeBlankInInsertAndPointInUpdate()
    {
        RegArticulo a;
        a.idarticulo = QStringLiteral("X");
        a.observacion1 = QStringLiteral("it's");
        a.observacion3 = QStringLiteral("'a'");
        QVERIFY(modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL"))
                    .endsWith(QStringLiteral(" GETDATE() ,'it s','',' a ','','')")));
        QCOMPARE(modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL")),
                 QStringLiteral("update catarticulos set  [observacion1] = 'it.s' ,  [observacion3] = '.a.' ,  "
                                "USUARIO = 'U' ,  FECHA = GETDATE()  where idcatalogo = 'C1' and idarticulo = 'X'"));
        const QString access =
            modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), a, QStringLiteral("ACCESS"));
        QVERIFY2(!access.contains(QStringLiteral("observacion")), qPrintable(access));
    }

    void sheetApostrophesBecomeBlanksInInsert()
    {
        RegArticulo a = completo();
        a.idarticulo = QStringLiteral("A'1");
        a.descripcion = QStringLiteral("D'1");
        a.anexo_descripcion = QStringLiteral("X'");
        a.descripcion_maria = QStringLiteral("'M");
        a.idunidad = QStringLiteral("0'7");
        a.sufijos = QStringLiteral("S'");
        const QString insert = modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), a, QStringLiteral("SQL"));
        QVERIFY2(insert.contains(QStringLiteral("('C1','A 1','D 1 X ',' M',")), qPrintable(insert));
        QVERIFY2(insert.endsWith(QStringLiteral(",'0 7','S ')")), qPrintable(insert));
    }

    void apostrophesInUnreplacedValuesAreDoubled()
    {
        modGlobal::UsuarioSesion = QStringLiteral("Sorvanta - O'Neil\\PC");
        RegArticulo a;
        a.idarticulo = QStringLiteral("A'1");
        a.ncm = QStringLiteral("8471'300000");
        a.idpais = QStringLiteral("1'5");
        a.descripcion = QStringLiteral("D'1");
        a.anexo_descripcion = QStringLiteral("X'");
        a.descripcion_maria = QStringLiteral("M'");
        const QString cat = QStringLiteral("C'1");
        QCOMPARE(modEntidadCatalogo::AgregarArticulo(cat, a, QStringLiteral("SQL")),
                 kInsertSql
                     + QStringLiteral("'C''1','A 1','D 1 X ','M ','8471''300000',00.00,'1''5','Sorvanta - O''Neil\\PC',"
                                      " GETDATE() ,'','','','','')"));
        QCOMPARE(datos->conexion->consultas,
                 QStringList{QStringLiteral("select idarticulo from catarticulos where idcatalogo = 'C''1' and "
                                            "idarticulo = 'A''1'")});
        QCOMPARE(modEntidadCatalogo::getSQLUpdateArticulo(cat, a, QStringLiteral("SQL")),
                 QStringLiteral("update catarticulos set  NCM = '8471''300000'  ,  Descripcion = 'D''1 X'''  ,  "
                                "Descripcion_Maria = 'M''' ,  idPais = '1''5' ,  USUARIO = 'Sorvanta - O''Neil\\PC' ,"
                                "  FECHA = GETDATE()  where idcatalogo = 'C''1' and idarticulo = 'A 1'"));
        a.descripcion.clear();
        QVERIFY(modEntidadCatalogo::getSQLUpdateArticulo(cat, a, QStringLiteral("SQL"))
                    .contains(QStringLiteral(" Descripcion = Descripcion + ' X''' ,")));
        modEntidadCatalogo::getArticuloenCatalogo(cat, a);
        QCOMPARE(datos->conexion->consultas.last(),
                 QStringLiteral("select ncm from catarticulos where idcatalogo = 'C''1' and idarticulo = 'A''1'"));
    }

    void kindDifferingInCaseIsUnknown()
    {
        const RegArticulo a = completo();
        QCOMPARE(modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), a, QStringLiteral("sql")), QString());
        QCOMPARE(modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), a, QStringLiteral("Access")), QString());
        const QString update = modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), a, QStringLiteral("sql"));
        QVERIFY2(update.endsWith(QStringLiteral("USUARIO = 'U' ,  where idcatalogo = 'C1' and idarticulo = 'A-1'")),
                 qPrintable(update));
        QVERIFY(!update.contains(QStringLiteral("observacion")));
    }

    void existingArticleGetsTheUpdateWhateverTheKind()
    {
        datos->conexion->existe = true;
        const RegArticulo a = completo();
        for (const QString &tipo : {QStringLiteral("SQL"), QStringLiteral("ACCESS"), QStringLiteral("sql")})
            QCOMPARE(modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), a, tipo),
                     modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("C1"), a, tipo));
    }

    void queriesRunInTwoStepsOnTheCatalogEntity()
    {
        RegArticulo a;
        a.idarticulo = QStringLiteral("A-1");
        QVERIFY(!modEntidadCatalogo::ExisteArticulo(QStringLiteral("C1"), a));
        QCOMPARE(datos->conexion->pasos, (QStringList{"get", "setSql", "get", "crearRs"}));
        QCOMPARE(datos->entidades, (QStringList{"CATALOGOS", "CATALOGOS"}));
        QCOMPARE(datos->conexion->consultas.last(),
                 QStringLiteral("select idarticulo from catarticulos where idcatalogo = 'C1' and idarticulo = 'A-1'"));
    }

    void lookupFillsStateAndCatalogNcm_data()
    {
        QTest::addColumn<bool>("existe");
        QTest::addColumn<QVariant>("ncm");
        QTest::addColumn<QString>("estado");
        QTest::addColumn<QString>("ncmCatalogo");
        QTest::newRow("found") << true << QVariant(QStringLiteral("8471300000")) << "Existe" << "8471300000";
        QTest::newRow("found, null ncm") << true << QVariant() << "Existe" << "";
        QTest::newRow("not found") << false << QVariant() << "Nuevo" << "";
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
        QCOMPARE(devuelto.estado, estado);
        QCOMPARE(devuelto.ncm_catalogo, ncmCatalogo);
        QCOMPARE(devuelto.descripcion, QStringLiteral("TECLADO"));
        QCOMPARE(datos->conexion->consultas.last(),
                 QStringLiteral("select ncm from catarticulos where idcatalogo = 'C1' and idarticulo = 'A-1'"));
    }

    void errorsAreWrappedOnceByEachOperation()
    {
        datos->conexion->falla = AppError(-2147217865, QStringLiteral("Microsoft OLE DB"), QStringLiteral("tabla?"));
        RegArticulo a;
        try {
            modEntidadCatalogo::getArticuloenCatalogo(QStringLiteral("C1"), a);
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
            QCOMPARE(e.source(), QStringLiteral("[ getArticuloenCatalogo.modEntidadCatalogo.Sorvanta Linea 0 ]"
                                                "Microsoft OLE DB"));
            QCOMPARE(e.description(), QStringLiteral("tabla?"));
        }
        try {
            modEntidadCatalogo::ExisteArticulo(QStringLiteral("C1"), a);
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
            QCOMPARE(e.source(), QStringLiteral("[ Sorvanta.modEntidadCatalogo.ExisteArticulo Linea 20 ]"
                                                "Microsoft OLE DB"));
        }
    }

    void existenceErrorReachesInsertCallerWrappedTwice()
    {
        datos->conexion->falla = AppError(-2147467259, QStringLiteral("Fuente"), QStringLiteral("Sin conexión"));
        try {
            modEntidadCatalogo::AgregarArticulo(QStringLiteral("C1"), completo(), QStringLiteral("SQL"));
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), ErrorNumbers::kInnerOperation);
            QCOMPARE(e.source(), QStringLiteral("[ AgregarArticulo.modEntidadCatalogo.Sorvanta Linea 0 ]"
                                                "[ Sorvanta.modEntidadCatalogo.ExisteArticulo Linea 20 ]Fuente"));
            QCOMPARE(e.description(), QStringLiteral("Sin conexión"));
        }
    }

    void missingComponentIsAnErrorNotACrash()
    {
        modGlobal::AccesoDatos.reset();
        RegArticulo a;
        try {
            modEntidadCatalogo::getArticuloenCatalogo(QStringLiteral("C1"), a);
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.source(), QStringLiteral("[ getArticuloenCatalogo.modEntidadCatalogo.Sorvanta Linea 0 ]"
                                                "Sorvanta"));
        }
    }
    void apostrophesAreStoredExactlyInARealCatalog()
    {
        usarBaseReal();
        modGlobal::UsuarioSesion = QStringLiteral("Sorvanta - O'Neil\\PC");
        RegArticulo a;
        a.idarticulo = QStringLiteral("A-1");
        a.descripcion = QStringLiteral("D'1");
        a.ncm = QStringLiteral("8471'30");
        a.idpais = QStringLiteral("1'5");
        a.kilos_unitario = 1.5;
        a.observacion1 = QStringLiteral("it's");
        const QString cat = QStringLiteral("C'1");
        const QString insert = modEntidadCatalogo::AgregarArticulo(cat, a, QStringLiteral("SQL"));
        QVERIFY(insert.startsWith(QStringLiteral("insert ")));
        ejecutar(insert);

        QVariantMap guardado = fila(cat, QStringLiteral("A-1"));
        QCOMPARE(guardado.value("descripcion").toString(), QStringLiteral("D 1 "));
        QCOMPARE(guardado.value("ncm").toString(), QStringLiteral("8471'30"));
        QCOMPARE(guardado.value("IdPais").toString(), QStringLiteral("1'5"));
        QCOMPARE(guardado.value("USUARIO").toString(), QStringLiteral("Sorvanta - O'Neil\\PC"));
        QCOMPARE(guardado.value("ArtKgUnitario").toDouble(), 1.5);
        QCOMPARE(guardado.value("observacion1").toString(), QStringLiteral("it s"));
        QVERIFY(!guardado.value("FECHA").toString().isEmpty());

        RegArticulo leido = a;
        modEntidadCatalogo::getArticuloenCatalogo(cat, leido);
        QCOMPARE(leido.estado, QStringLiteral("Existe"));
        QCOMPARE(leido.ncm_catalogo, QStringLiteral("8471'30"));
        // The other catalog does not hold it, and a quote cannot widen the search.
        QCOMPARE(modEntidadCatalogo::ExisteArticulo(QStringLiteral("C1"), a), false);
        QCOMPARE(modEntidadCatalogo::ExisteArticulo(QStringLiteral("x' or '1'='1"), a), false);
    }

    void existingArticleIsUpdatedInARealCatalog()
    {
        usarBaseReal();
        modGlobal::UsuarioSesion = QStringLiteral("U1");
        RegArticulo a;
        a.idarticulo = QStringLiteral("B7");
        a.descripcion = QStringLiteral("MOUSE");
        a.ncm = QStringLiteral("8471300000");
        a.idunidad = QStringLiteral("07");
        ejecutar(modEntidadCatalogo::AgregarArticulo(QStringLiteral("GEN"), a, QStringLiteral("SQL")));

        modGlobal::UsuarioSesion = QStringLiteral("U2");
        a.descripcion = QStringLiteral("MOUSE 'PRO'");
        a.anexo_descripcion = QStringLiteral("USB");
        a.ncm = QStringLiteral("847130");
        a.kilos_unitario = 2.25;
        a.observacion2 = QStringLiteral("o'k");
        a.idunidad = QStringLiteral("99");
        const QString segundo = modEntidadCatalogo::AgregarArticulo(QStringLiteral("GEN"), a, QStringLiteral("SQL"));
        QCOMPARE(segundo, modEntidadCatalogo::getSQLUpdateArticulo(QStringLiteral("GEN"), a, QStringLiteral("SQL")));
        ejecutar(segundo);

        const QVariantMap guardado = fila(QStringLiteral("GEN"), QStringLiteral("B7"));
        QCOMPARE(guardado.value("descripcion").toString(), QStringLiteral("MOUSE 'PRO' USB"));
        QCOMPARE(guardado.value("ncm").toString(), QStringLiteral("8471300000"));
        QCOMPARE(guardado.value("ArtKgUnitario").toDouble(), 2.25);
        QCOMPARE(guardado.value("observacion2").toString(), QStringLiteral("o.k"));
        QCOMPARE(guardado.value("USUARIO").toString(), QStringLiteral("U2"));
        QCOMPARE(guardado.value("idunidad").toString(), QStringLiteral("07"));
    }

    void additionIsAppendedToThePurchaseCatalogsDescription()
    {
        usarBaseReal();
        RegArticulo a;
        a.idarticulo = QStringLiteral("P1");
        a.descripcion = QStringLiteral("TORNILLO");
        ejecutar(modEntidadCatalogo::AgregarArticulo(QStringLiteral("PUR"), a, QStringLiteral("SQL")));
        a.descripcion = QStringLiteral("OTRA");
        a.anexo_descripcion = QStringLiteral("M'6");
        ejecutar(modEntidadCatalogo::AgregarArticulo(QStringLiteral("PUR"), a, QStringLiteral("SQL")));
        QCOMPARE(fila(QStringLiteral("PUR"), QStringLiteral("P1")).value("descripcion").toString(),
                 QStringLiteral("TORNILLO  M'6"));
    }
    void accessFormsRunInARealCatalog()
    {
        usarBaseReal(QStringLiteral("ACCESS"));
        const QString tipo = modGlobal::AccesoDatos->getDataConnectionTAG(QStringLiteral("CATALOGOS"));
        QCOMPARE(tipo, QStringLiteral("ACCESS"));
        RegArticulo a;
        a.idarticulo = QStringLiteral("X1");
        a.descripcion = QStringLiteral("CABLE");
        a.observacion1 = QStringLiteral("no va");
        a.sufijos = QStringLiteral("S1");
        ejecutar(modEntidadCatalogo::AgregarArticulo(QStringLiteral("GEN"), a, tipo));
        QVariantMap guardado = fila(QStringLiteral("GEN"), QStringLiteral("X1"));
        QCOMPARE(guardado.value("descripcion").toString(), QStringLiteral("CABLE "));
        QCOMPARE(guardado.value("sufijos").toString(), QStringLiteral("S1"));
        QCOMPARE(guardado.value("observacion1").toString(), QString());
        QVERIFY2(guardado.value("FECHA").toString().startsWith(QDate::currentDate().toString(Qt::ISODate)),
                 qPrintable(guardado.value("FECHA").toString()));

        a.kilos_unitario = 0.5;
        ejecutar(modEntidadCatalogo::AgregarArticulo(QStringLiteral("GEN"), a, tipo));
        guardado = fila(QStringLiteral("GEN"), QStringLiteral("X1"));
        QCOMPARE(guardado.value("descripcion").toString(), QStringLiteral("CABLE"));
        QCOMPARE(guardado.value("ArtKgUnitario").toDouble(), 0.5);
        QCOMPARE(guardado.value("observacion1").toString(), QString());
    }
};

QTEST_GUILESS_MAIN(modEntidadCatalogoTest)
#include "modEntidadCatalogo_test.moc"
