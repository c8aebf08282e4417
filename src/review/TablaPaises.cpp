#include "review/TablaPaises.h"

#include "core/modGlobal.h"
#include "database/DataAccessManager.h"

namespace TablaPaises {
namespace {
const QString kCatalogos = QStringLiteral("CATALOGOS");
const QString kSystablas = QStringLiteral("SYSTABLAS");

std::shared_ptr<Recordset> consultar(const QString &entidad, const Sentencia &sql)
{
    DataAccessManager &datos = *modGlobal::AccesoDatos;
    datos.getDataConnectionByEntity(entidad)->setSql(sql);
    std::shared_ptr<Recordset> rs;
    if (!datos.getDataConnectionByEntity(entidad)->crearRs(rs))
        return nullptr;
    return rs;
}
} // namespace

QList<Pais> paises()
{
    QList<Pais> lista;
    const auto rs = consultar(kSystablas, QStringLiteral("select * from PAIS order by Descripcion"));
    for (; rs && !rs->eof(); rs->moveNext())
        lista.append(
            {rs->fields(QStringLiteral("id")).toString(), rs->fields(QStringLiteral("Descripcion")).toString()});
    return lista;
}

bool buscarOrigen(const QString &valor, RelacionPais &relacion)
{
    const auto rs = consultar(kCatalogos, Sentencia("select ORI, ESM from ORG where PAI = ").texto(valor));
    if (!rs)
        return false;
    relacion.ORI = rs->fields(QStringLiteral("ORI")).toString();
    relacion.ESM = rs->fields(QStringLiteral("ESM")).toString();
    return true;
}

long guardarOrigen(const QString &valor, const QString &idPais, const QString &esm)
{
    DataAccessManager &datos = *modGlobal::AccesoDatos;
    Sentencia sql("insert into ORG (PAI, ORI, ESM) values (");
    sql.texto(valor) << QLatin1String(",");
    sql.texto(idPais) << QLatin1String(",");
    sql.texto(esm) << QLatin1String(")");
    datos.getDataConnectionByEntity(kCatalogos)->setSql(sql);
    return datos.getDataConnectionByEntity(kCatalogos)->ejecutar();
}

} // namespace TablaPaises
