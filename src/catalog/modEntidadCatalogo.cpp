#include "catalog/modEntidadCatalogo.h"

#include "catalog/FormatoSql.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/modGlobal.h"
#include "core/modTexto.h"
#include "database/DataAccessManager.h"

#include <QDate>
#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>

using modTexto::paraMensaje;
using modTexto::sinApostrofes;

namespace modEntidadCatalogo {

namespace {

const QString kEntidad = QStringLiteral("CATALOGOS");
const QString kSql = QStringLiteral("SQL");
const QString kAccess = QStringLiteral("ACCESS");

// Error 91 of the original runtime: what a missing component or recordset amounts to.

AppError objetoNoEstablecido()
{
    return AppError(ErrorNumbers::kObjectNotSet, QStringLiteral("Sorvanta"),
                    QStringLiteral("Variable de objeto o bloque With no establecido"));
}
} // namespace

// Fetched afresh for every use, never kept.
std::shared_ptr<DatabaseConnection> conexion()
{
    if (!modGlobal::AccesoDatos)
        throw objetoNoEstablecido();
    std::shared_ptr<DatabaseConnection> c = modGlobal::AccesoDatos->getDataConnectionByEntity(kEntidad);
    if (!c)
        throw objetoNoEstablecido();
    return c;
}

// Must be called from inside a catch block: passes the error on with the location in front.
[[noreturn]] void relanzar(const QString &ubicacion, int linea)
{
    const QString prefijo = ubicacion + QString::number(linea) + QStringLiteral(" ]");
    try {
        throw;
    } catch (const AppError &e) {
        throw e.rethrownAs(ErrorNumbers::kInnerOperation, prefijo);
    } catch (const std::exception &e) {
        throw AppError(ErrorNumbers::kInnerOperation, prefijo, QString::fromLocal8Bit(e.what()));
    }
}

namespace {

void exigirPesoFinito(const RegArticulo &a)
{
    if (!std::isfinite(a.kilos_unitario))
        throw AppError(
            ErrorNumbers::kValidation, QStringLiteral("Validación datos"),
            QStringLiteral("El peso del artículo \"%1\" no es un número finito (%2). No se envió el artículo.")
                .arg(paraMensaje(a.idarticulo), QString::number(a.kilos_unitario)));
}

void agregarWhere(Sentencia &sql, const QString &idCatalogo, const QString &idarticulo)
{
    sql << QLatin1String(" where idcatalogo = ");
    sql.texto(idCatalogo) << QLatin1String(" and idarticulo = ");
    sql.texto(idarticulo);
}

// Appends the text and the comma after it.
void valor(Sentencia &sql, const QString &texto)
{
    sql.texto(texto) << QLatin1String(",");
}

void valoresComunes(Sentencia &sql, const QString &idCatalogo, const RegArticulo &a)
{
    sql.reservar(320, 14);
    valor(sql, idCatalogo);
    valor(sql, sinApostrofes(a.idarticulo));
    valor(sql, sinApostrofes(a.descripcion + QLatin1Char(' ') + a.anexo_descripcion));
    valor(sql, sinApostrofes(a.descripcion_maria));
    valor(sql, a.ncm);
    sql.numero(FormatoSql::pesoInsert(a.kilos_unitario)) << QLatin1String(",");
    valor(sql, a.idpais);
    valor(sql, modGlobal::UsuarioSesion);
}

void valoresFinales(Sentencia &sql, const RegArticulo &a)
{
    valor(sql, sinApostrofes(a.idunidad));
    sql.texto(sinApostrofes(a.sufijos)) << QLatin1String(")");
}

Sentencia insertSql(const QString &idCatalogo, const RegArticulo &a)
{
    Sentencia sql(
        QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, "
                       "ArtKgUnitario, IdPais, USUARIO, FECHA, [observacion1], [observacion2], [observacion3] "
                       ", idunidad, sufijos) values ("));
    valoresComunes(sql, idCatalogo, a);
    sql << QLatin1String(" GETDATE() ,");
    valor(sql, sinApostrofes(a.observacion1));
    valor(sql, sinApostrofes(a.observacion2));
    valor(sql, sinApostrofes(a.observacion3));
    valoresFinales(sql, a);
    return sql;
}

QString fechaAccess()
{
    return QStringLiteral("#") + FormatoSql::fechaAccess(QDate::currentDate()) + QStringLiteral("#");
}

// Access catalogs have no remark columns.
Sentencia insertAccess(const QString &idCatalogo, const RegArticulo &a)
{
    Sentencia sql(
        QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, "
                       "ArtKgUnitario, IdPais, USUARIO, FECHA, idunidad, sufijos ) values ("));
    valoresComunes(sql, idCatalogo, a);
    sql.fecha(fechaAccess()) << QLatin1String(",");
    valoresFinales(sql, a);
    return sql;
}

// The set-list of an update: assignments joined by " , ".
class ListaUpdate {
public:
    explicit ListaUpdate(Sentencia &sql) : m_sql(sql), m_inicio(sql.forma().size()) {}

    // The comma before every assignment but the first.
    Sentencia &asignar(QLatin1String columna)
    {
        if (m_sql.forma().size() > m_inicio)
            m_sql << QLatin1String(" , ");
        return m_sql << columna;
    }

private:
    Sentencia &m_sql;
    qsizetype m_inicio;
};

void asignarDescripcion(ListaUpdate &lista, const QString &idCatalogo, const RegArticulo &a)
{
    // Catalog PUR keeps its own descriptions: only an addition may reach them.
    if (idCatalogo == QLatin1String("PUR") || a.descripcion.isEmpty()) {
        if (!a.anexo_descripcion.isEmpty())
            lista.asignar(QLatin1String(" Descripcion = Descripcion + ")).texto(QLatin1Char(' ') + a.anexo_descripcion);
        return;
    }
    Sentencia &sql = lista.asignar(QLatin1String(" Descripcion = "));
    if (a.anexo_descripcion.isEmpty())
        sql.texto(a.descripcion);
    else
        sql.texto(a.descripcion + QLatin1Char(' ') + a.anexo_descripcion);
    sql << QLatin1String(" ");
}

void asignarObservaciones(ListaUpdate &lista, const RegArticulo &a)
{
    const QString *observaciones[] = {&a.observacion1, &a.observacion2, &a.observacion3};
    const QLatin1String columnas[] = {QLatin1String(" [observacion1] = "), QLatin1String(" [observacion2] = "),
                                      QLatin1String(" [observacion3] = ")};
    for (int i = 0; i < 3; ++i) {
        if (observaciones[i]->isEmpty())
            continue;
        QString texto = *observaciones[i];
        texto.replace(QLatin1Char('\''), QLatin1Char('.'));
        lista.asignar(columnas[i]).texto(texto);
    }
}

// The set-list, appended to `sql` (whose own text is no assignment).
void listaUpdate(Sentencia &sql, const QString &idCatalogo, const RegArticulo &a, const QString &tipoBase)
{
    ListaUpdate lista(sql);
    // A short code from the sheet never replaces the one the catalog holds.
    if (a.ncm.size() > 9)
        lista.asignar(QLatin1String(" NCM = ")).texto(a.ncm) << QLatin1String(" ");
    asignarDescripcion(lista, idCatalogo, a);
    if (!a.descripcion_maria.isEmpty())
        lista.asignar(QLatin1String(" Descripcion_Maria = ")).texto(a.descripcion_maria);
    if (a.kilos_unitario > 0)
        lista.asignar(QLatin1String(" ArtKgUnitario = ")).numero(FormatoSql::pesoUpdate(a.kilos_unitario));
    if (tipoBase == kSql)
        asignarObservaciones(lista, a);
    if (!a.idpais.isEmpty())
        lista.asignar(QLatin1String(" idPais = ")).texto(a.idpais);
    lista.asignar(QLatin1String(" USUARIO = ")).texto(modGlobal::UsuarioSesion);
    if (tipoBase == kSql)
        lista.asignar(QLatin1String(" FECHA = GETDATE() "));
    else if (tipoBase == kAccess)
        lista.asignar(QLatin1String(" FECHA = ")).fecha(fechaAccess()) << QLatin1String(" ");
    else
        lista.asignar(QLatin1String(""));
}

} // namespace

bool ExisteCatalogo(const QString &idCatalogo)
{
    int linea = 10;
    try {
        conexion()->setSql(Sentencia("select idcatalogo from catalogo where idcatalogo = ").texto(idCatalogo));
        linea = 20;
        std::shared_ptr<Recordset> rs;
        return conexion()->crearRs(rs);
    } catch (...) {
        relanzar(QStringLiteral("[ Sorvanta.modEntidadCatalogo.ExisteCatalogo Linea "), linea);
    }
}

void ExigirCatalogo(const QString &idCatalogo, const QString &consecuencia)
{
    if (!ExisteCatalogo(idCatalogo))
        throw AppError(ErrorNumbers::kValidation, QStringLiteral("Validación datos"),
                       QStringLiteral("El catálogo %1 ya no existe en la base de datos. %2")
                           .arg(paraMensaje(idCatalogo), consecuencia));
}

bool ExisteArticulo(const QString &idCatalogo, const RegArticulo &articulo)
{
    int linea = 10;
    try {
        conexion()->setSql(PreguntaDeUno("select idarticulo from catarticulos", idCatalogo, articulo.idarticulo));
        linea = 20;
        std::shared_ptr<Recordset> rs;
        return conexion()->crearRs(rs);
    } catch (...) {
        relanzar(QStringLiteral("[ Sorvanta.modEntidadCatalogo.ExisteArticulo Linea "), linea);
    }
}

RegArticulo getArticuloenCatalogo(const QString &idCatalogo, RegArticulo &articulo)
{
    try {
        conexion()->setSql(PreguntaDeUno("select ncm from catarticulos", idCatalogo, articulo.idarticulo));
        std::shared_ptr<Recordset> rs;
        if (conexion()->crearRs(rs)) {
            if (!rs)
                throw objetoNoEstablecido();
            articulo.estado = QStringLiteral("Existe");
            articulo.ncm_catalogo = rs->fields(QStringLiteral("NCM")).toString();
        } else {
            articulo.estado = QStringLiteral("Nuevo");
            articulo.ncm_catalogo.clear();
        }
        return articulo;
    } catch (...) {
        relanzar(QStringLiteral("[ getArticuloenCatalogo.modEntidadCatalogo.Sorvanta Linea "), 0);
    }
}

namespace {
constexpr qsizetype kCodigosPorLista = 8;

void whereAlguno(Sentencia &sql, const QString &idCatalogo, const QStringList &idsArticulo, qsizetype desde)
{
    sql << QLatin1String(" where idcatalogo = ");
    sql.texto(idCatalogo) << QLatin1String(" and idarticulo in (");
    const qsizetype hasta = std::min(idsArticulo.size(), desde + kCodigosPorLista);
    for (qsizetype i = desde; i < hasta; ++i) {
        if (i > desde)
            sql << QLatin1String(", ");
        sql.texto(idsArticulo[i]);
    }
    sql << QLatin1String(")");
}
} // namespace

// Without statistics on the table a server answers a long list by reading the whole catalog,
// and a short one through the key: a long group goes as short lists joined.
Sentencia PreguntaDeAlgunos(const Sentencia &select, const QString &idCatalogo, const QStringList &idsArticulo)
{
    Sentencia sql;
    for (qsizetype desde = 0; desde < idsArticulo.size(); desde += kCodigosPorLista) {
        if (desde > 0)
            sql << QLatin1String(" union all ");
        sql << select;
        whereAlguno(sql, idCatalogo, idsArticulo, desde);
    }
    return sql;
}

namespace {
// An array literal of texts: each between quotes, its quotes and backslashes escaped.
QString comoArreglo(const QStringList &textos)
{
    QString arreglo;
    qsizetype largo = 2;
    for (const QString &texto : textos)
        largo += texto.size() + 3;
    arreglo.reserve(largo);
    arreglo += QLatin1Char('{');
    for (const QString &texto : textos) {
        if (arreglo.size() > 1)
            arreglo += QLatin1Char(',');
        arreglo += QLatin1Char('"');
        for (const QChar c : texto) {
            if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
                arreglo += QLatin1Char('\\');
            arreglo += c;
        }
        arreglo += QLatin1Char('"');
    }
    arreglo += QLatin1Char('}');
    return arreglo;
}
} // namespace

// One array value rather than a list of values: a server parses and plans a list of tens of
// thousands value by value, and an array as one. Compared as the list would be: the literal
// takes the column's own type.
Sentencia PreguntaEnUnaLista(Sentencia select, const QString &idCatalogo, const QStringList &idsArticulo)
{
    select << QLatin1String(" where idcatalogo = ");
    select.texto(idCatalogo) << QLatin1String(" and idarticulo = any (");
    select.texto(comoArreglo(idsArticulo)) << QLatin1String(")");
    return select;
}

Sentencia PreguntaDeUno(Sentencia select, const QString &idCatalogo, const QString &idArticulo)
{
    agregarWhere(select, idCatalogo, idArticulo);
    return select;
}

bool ExisteAlguno(const QString &idCatalogo, const QStringList &idsArticulo)
{
    int linea = 10;
    try {
        conexion()->setSql(PreguntaDeAlgunos("select idarticulo from catarticulos", idCatalogo, idsArticulo));
        linea = 20;
        std::shared_ptr<Recordset> rs;
        return conexion()->crearRs(rs);
    } catch (...) {
        relanzar(QStringLiteral("[ Sorvanta.modEntidadCatalogo.ExisteAlguno Linea "), linea);
    }
}

QList<QPair<QString, QString>> NcmDeAlgunos(const QString &idCatalogo, const QStringList &idsArticulo)
{
    int linea = 10;
    try {
        conexion()->setSql(PreguntaDeAlgunos("select idarticulo, ncm from catarticulos", idCatalogo, idsArticulo));
        linea = 20;
        std::shared_ptr<Recordset> rs;
        QList<QPair<QString, QString>> filas;
        if (conexion()->crearRs(rs))
            for (; !rs->eof(); rs->moveNext())
                filas.append({rs->fields(QStringLiteral("idarticulo")).toString(),
                              rs->fields(QStringLiteral("NCM")).toString()});
        return filas;
    } catch (...) {
        relanzar(QStringLiteral("[ Sorvanta.modEntidadCatalogo.NcmDeAlgunos Linea "), linea);
    }
}

Sentencia AgregarArticulo(const QString &idCatalogo, const RegArticulo &articulo, const QString &tipoBase)
{
    try {
        if (ExisteArticulo(idCatalogo, articulo))
            return getSQLUpdateArticulo(idCatalogo, articulo, tipoBase);
        return getSQLInsertArticulo(idCatalogo, articulo, tipoBase);
    } catch (...) {
        relanzar(QStringLiteral("[ AgregarArticulo.modEntidadCatalogo.Sorvanta Linea "), 0);
    }
}

Sentencia getSQLInsertArticulo(const QString &idCatalogo, const RegArticulo &articulo, const QString &tipoBase)
{
    exigirPesoFinito(articulo);
    if (tipoBase == kSql)
        return insertSql(idCatalogo, articulo);
    if (tipoBase == kAccess)
        return insertAccess(idCatalogo, articulo);
    // Only the two kinds are served; the sender refuses any other before calling.
    return Sentencia();
}

Sentencia getSQLUpdateArticulo(const QString &idCatalogo, const RegArticulo &articulo, const QString &tipoBase)
{
    try {
        exigirPesoFinito(articulo);
        Sentencia sql(QStringLiteral("update catarticulos set "));
        sql.reservar(320, 12);
        listaUpdate(sql, idCatalogo, articulo, tipoBase);
        agregarWhere(sql, idCatalogo, sinApostrofes(articulo.idarticulo));
        return sql;
    } catch (...) {
        relanzar(QStringLiteral("[ getSQLUpdateArticulo.modEntidadCatalogo.Sorvanta Linea "), 0);
    }
}

} // namespace modEntidadCatalogo
