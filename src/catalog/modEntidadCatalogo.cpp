#include "catalog/modEntidadCatalogo.h"

#include "catalog/FormatoSql.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/modGlobal.h"
#include "core/modTexto.h"
#include "database/DataAccessManager.h"

#include <QDate>
#include <cmath>
#include <exception>
#include <memory>

using modTexto::literal;
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

// Appends literal(texto). Statements are written into one text, not pieced together from
// copies: they are built once per article.
void agregarLiteral(QString &sql, const QString &texto)
{
    qsizetype desde = 0;
    for (qsizetype comilla; (comilla = texto.indexOf(QLatin1Char('\''), desde)) >= 0; desde = comilla + 1) {
        sql += QStringView(texto).mid(desde, comilla + 1 - desde);
        sql += QLatin1Char('\'');
    }
    sql += QStringView(texto).mid(desde);
}

// Appends antes + literal(texto) + despues.
void entre(QString &sql, QLatin1String antes, const QString &texto, QLatin1String despues)
{
    sql += antes;
    agregarLiteral(sql, texto);
    sql += despues;
}

// Appends "'" + literal(texto) + "',".
void valor(QString &sql, const QString &texto)
{
    entre(sql, QLatin1String("'"), texto, QLatin1String("',"));
}

void exigirPesoFinito(const RegArticulo &a)
{
    if (!std::isfinite(a.kilos_unitario))
        throw AppError(
            ErrorNumbers::kValidation, QStringLiteral("Validación datos"),
            QStringLiteral("El peso del artículo \"%1\" no es un número finito (%2). No se envió el artículo.")
                .arg(paraMensaje(a.idarticulo), QString::number(a.kilos_unitario)));
}

void agregarWhere(QString &sql, const QString &idCatalogo, const QString &idarticulo)
{
    entre(sql, QLatin1String(" where idcatalogo = '"), idCatalogo, QLatin1String("' and idarticulo = '"));
    agregarLiteral(sql, idarticulo);
    sql += QLatin1Char('\'');
}

QString whereArticulo(const QString &idCatalogo, const QString &idarticulo)
{
    QString sql;
    agregarWhere(sql, idCatalogo, idarticulo);
    return sql;
}

void valoresComunes(QString &sql, const QString &idCatalogo, const RegArticulo &a)
{
    valor(sql, idCatalogo);
    valor(sql, sinApostrofes(a.idarticulo));
    valor(sql, sinApostrofes(a.descripcion + QLatin1Char(' ') + a.anexo_descripcion));
    valor(sql, sinApostrofes(a.descripcion_maria));
    valor(sql, a.ncm);
    sql += FormatoSql::pesoInsert(a.kilos_unitario);
    sql += QLatin1Char(',');
    valor(sql, a.idpais);
    valor(sql, modGlobal::UsuarioSesion);
}

void valoresFinales(QString &sql, const RegArticulo &a)
{
    valor(sql, sinApostrofes(a.idunidad));
    valor(sql, sinApostrofes(a.sufijos));
    sql.chop(1);
    sql += QLatin1Char(')');
}

QString insertSql(const QString &idCatalogo, const RegArticulo &a)
{
    QString sql = QStringLiteral(
        "insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, "
        "ArtKgUnitario, IdPais, USUARIO, FECHA, [observacion1], [observacion2], [observacion3] "
        ", idunidad, sufijos) values (");
    sql.reserve(sql.size() + 256);
    valoresComunes(sql, idCatalogo, a);
    sql += QLatin1String(" GETDATE() ,");
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
QString insertAccess(const QString &idCatalogo, const RegArticulo &a)
{
    QString sql = QStringLiteral(
        "insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, "
        "ArtKgUnitario, IdPais, USUARIO, FECHA, idunidad, sufijos ) values (");
    valoresComunes(sql, idCatalogo, a);
    sql += fechaAccess() + QLatin1Char(',');
    valoresFinales(sql, a);
    return sql;
}

// The comma between two assignments of the set-list, which starts at `inicio` of `lista`.
void separar(QString &lista, qsizetype inicio)
{
    if (lista.size() > inicio)
        lista += QLatin1String(" , ");
}

void asignarDescripcion(QString &lista, qsizetype inicio, const QString &idCatalogo, const RegArticulo &a)
{
    // Catalog PUR keeps its own descriptions: only an addition may reach them.
    if (idCatalogo == QLatin1String("PUR") || a.descripcion.isEmpty()) {
        if (a.anexo_descripcion.isEmpty())
            return;
        separar(lista, inicio);
        entre(lista, QLatin1String(" Descripcion = Descripcion + ' "), a.anexo_descripcion, QLatin1String("'"));
        return;
    }
    separar(lista, inicio);
    if (a.anexo_descripcion.isEmpty())
        entre(lista, QLatin1String(" Descripcion = '"), a.descripcion, QLatin1String("' "));
    else
        entre(lista, QLatin1String(" Descripcion = '"), a.descripcion + QLatin1Char(' ') + a.anexo_descripcion,
              QLatin1String("' "));
}

void asignarObservaciones(QString &lista, qsizetype inicio, const RegArticulo &a)
{
    const QString *observaciones[] = {&a.observacion1, &a.observacion2, &a.observacion3};
    for (int i = 0; i < 3; ++i) {
        if (observaciones[i]->isEmpty())
            continue;
        QString texto = *observaciones[i];
        texto.replace(QLatin1Char('\''), QLatin1Char('.'));
        separar(lista, inicio);
        lista += QLatin1String(" [observacion");
        lista += QLatin1Char(char('1' + i));
        entre(lista, QLatin1String("] = '"), texto, QLatin1String("'"));
    }
}

// The set-list, appended to `lista` (whose own text is no assignment).
void listaUpdate(QString &lista, qsizetype inicio, const QString &idCatalogo, const RegArticulo &a,
                 const QString &tipoBase)
{
    // A short code from the sheet never replaces the one the catalog holds.
    if (a.ncm.size() > 9)
        entre(lista, QLatin1String(" NCM = '"), a.ncm, QLatin1String("' "));
    asignarDescripcion(lista, inicio, idCatalogo, a);
    if (!a.descripcion_maria.isEmpty()) {
        separar(lista, inicio);
        entre(lista, QLatin1String(" Descripcion_Maria = '"), a.descripcion_maria, QLatin1String("'"));
    }
    if (a.kilos_unitario > 0) {
        separar(lista, inicio);
        lista += QLatin1String(" ArtKgUnitario = ");
        lista += FormatoSql::pesoUpdate(a.kilos_unitario);
    }
    if (tipoBase == kSql)
        asignarObservaciones(lista, inicio, a);
    if (!a.idpais.isEmpty()) {
        separar(lista, inicio);
        entre(lista, QLatin1String(" idPais = '"), a.idpais, QLatin1String("'"));
    }
    separar(lista, inicio);
    entre(lista, QLatin1String(" USUARIO = '"), modGlobal::UsuarioSesion, QLatin1String("'"));
    separar(lista, inicio);
    if (tipoBase == kSql)
        lista += QLatin1String(" FECHA = GETDATE() ");
    else if (tipoBase == kAccess)
        lista += QLatin1String(" FECHA = ") + fechaAccess() + QLatin1Char(' ');
}

} // namespace

bool ExisteCatalogo(const QString &idCatalogo)
{
    int linea = 10;
    try {
        conexion()->setSql(QStringLiteral("select idcatalogo from catalogo where idcatalogo = '") + literal(idCatalogo)
                           + QLatin1Char('\''));
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
        conexion()->setSql(QStringLiteral("select idarticulo from catarticulos")
                           + whereArticulo(idCatalogo, articulo.idarticulo));
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
        conexion()->setSql(QStringLiteral("select ncm from catarticulos")
                           + whereArticulo(idCatalogo, articulo.idarticulo));
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

QString whereAlguno(const QString &idCatalogo, const QStringList &idsArticulo)
{
    QString lista;
    for (const QString &id : idsArticulo) {
        if (!lista.isEmpty())
            lista += QStringLiteral(", ");
        lista += QStringLiteral("'") + literal(id) + QStringLiteral("'");
    }
    return QStringLiteral(" where idcatalogo = '") + literal(idCatalogo) + QStringLiteral("' and idarticulo in (")
           + lista + QStringLiteral(")");
}

// Without statistics on the table a server answers a long list by reading the whole catalog,
// and a short one through the key: a long group goes as short lists joined.
QString enListasCortas(const QString &select, const QString &idCatalogo, const QStringList &idsArticulo)
{
    QStringList partes;
    for (qsizetype desde = 0; desde < idsArticulo.size(); desde += kCodigosPorLista)
        partes << select + whereAlguno(idCatalogo, idsArticulo.mid(desde, kCodigosPorLista));
    return partes.join(QStringLiteral(" union all "));
}
} // namespace

bool ExisteAlguno(const QString &idCatalogo, const QStringList &idsArticulo)
{
    int linea = 10;
    try {
        conexion()->setSql(
            enListasCortas(QStringLiteral("select idarticulo from catarticulos"), idCatalogo, idsArticulo));
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
        conexion()->setSql(
            enListasCortas(QStringLiteral("select idarticulo, ncm from catarticulos"), idCatalogo, idsArticulo));
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

QString AgregarArticulo(const QString &idCatalogo, const RegArticulo &articulo, const QString &tipoBase)
{
    try {
        if (ExisteArticulo(idCatalogo, articulo))
            return getSQLUpdateArticulo(idCatalogo, articulo, tipoBase);
        return getSQLInsertArticulo(idCatalogo, articulo, tipoBase);
    } catch (...) {
        relanzar(QStringLiteral("[ AgregarArticulo.modEntidadCatalogo.Sorvanta Linea "), 0);
    }
}

QString getSQLInsertArticulo(const QString &idCatalogo, const RegArticulo &articulo, const QString &tipoBase)
{
    exigirPesoFinito(articulo);
    if (tipoBase == kSql)
        return insertSql(idCatalogo, articulo);
    if (tipoBase == kAccess)
        return insertAccess(idCatalogo, articulo);
    // Only the two kinds are served; the sender refuses any other before calling.
    return QString();
}

QString getSQLUpdateArticulo(const QString &idCatalogo, const RegArticulo &articulo, const QString &tipoBase)
{
    try {
        exigirPesoFinito(articulo);
        QString sql;
        sql.reserve(320); // built once per article: grown once, not at each assignment
        sql += QLatin1String("update catarticulos set ");
        listaUpdate(sql, sql.size(), idCatalogo, articulo, tipoBase);
        agregarWhere(sql, idCatalogo, sinApostrofes(articulo.idarticulo));
        return sql;
    } catch (...) {
        relanzar(QStringLiteral("[ getSQLUpdateArticulo.modEntidadCatalogo.Sorvanta Linea "), 0);
    }
}

} // namespace modEntidadCatalogo
