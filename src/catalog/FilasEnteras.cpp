#include "catalog/FilasEnteras.h"

#include "catalog/modEntidadCatalogo.h"
#include "database/FilaCodificada.h"

#include <QLocale>
#include <cmath>

namespace FilasEnteras {
namespace {
const char *const kColumnas[] = {
    "idcatalogo", "idarticulo", "descripcion", "descripcion_maria", "ncm",          "ArtKgUnitario", "IdPais",
    "USUARIO",    "FECHA",      "idunidad",    "sufijos",           "observacion1", "observacion2",  "observacion3"};
constexpr int kSinObservaciones = 11;
constexpr int kClave = 2;
// Codes a question: a server's round trip is worth many of them.
constexpr qsizetype kCodigosPorConsulta = 256;

int cantidad(const QString &tipoBase)
{
    return tipoBase == QLatin1String("ACCESS") ? kSinObservaciones : int(std::size(kColumnas));
}

QString seleccion(int columnas)
{
    QString select = QStringLiteral("select ");
    for (int i = 0; i < columnas; ++i) {
        if (i > 0)
            select += QStringLiteral(", ");
        // Read as text, a date keeps every digit the database holds, and compares again as it.
        select += qstrcmp(kColumnas[i], "FECHA") == 0 ? QStringLiteral("cast(FECHA as varchar(40)) as FECHA")
                                                      : QString::fromLatin1(kColumnas[i]);
    }
    return select + QStringLiteral(" from catarticulos");
}

using FilaCodificada::Valor;

// A number goes into the statement as the shortest text that reads back as it.
void poner(Sentencia &sql, const Valor &valor)
{
    switch (valor.tipo) {
    case Valor::Entero:
        sql.numero(QString::number(valor.entero));
        return;
    case Valor::Real:
        if (std::isfinite(valor.real))
            sql.numero(QString::number(valor.real, 'g', QLocale::FloatingPointShortest));
        else
            sql.texto(QVariant(valor.real).toString());
        return;
    default:
        sql.texto(QString::fromUtf8(valor.bytes));
        return;
    }
}

// Each column's piece of SQL before its value, written once: statements are built by the
// ten thousand.
struct Piezas {
    QByteArray igual[std::size(kColumnas)];
    QByteArray nulo[std::size(kColumnas)];
    QByteArray poner[std::size(kColumnas)];
    Piezas()
    {
        for (std::size_t i = 0; i < std::size(kColumnas); ++i) {
            const QByteArray antes = QByteArray(i == 0 ? " where " : " and ") + kColumnas[i];
            igual[i] = antes + " = ";
            nulo[i] = antes + " is null";
            poner[i] = QByteArray(i == std::size_t(kClave) ? "" : ", ") + kColumnas[i] + " = ";
        }
    }
};

const Piezas &piezas()
{
    static const Piezas hechas;
    return hechas;
}

QLatin1String latin1(const QByteArray &pieza)
{
    return QLatin1String(pieza.constData(), pieza.size());
}

// " where" and every column of the row, equal to its value.
void dondeIgual(Sentencia &sql, const std::vector<Valor> &fila)
{
    const Piezas &p = piezas();
    for (std::size_t i = 0; i < fila.size() && i < std::size(kColumnas); ++i) {
        if (fila[i].tipo == Valor::Nulo) {
            sql << latin1(p.nulo[i]);
            continue;
        }
        sql << latin1(p.igual[i]);
        poner(sql, fila[i]);
    }
}

std::vector<Valor> valoresDe(QByteArrayView fila)
{
    std::vector<Valor> valores;
    valores.reserve(std::size(kColumnas));
    FilaCodificada::valores(fila, valores);
    return valores;
}
} // namespace

QStringList columnas(const QString &tipoBase)
{
    QStringList nombres;
    for (int i = 0; i < cantidad(tipoBase); ++i)
        nombres << QString::fromLatin1(kColumnas[i]);
    return nombres;
}

std::vector<QByteArray> leerFilas(const QString &idCatalogo, const QStringList &codigos, const QString &tipoBase)
{
    static const QString todas = seleccion(int(std::size(kColumnas)));
    static const QString sinObservaciones = seleccion(kSinObservaciones);
    const QString &select = cantidad(tipoBase) == kSinObservaciones ? sinObservaciones : todas;
    std::vector<QByteArray> filas;
    filas.reserve(std::size_t(codigos.size()));
    const bool unaPasada = modEntidadCatalogo::conexion()->leerEnUnaPasada(QStringLiteral("catarticulos"),
                                                                           codigos.size());
    const qsizetype porConsulta = unaPasada ? codigos.size() : kCodigosPorConsulta;
    for (qsizetype desde = 0; desde < codigos.size(); desde += porConsulta) {
        modEntidadCatalogo::conexion()->setSql(
            unaPasada ? modEntidadCatalogo::PreguntaEnUnaLista(select, idCatalogo, codigos)
                      : modEntidadCatalogo::PreguntaDeAlgunos(select, idCatalogo, codigos.mid(desde, porConsulta)));
        modEntidadCatalogo::conexion()->leerCodificadas(filas);
    }
    return filas;
}

QHash<QString, QByteArray> leer(const QString &idCatalogo, const QStringList &codigos, const QString &tipoBase)
{
    std::vector<QByteArray> leidas = leerFilas(idCatalogo, codigos, tipoBase);
    QHash<QString, QByteArray> filas;
    filas.reserve(qsizetype(leidas.size()));
    for (QByteArray &fila : leidas)
        filas.insert(FilaCodificada::textoEn(fila, 1), std::move(fila));
    return filas;
}

Sentencia borrar(QByteArrayView despues)
{
    Sentencia sql("delete from catarticulos");
    sql.reservar(640, std::size(kColumnas));
    dondeIgual(sql, valoresDe(despues));
    return sql;
}

Sentencia reponer(QByteArrayView antes, QByteArrayView despues)
{
    const std::vector<Valor> valores = valoresDe(antes);
    const Piezas &p = piezas();
    Sentencia sql("update catarticulos set ");
    sql.reservar(1024, 2 * std::size(kColumnas));
    for (std::size_t i = kClave; i < valores.size() && i < std::size(kColumnas); ++i) {
        sql << latin1(p.poner[i]);
        if (valores[i].tipo == Valor::Nulo)
            sql << QLatin1String("null");
        else
            poner(sql, valores[i]);
    }
    dondeIgual(sql, valoresDe(despues));
    return sql;
}
} // namespace FilasEnteras
