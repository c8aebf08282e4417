#include "catalog/modEntidadCatalogo.h"

#include "platform/ErrorNumbers.h"
#include "support/DataAccessTestConfig.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"

#include <QDate>

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

RegArticulo full()
{
    RegArticulo a = reg(u"A-1"_s);
    a.descripcion = u"TECLADO"_s;
    a.anexo_descripcion = u"USB"_s;
    a.descripcion_maria = u"TECLADO PARA PC"_s;
    a.ncm = u"8471.60.52"_s;
    a.kilos_unitario = 1.5;
    a.idpais = u"156"_s;
    a.observacion1 = u"O1"_s;
    a.observacion2 = u"O2"_s;
    a.observacion3 = u"O3"_s;
    a.idunidad = u"07"_s;
    a.sufijos = u"AA1"_s;
    return a;
}

QString today(const QString &sep)
{
    return QDate::currentDate().toString(u"yyyy'%1'MM'%1'dd"_s.arg(sep));
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

    // One exact statement of each kind; the Access date takes the operator's date separator.
    void statementsOfEachKind()
    {
        modGlobal::UsuarioSesion = u"Sorvanta - ana\\PC1"_s;
        RegArticulo a = full();
        const QString values = u"'C1','A-1','TECLADO USB','TECLADO PARA PC','8471.60.52',01.50,'156',"
                               "'Sorvanta - ana\\PC1',"_s;
        QCOMPARE(insert(a), u"insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, "
                            "ncm, ArtKgUnitario, IdPais, USUARIO, FECHA, [observacion1], [observacion2], "
                            "[observacion3] , idunidad, sufijos) values ("_s
                                + values + u" GETDATE() ,'O1','O2','O3','07','AA1')"_s);
        QCOMPARE(insert(a, u"ACCESS"_s), u"insert into catarticulos (idcatalogo, idarticulo, descripcion, "
                                         "descripcion_maria, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA, idunidad, "
                                         "sufijos ) values ("_s
                                             + values + "#" + today(u"/"_s) + u"#,'07','AA1')"_s);
        const QString head = u"update catarticulos set  NCM = '8471.60.52'  ,  Descripcion = 'TECLADO USB'  ,  "
                             "Descripcion_Maria = 'TECLADO PARA PC' ,  ArtKgUnitario = 1.5"_s;
        const QString tail = u" ,  idPais = '156' ,  USUARIO = 'Sorvanta - ana\\PC1' ,  FECHA = "_s;
        const QString where = u" where idcatalogo = 'C1' and idarticulo = 'A-1'"_s;
        QCOMPARE(update(a), head + " ,  [observacion1] = 'O1' ,  [observacion2] = 'O2' ,  [observacion3] = 'O3'"
                                + tail + "GETDATE() " + where);
        for (const auto &[locale, sep] : {std::pair{"de_DE", "."}, std::pair{"ar_EG", "/"}}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
            QCOMPARE(update(a, u"ACCESS"_s), head + tail + "#" + today(QString::fromLatin1(sep)) + "# " + where);
        }
        getArticuloenCatalogo(u"C1"_s, a);
        QCOMPARE(datos->connection->queries.last(),
                 u"select ncm from catarticulos where idcatalogo = 'C1' and idarticulo = 'A-1'"_s);
    }

    void updateAssignments_data()
    {
        QTest::addColumn<QString>("catalogo");
        QTest::addColumn<QString>("descripcion");
        QTest::addColumn<QString>("anexo");
        QTest::addColumn<QString>("ncm");
        QTest::addColumn<QString>("set");
        const QString append = u" Descripcion = Descripcion + ' USB' , "_s;
        QTest::newRow("PUR keeps its description") << "PUR" << "TECLADO" << "" << "" << "";
        QTest::newRow("PUR appends the addition") << "PUR" << "TECLADO" << "USB" << "" << append;
        QTest::newRow("only an addition appends") << "C1" << "" << "USB" << "" << append;
        QTest::newRow("pur in lower case is another catalog")
            << "pur" << "TECLADO" << "" << "" << " Descripcion = 'TECLADO'  , ";
        QTest::newRow("NCM of nine is not updated") << "C1" << "" << "" << "847130000" << "";
        QTest::newRow("NCM of ten is") << "C1" << "" << "" << "8471300000" << " NCM = '8471300000'  , ";
    }

    void updateAssignments()
    {
        QFETCH(QString, catalogo);
        RegArticulo a = reg();
        QFETCH(QString, set);
        QFETCH(QString, descripcion);
        QFETCH(QString, anexo);
        QFETCH(QString, ncm);
        a.descripcion = descripcion;
        a.anexo_descripcion = anexo;
        a.ncm = ncm;
        QCOMPARE(update(a, u"SQL"_s, catalogo),
                 "update catarticulos set " + set + QString(kEnd).replace("'C1'", "'" + catalogo + "'"));
        if (!ncm.isEmpty()) // inserted whatever its length
            QVERIFY(insert(a).contains(",'" + ncm + "',00.00,"));
    }

    void weights_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("kilos");
        QTest::addColumn<QString>("inInsert");
        QTest::addColumn<QString>("inUpdate");
        // Arabic and Swedish write their own digits, decimal mark or minus sign.
        for (const char *name : {"es_AR", "en_US", "de_DE", "ar_EG", "sv_SE"}) {
            const QString l = QString::fromLatin1(name);
            QTest::addRow("%s zero", name) << l << 0.0 << "00.00" << "";
            QTest::addRow("%s negative", name) << l << -1.5 << "-01.50" << "";
            QTest::addRow("%s rounded", name) << l << 123.456 << "123.46" << "123.456";
            QTest::addRow("%s no grouping", name) << l << 12345.5 << "12345.50" << "12345.5";
            QTest::addRow("%s whole", name) << l << 7.0 << "07.00" << "7";
        }
    }

    void weights()
    {
        QFETCH(QString, locale);
        QFETCH(double, kilos);
        QFETCH(QString, inInsert);
        QFETCH(QString, inUpdate);
        QLocale::setDefault(QLocale(locale));
        RegArticulo a = reg();
        a.kilos_unitario = kilos;
        QVERIFY2(insert(a).contains(",''," + inInsert + ",'','U', GETDATE() ,"), qPrintable(insert(a)));
        QCOMPARE(update(a), "update catarticulos set " + (inUpdate.isEmpty() ? QString() : " ArtKgUnitario = " + inUpdate + " , ") + kEnd);
    }

    // Remarks lose apostrophes (blank in the insert, point in the update); other values double them.
    void apostrophes()
    {
        modGlobal::UsuarioSesion = u"O'Neil"_s;
        RegArticulo a = reg(u"A'1"_s);
        a.observacion1 = u"it's"_s;
        a.observacion3 = u"'a'"_s;
        QVERIFY(insert(a).endsWith(u" GETDATE() ,'it s','',' a ','','')"_s));
        QVERIFY(update(a).contains(u" [observacion1] = 'it.s' ,  [observacion3] = '.a.' , "_s));
        QVERIFY(!update(a, u"ACCESS"_s).contains(u"observacion"_s));
        a = reg(u"A'1"_s);
        a.ncm = u"8471'300000"_s;
        a.idpais = u"1'5"_s;
        a.descripcion = u"D'1"_s;
        a.anexo_descripcion = u"X'"_s;
        a.descripcion_maria = u"M'"_s;
        a.sufijos = u"S'"_s;
        const QString cat = u"C'1"_s;
        QVERIFY(insert(a, u"SQL"_s, cat).endsWith(
            u"values ('C''1','A 1','D 1 X ','M ','8471''300000',00.00,'1''5','O''Neil', GETDATE() ,'','','','','S ')"_s));
        QCOMPARE(datos->connection->queries.last(),
                 u"select idarticulo from catarticulos where idcatalogo = 'C''1' and idarticulo = 'A''1'"_s);
        QCOMPARE(update(a, u"SQL"_s, cat),
                 u"update catarticulos set  NCM = '8471''300000'  ,  Descripcion = 'D''1 X'''  ,  "
                 "Descripcion_Maria = 'M''' ,  idPais = '1''5' ,  USUARIO = 'O''Neil' ,"
                 "  FECHA = GETDATE()  where idcatalogo = 'C''1' and idarticulo = 'A 1'"_s);
        a.descripcion.clear();
        QVERIFY(update(a, u"SQL"_s, cat).contains(u" Descripcion = Descripcion + ' X''' ,"_s));
    }

    void kindDifferingInCaseIsUnknown()
    {
        const RegArticulo a = full();
        QCOMPARE(insert(a, u"sql"_s), QString());
        QCOMPARE(insert(a, u"Access"_s), QString());
        QVERIFY(update(a, u"sql"_s).endsWith(u"USUARIO = 'U' ,  where idcatalogo = 'C1' and idarticulo = 'A-1'"_s));
        // An article already in the catalog gets the update whatever the kind.
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
