#include "database/EmbeddedDatabases.h"

#include "core/AppError.h"
#include "database/DataAccessErrors.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

static void initDatabaseResources()
{
    Q_INIT_RESOURCE(sorvanta_database);
}

namespace {

const char *const kCatalogosSchema[] = {
    "create table catalogo (idcatalogo text collate nocase primary key, descripcion text)",
    "create table catarticulos (idcatalogo text collate nocase not null, idarticulo text collate nocase not null,"
    " descripcion text, descripcion_maria text, ncm text, ArtKgUnitario real, IdPais text, USUARIO text,"
    " FECHA text, observacion1 text, observacion2 text, observacion3 text, idunidad text, sufijos text,"
    " primary key (idcatalogo, idarticulo))",
    "create table ORG (PAI text collate nocase, ORI text, ESM text)",
    "create index ORG_PAI on ORG (PAI)",
    "insert into catalogo (idcatalogo, descripcion) values ('PUR', 'Compras')",
    "insert into catalogo (idcatalogo, descripcion) values ('GEN', 'General')",
};

const char *const kSystablasSchema[] = {
    "create table PAIS (id text collate nocase primary key, Descripcion text)",
};

[[noreturn]] void fail(const QString &file, const QString &why)
{
    throw AppError(DataAccessErrors::kConnection, DataAccessErrors::source(),
                   QStringLiteral("No se pudo crear la base de datos \"%1\": %2").arg(file, why));
}

void exec(QSqlQuery &query, const QString &statement, const QString &file)
{
    if (!query.exec(statement))
        fail(file, query.lastError().text());
}

void insertCountries(QSqlQuery &query, const QString &file)
{
    QFile tsv(QStringLiteral(":/sorvanta/database/paises.tsv"));
    if (!tsv.open(QIODevice::ReadOnly))
        fail(file, QStringLiteral("falta la tabla de países incorporada"));
    if (!query.prepare(QStringLiteral("insert into PAIS (id, Descripcion) values (?, ?)")))
        fail(file, query.lastError().text());
    for (const QString &line : QString::fromUtf8(tsv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int tab = line.indexOf(QLatin1Char('\t'));
        query.bindValue(0, line.left(tab));
        query.bindValue(1, line.mid(tab + 1));
        if (!query.exec())
            fail(file, query.lastError().text());
    }
}

// Builds the database under a temporary name and renames it when complete, so that a
// failure never leaves a half-made file that would later pass for the real one.
template <class Fill> void create(const QString &file, Fill fill)
{
    const QString building = file + QStringLiteral(".nueva");
    QFile::remove(building);
    const QString name = QStringLiteral("sorvanta-crear-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(building);
        if (!db.open())
            fail(file, db.lastError().text());
        {
            QSqlQuery query(db);
            exec(query, QStringLiteral("pragma journal_mode=wal"), file);
            exec(query, QStringLiteral("begin"), file);
            fill(query);
            exec(query, QStringLiteral("commit"), file);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!QFile::rename(building, file))
        fail(file, QStringLiteral("no se pudo renombrar \"%1\"").arg(building));
}

} // namespace

QString EmbeddedDatabases::catalogosFile(const QString &folder)
{
    return folder + QStringLiteral("/catalogos.sqlite");
}

QString EmbeddedDatabases::systablasFile(const QString &folder)
{
    return folder + QStringLiteral("/systablas.sqlite");
}

void EmbeddedDatabases::ensure(const QString &folder)
{
    if (!QDir().mkpath(folder))
        fail(folder, QStringLiteral("no se pudo crear la carpeta"));
    const QString catalogos = catalogosFile(folder);
    if (!QFile::exists(catalogos))
        create(catalogos, [&](QSqlQuery &query) {
            for (const char *statement : kCatalogosSchema)
                exec(query, QString::fromLatin1(statement), catalogos);
        });
    const QString systablas = systablasFile(folder);
    if (!QFile::exists(systablas))
        create(systablas, [&](QSqlQuery &query) {
            for (const char *statement : kSystablasSchema)
                exec(query, QString::fromLatin1(statement), systablas);
            initDatabaseResources();
            insertCountries(query, systablas);
        });
}
