#include "catalog/EnvioArticulos.h"
#include "catalog/VistaPrevia.h"
#include "modelos/GridModel.h"
#include "modelos/ReviewListModel.h"
#include "review/ProcesoArticulos.h"

#include "support/DataAccessTestConfig.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// Sheet columns: A ARTICULO, B DESCRIPCION, C ANEXAR DESCRIPCION, D DESCRIPC_MARIA, E NCM,
// F KILOS_UNITARIO, G OBSERVACION1.
struct Caso {
    QStringList hoja;
    // The catalog row before F11 (column = value, unquoted values as SQL), "" for none.
    QString fila;
    Prevision tipo;
    // "column|before|after", before "null" for a null value.
    QStringList cambios;
};

const QString kColumnas =
    u"idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario, IdPais, USUARIO, observacion1"_s;

// Each case is one rule of the update; the weights are written as es_AR writes them.
const QList<Caso> kGeneral = {
    {{u"NCM-10"_s, {}, {}, {}, u"8471.30.001"_s, u"0"_s},
     u"'NCM-10', 'Tuerca', null, '8471.30.00', null"_s,
     Prevision::Cambia,
     {u"NCM|8471.30.00|8471.30.001"_s}},
    {{u"NCM-9"_s, {}, {}, {}, u"9999.99.9"_s, u"2,5"_s},
     u"'NCM-9', 'Tuerca', null, '1234.56.7', 2.5"_s,
     Prevision::SoloSello,
     {}},
    {{u"ANEXO"_s, {}, u"M8"_s, {}, {}, u"0"_s},
     u"'ANEXO', 'Perno', null, null, null"_s,
     Prevision::Cambia,
     {u"Descripcion|Perno|Perno M8"_s}},
    {{u"ANEXO-NULO"_s, {}, u"M8"_s, {}, {}, u"0"_s},
     u"'ANEXO-NULO', null, null, null, null"_s,
     Prevision::SoloSello,
     {}},
    {{u"APOSTROFE"_s, u"D'Arc"_s, u"X"_s, {}, {}, u"0"_s},
     u"'APOSTROFE', 'vieja', null, null, null"_s,
     Prevision::Cambia,
     {u"Descripcion|vieja|D Arc X"_s}},
    {{u"BLANCOS"_s, u"  Clavo  "_s, {}, {}, {}, u"0"_s},
     u"'BLANCOS', 'Clavo', null, null, null"_s,
     Prevision::SoloSello,
     {}},
    {{u"PESO"_s, {}, {}, {}, {}, u"1,25"_s},
     u"'PESO', null, null, null, 1.5"_s,
     Prevision::Cambia,
     {u"ArtKgUnitario|1.5|1.25"_s}},
    {{u"PESO-15"_s, {}, {}, {}, {}, u"2,123456789012345678"_s},
     u"'PESO-15', null, null, null, 2.12345678901235"_s,
     Prevision::SoloSello,
     {}},
    {{u"PESO-NEG"_s, u"Tornillo"_s, {}, {}, {}, u"-1"_s},
     u"'PESO-NEG', 'Tornillo', null, null, 3"_s,
     Prevision::SoloSello,
     {}},
    {{u"MARIA"_s, {}, {}, u"Y"_s, {}, u"0"_s},
     u"'MARIA', null, 'x', null, null"_s,
     Prevision::Cambia,
     {u"Descripcion_Maria|x|Y"_s}},
    {{u"OBS"_s, u"Arandela"_s, {}, {}, {}, u"0"_s, u"nota"_s},
     u"'OBS', 'Arandela', null, null, null"_s,
     Prevision::Cambia,
     {u"observacion1|null|nota"_s}},
    {{u"NADA"_s, {}, {}, {}, u"1234"_s, u"0"_s, u"nota"_s},
     u"'NADA', 'Tuerca', null, null, null"_s,
     Prevision::NoSeEnvia,
     {}},
    {{u"NUEVO"_s, u"Nueva"_s, {}, {}, {}, u"0"_s}, {}, Prevision::Nuevo, {}},
};

// PUR keeps its descriptions: only an addition reaches them.
const QList<Caso> kCompras = {
    {{u"P-1"_s, u"Otra"_s, u"EXTRA"_s, {}, {}, u"0"_s},
     u"'P-1', 'Compra', null, null, null"_s,
     Prevision::Cambia,
     {u"Descripcion|Compra|Compra EXTRA"_s}},
    {{u"P-2"_s, u"Otra"_s, {}, {}, {}, u"0"_s}, u"'P-2', 'Compra', null, null, null"_s, Prevision::SoloSello, {}},
};

const char *const kCampos[] = {"idarticulo",    "descripcion", "descripcion_maria", "ncm",
                               "ArtKgUnitario", "IdPais",      "USUARIO",           "observacion1"};

QString columnaDe(const QString &campo)
{
    for (const char *c : kCampos)
        if (campo.compare(QLatin1String(c), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(c);
    return QString();
}

// The columns of each article of the catalog, read apart from the program's own reader.
QHash<QString, QVariantMap> catalogo(const QString &idCatalogo)
{
    auto &datos = *modGlobal::AccesoDatos;
    datos.getDataConnectionByEntity(u"CATALOGOS"_s)
        ->setSql(u"select %1 from catarticulos where idcatalogo = '%2'"_s.arg(kColumnas, idCatalogo));
    std::shared_ptr<Recordset> rs;
    QHash<QString, QVariantMap> filas;
    if (datos.getDataConnectionByEntity(u"CATALOGOS"_s)->crearRs(rs))
        for (; !rs->eof(); rs->moveNext()) {
            QVariantMap fila;
            for (const char *c : kCampos)
                fila.insert(QString::fromLatin1(c), rs->fields(QString::fromLatin1(c)));
            filas.insert(fila[u"idarticulo"_s].toString().toUpper(), fila);
        }
    return filas;
}

bool mismoValor(const QString &columna, const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    if (columna == u"ArtKgUnitario"_s)
        return a.toDouble() == b.toDouble();
    return a.toString() == b.toString();
}

struct Corrida {
    GridModel grilla;
    RegMapaCampos mapa;
    ReviewListModel lista;
    VistaPrevia vista;

    explicit Corrida(const QList<Caso> &casos)
    {
        grilla.resize(static_cast<int>(casos.size()) + 1, 7);
        const QStringList encabezados{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s, u"G"_s};
        for (int c = 0; c < 7; ++c)
            grilla.setText(0, c, encabezados[c]);
        for (int r = 0; r < casos.size(); ++r)
            for (int c = 0; c < casos[r].hoja.size(); ++c)
                grilla.setText(r + 1, c, casos[r].hoja[c]);
        CampoAsignado *campos[] = {&mapa.ARTICULO, &mapa.DESCRIPCION,    &mapa.ANEXAR_DESCRIPCION, &mapa.DESCRIPC_MARIA,
                                   &mapa.NCM,      &mapa.KILOS_UNITARIO, &mapa.OBSERVACION1};
        for (int c = 0; c < 7; ++c)
            *campos[c] = {static_cast<qint16>(c), true};
        PrepararColumnasRevision(lista);
    }

    void procesar(const QString &idCatalogo, VistaPrevia *destino)
    {
        PasosProceso pasos;
        pasos.avance = [](int, bool) {};
        ProcesarFilas(grilla, mapa, {idCatalogo, false}, lista, pasos, destino);
    }
};
} // namespace

class VistaPreviaTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;

    // F11 foresees each case as stated, lists the same items as without the foresight, and
    // F12 then leaves in the catalog exactly what was foreseen.
    void foreseenIsWritten(const QString &idCatalogo, const QList<Caso> &casos)
    {
        for (const Caso &caso : casos)
            if (!caso.fila.isEmpty())
                runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, "
                       "ArtKgUnitario, USUARIO) values ('%1', %2, 'antes')"_s.arg(idCatalogo, caso.fila));
        Corrida corrida(casos);
        corrida.procesar(idCatalogo, &corrida.vista);
        QCOMPARE(corrida.vista.cantidad(), int(casos.size()));

        // The list (so the report) is the one a run without the foresight makes.
        Corrida sola(casos);
        sola.procesar(idCatalogo, nullptr);
        for (int i = 0; i < casos.size(); ++i)
            for (int k = 0; k < 14; ++k)
                QCOMPARE(corrida.lista.subItem(i, k), sola.lista.subItem(i, k));

        const QHash<QString, QVariantMap> antes = catalogo(idCatalogo);
        for (int i = 0; i < casos.size(); ++i) {
            const PrevisionArticulo *p = corrida.vista.de(i);
            QVERIFY(p);
            QStringList cambios;
            for (const CambioPrevisto &c : p->cambios)
                cambios << c.campo + u'|' + (c.antes.isNull() ? u"null"_s : c.antes) + u'|' + c.despues;
            QVERIFY2(p->tipo == casos[i].tipo, qPrintable(casos[i].hoja[0]));
            QCOMPARE(cambios, casos[i].cambios);
        }

        ResumenEnvio resumen;
        EnviarArticulos(
            corrida.lista, idCatalogo, [](int, bool) {}, resumen);
        const QHash<QString, QVariantMap> despues = catalogo(idCatalogo);
        for (int i = 0; i < casos.size(); ++i) {
            const PrevisionArticulo *p = corrida.vista.de(i);
            const QString codigo = casos[i].hoja[0];
            if (p->tipo == Prevision::Nuevo)
                continue;
            QVariantMap esperada = antes.value(codigo);
            for (const CambioPrevisto &c : p->cambios)
                esperada[columnaDe(c.campo)] = c.despues;
            if (p->tipo != Prevision::NoSeEnvia)
                esperada[u"USUARIO"_s] = modGlobal::UsuarioSesion;
            const QVariantMap tiene = despues.value(codigo);
            for (const char *c : kCampos) {
                const QString columna = QString::fromLatin1(c);
                QVERIFY2(mismoValor(columna, tiene.value(columna), esperada.value(columna)),
                         qPrintable(codigo + u' ' + columna + u": "_s + tiene.value(columna).toString() + u" / "_s
                                    + esperada.value(columna).toString()));
            }
        }
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        modGlobal::reset();
        modGlobal::UsuarioSesion = u"Sorvanta - op\\PC"_s;
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    }

    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
        modGlobal::reset();
        m_env.reset();
    }

    void whatIsForeseenIsWhatF12Writes_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::newRow("sqlite") << u"sqlite"_s;
        QTest::newRow("postgres") << u"postgres"_s;
    }
    void whatIsForeseenIsWhatF12Writes()
    {
        QFETCH(QString, backend);
        const QString problema = DataAccessTestConfig(*m_env).backend(backend, m_env->path(u"bases"_s),
                                                                      u"vista_previa"_s);
        QVERIFY2(problema.isEmpty(), qPrintable(problema));
        useRealData();
        foreseenIsWritten(u"GEN"_s, kGeneral);
        foreseenIsWritten(u"PUR"_s, kCompras);
    }

    // The totals line counts what the operator sees; the changes file has one row a change.
    void totalsAndChangesFile()
    {
        useRealData();
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion, ncm) values "
               "('GEN', 'A\tB', 'vieja', null)"_s);
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion) values ('GEN', 'IGUAL', 'igual')"_s);
        Corrida corrida({{{u"A\tB"_s, u"nueva"_s, {}, {}, u"1234567890"_s, u"0"_s}, {}, {}, {}},
                         {{u"IGUAL"_s, u"igual"_s, {}, {}, {}, u"0"_s}, {}, {}, {}},
                         {{u"NADA"_s, {}, {}, {}, {}, u"0"_s}, {}, {}, {}}});
        corrida.procesar(u"GEN"_s, &corrida.vista);
        QCOMPARE(corrida.vista.textoTotales(), u"Nuevos: 1 · Existentes: 2 (1 cambian, 1 sin cambios)"_s);
        QCOMPARE(corrida.vista.textoCambios(corrida.lista),
                 u"A B\tNCM\t\t1234567890\r\nA B\tDescripcion\tvieja\tnueva\r\n"_s);
        QVERIFY(corrida.vista.explicacion(1).contains(u"solo renovará USUARIO y FECHA"_s));
    }
};

QTEST_GUILESS_MAIN(VistaPreviaTest)
#include "VistaPrevia_test.moc"
