#include "catalog/FilasEnteras.h"

#include "catalog/modEntidadCatalogo.h"
#include "core/modGlobal.h"
#include "database/DataAccessManager.h"

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

// A number goes into the statement as the shortest text that reads back as it.
void poner(Sentencia &sql, const QVariant &valor)
{
    switch (valor.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        sql.numero(valor.toString());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        if (std::isfinite(valor.toDouble())) {
            sql.numero(QString::number(valor.toDouble(), 'g', QLocale::FloatingPointShortest));
            return;
        }
        break;
    default:
        break;
    }
    sql.texto(valor.toString());
}

// " where" and every column of the row, equal to its value.
void dondeIgual(Sentencia &sql, const Fila &fila)
{
    for (int i = 0; i < fila.size() && i < int(std::size(kColumnas)); ++i) {
        sql << QLatin1String(i == 0 ? " where " : " and ") << QLatin1String(kColumnas[i]);
        if (fila[i].isNull()) {
            sql << QLatin1String(" is null");
            continue;
        }
        sql << QLatin1String(" = ");
        poner(sql, fila[i]);
    }
}
} // namespace

QStringList columnas(const QString &tipoBase)
{
    QStringList nombres;
    for (int i = 0; i < cantidad(tipoBase); ++i)
        nombres << QString::fromLatin1(kColumnas[i]);
    return nombres;
}

QHash<QString, Fila> leer(const QString &idCatalogo, const QStringList &codigos, const QString &tipoBase)
{
    static const QString todas = seleccion(int(std::size(kColumnas)));
    static const QString sinObservaciones = seleccion(kSinObservaciones);
    const QString &select = cantidad(tipoBase) == kSinObservaciones ? sinObservaciones : todas;
    QHash<QString, Fila> filas;
    filas.reserve(codigos.size());
    for (qsizetype desde = 0; desde < codigos.size(); desde += kCodigosPorConsulta) {
        modEntidadCatalogo::conexion()->setSql(
            modEntidadCatalogo::PreguntaDeAlgunos(select, idCatalogo, codigos.mid(desde, kCodigosPorConsulta)));
        std::shared_ptr<Recordset> rs;
        if (!modEntidadCatalogo::conexion()->crearRs(rs))
            continue;
        for (; !rs->eof(); rs->moveNext())
            filas.insert(codigo(rs->fila()), rs->fila());
    }
    return filas;
}

QString codigo(const Fila &fila)
{
    return fila.value(1).toString();
}

Sentencia borrar(const Fila &despues)
{
    Sentencia sql("delete from catarticulos");
    dondeIgual(sql, despues);
    return sql;
}

Sentencia reponer(const Fila &antes, const Fila &despues)
{
    Sentencia sql("update catarticulos set ");
    for (int i = kClave; i < antes.size() && i < int(std::size(kColumnas)); ++i) {
        sql << QLatin1String(i == kClave ? "" : ", ") << QLatin1String(kColumnas[i]) << QLatin1String(" = ");
        if (antes[i].isNull())
            sql << QLatin1String("null");
        else
            poner(sql, antes[i]);
    }
    dondeIgual(sql, despues);
    return sql;
}
} // namespace FilasEnteras
