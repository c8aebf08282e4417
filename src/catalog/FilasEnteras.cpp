#include "catalog/FilasEnteras.h"

#include "catalog/modEntidadCatalogo.h"
#include "core/modGlobal.h"
#include "database/DataAccessManager.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace FilasEnteras {
namespace {
// The key first; the three remarks are left out of an "ACCESS" catalog.
const char *const kColumnas[] = {
    "idcatalogo", "idarticulo", "descripcion", "descripcion_maria", "ncm",          "ArtKgUnitario", "IdPais",
    "USUARIO",    "FECHA",      "idunidad",    "sufijos",           "observacion1", "observacion2",  "observacion3"};
constexpr int kSinObservaciones = 11;
constexpr int kClave = 2;
// Codes a question: as many as F11 asks at once over a window.
constexpr qsizetype kCodigosPorConsulta = 256;
const QString kNumero = QStringLiteral("n");

int cantidad(const QString &tipoBase)
{
    return tipoBase == QLatin1String("ACCESS") ? kSinObservaciones : int(std::size(kColumnas));
}

QByteArray seleccion(int columnas)
{
    QByteArray select("select ");
    for (int i = 0; i < columnas; ++i) {
        if (i > 0)
            select += ", ";
        // Read as text, a date keeps every digit the database holds, and compares again as it.
        select += qstrcmp(kColumnas[i], "FECHA") == 0 ? QByteArray("cast(FECHA as varchar(40)) as FECHA")
                                                      : QByteArray(kColumnas[i]);
    }
    return select + " from catarticulos";
}

Sentencia consulta(const QString &idCatalogo, const QStringList &codigos, const QString &tipoBase)
{
    static const QByteArray todas = seleccion(int(std::size(kColumnas)));
    static const QByteArray sinObservaciones = seleccion(kSinObservaciones);
    const QByteArray &select = cantidad(tipoBase) == kSinObservaciones ? sinObservaciones : todas;
    return modEntidadCatalogo::PreguntaDeAlgunos(QString::fromLatin1(select), idCatalogo, codigos);
}

QJsonValue valorDe(const QVariant &v)
{
    if (v.isNull())
        return QJsonValue::Null;
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        if (std::isfinite(v.toDouble()))
            return QJsonObject{{kNumero, QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest)}};
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QJsonObject{{kNumero, v.toString()}};
    default:
        break;
    }
    return v.toString();
}

// A number goes into the statement as written, so it must be one; anything else goes as text.
void poner(Sentencia &sql, const QJsonValue &valor)
{
    static const QRegularExpression numero(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?([eE][-+]?[0-9]+)?$"));
    const QString escrito = valor.toObject().value(kNumero).toString();
    if (valor.isObject() && numero.match(escrito).hasMatch())
        sql.numero(escrito);
    else if (valor.isObject())
        sql.texto(escrito);
    else
        sql.texto(valor.toString());
}

// " where" and every column the row has, equal to its value.
void dondeIgual(Sentencia &sql, const Fila &fila)
{
    bool primera = true;
    for (const char *columna : kColumnas) {
        const auto valor = fila.constFind(QLatin1String(columna));
        if (valor == fila.constEnd())
            continue;
        sql << QLatin1String(primera ? " where " : " and ") << QLatin1String(columna);
        primera = false;
        if (valor->isNull()) {
            sql << QLatin1String(" is null");
            continue;
        }
        sql << QLatin1String(" = ");
        poner(sql, *valor);
    }
}
} // namespace

QHash<QString, Fila> leer(const QString &idCatalogo, const QStringList &codigos, const QString &tipoBase)
{
    QHash<QString, Fila> filas;
    filas.reserve(codigos.size());
    const int columnas = cantidad(tipoBase);
    for (qsizetype desde = 0; desde < codigos.size(); desde += kCodigosPorConsulta) {
        auto conexion = modGlobal::AccesoDatos->getDataConnectionByEntity(QStringLiteral("CATALOGOS"));
        conexion->setSql(consulta(idCatalogo, codigos.mid(desde, kCodigosPorConsulta), tipoBase));
        std::shared_ptr<Recordset> rs;
        if (!modGlobal::AccesoDatos->getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->crearRs(rs))
            continue;
        const QStringList nombres = rs->fieldNames();
        for (; !rs->eof(); rs->moveNext()) {
            Fila fila;
            for (int i = 0; i < columnas && i < nombres.size(); ++i)
                fila.insert(QLatin1String(kColumnas[i]), valorDe(rs->fields(nombres[i])));
            filas.insert(codigo(fila), fila);
        }
    }
    return filas;
}

QString codigo(const Fila &fila)
{
    return fila.value(QLatin1String("idarticulo")).toString();
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
    bool primera = true;
    for (int i = kClave; i < int(std::size(kColumnas)); ++i) {
        const auto valor = antes.constFind(QLatin1String(kColumnas[i]));
        if (valor == antes.constEnd())
            continue;
        sql << QLatin1String(primera ? "" : ", ") << QLatin1String(kColumnas[i]) << QLatin1String(" = ");
        primera = false;
        if (valor->isNull())
            sql << QLatin1String("null");
        else
            poner(sql, *valor);
    }
    dondeIgual(sql, despues);
    return sql;
}
} // namespace FilasEnteras
