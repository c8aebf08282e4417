#pragma once

#include "catalog/RegArticulo.h"
#include "database/DatabaseConnection.h"
#include "database/Sentencia.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>

// Queries and statements for the article catalog table catarticulos, all through
// modGlobal::AccesoDatos and the entity "CATALOGOS". The builders only return the statement,
// its values apart from its SQL (texto() writes it out); the caller runs it. Every failure comes back as AppError
// kInnerOperation with the operation's location put in front of the source.
namespace modEntidadCatalogo {

// The catalog's connection, fetched afresh for every use; raises AppError 91 without one.
std::shared_ptr<DatabaseConnection> conexion();
// From inside a catch block: passes the error on as kInnerOperation, the location in front.
[[noreturn]] void relanzar(const QString &ubicacion, int linea);

// True when table catalogo holds the catalog (letter case aside, as its key compares).
bool ExisteCatalogo(const QString &idCatalogo);
// F11 and F12 start here: unless the catalog still exists, raises AppError kValidation
// "El catálogo <id> ya no existe en la base de datos. <consecuencia>".
void ExigirCatalogo(const QString &idCatalogo, const QString &consecuencia);

// True when the catalog already holds the article's code.
bool ExisteArticulo(const QString &idCatalogo, const RegArticulo &articulo);

// `select` (its columns and table) asked of the catalog for the codes: one statement for many
// rows. And for one article.
Sentencia PreguntaDeAlgunos(const Sentencia &select, const QString &idCatalogo, const QStringList &idsArticulo);
Sentencia PreguntaDeUno(Sentencia select, const QString &idCatalogo, const QString &idArticulo);
// The codes in one array, for a question a PostgreSQL server answers in one pass over the table.
Sentencia PreguntaEnUnaLista(Sentencia select, const QString &idCatalogo, const QStringList &idsArticulo);

// True when the catalog holds any of the codes: one query for many articles.
bool ExisteAlguno(const QString &idCatalogo, const QStringList &idsArticulo);
// The code and NCM of every article of the catalog among the given codes (each code
// apostrophe-safe): one query for many rows of F11.
QList<QPair<QString, QString>> NcmDeAlgunos(const QString &idCatalogo, const QStringList &idsArticulo);

// Sets estado ("Existe" / "Nuevo") and ncm_catalogo in `articulo` and returns a copy of it.
RegArticulo getArticuloenCatalogo(const QString &idCatalogo, RegArticulo &articulo);

// The statement builders refuse (AppError kValidation) an article whose weight is no finite
// number: "inf" or "nan" in a statement would break it or write what nobody gave.

// The insert for a new article, or the update when the catalog already holds it.
// tipoBase is "SQL" or "ACCESS", compared exactly; any other kind gives an empty one for a new
// article (the sender refuses unknown kinds before it gets here).
Sentencia AgregarArticulo(const QString &idCatalogo, const RegArticulo &articulo, const QString &tipoBase);

// The insert alone, for an article known to be new; empty for a kind other than "SQL" or "ACCESS".
Sentencia getSQLInsertArticulo(const QString &idCatalogo, const RegArticulo &articulo, const QString &tipoBase);

// The update of an existing article: only the fields the sheet brought, plus USUARIO and FECHA.
Sentencia getSQLUpdateArticulo(const QString &idCatalogo, const RegArticulo &articulo, const QString &tipoBase);

} // namespace modEntidadCatalogo
