#include "database/SesionPostgres.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace SesionPostgres {

QString preparar(QSqlDatabase &db, SqlDialect::Kind dialecto)
{
    if (db.driverName() != QLatin1String("QPSQL") && dialecto != SqlDialect::Postgres)
        return QString();
    QString motivo;
    {
        QSqlQuery query(db);
        if (query.exec(QStringLiteral("set standard_conforming_strings = on"))
            && query.exec(QStringLiteral("show standard_conforming_strings")) && query.next()) {
            const QString valor = query.value(0).toString();
            if (valor == QLatin1String("on"))
                return QString();
            motivo = QStringLiteral("sigue en \"%1\"").arg(valor);
        } else {
            motivo = query.lastError().text().trimmed();
        }
    }
    if (motivo.isEmpty())
        motivo = QStringLiteral("sin motivo indicado");
    return QStringLiteral("el servidor no aceptó standard_conforming_strings = on (%1). Sin ese ajuste una barra "
                          "invertida (\\) en un valor podría cambiar las instrucciones: no se usa la conexión.")
        .arg(motivo);
}

} // namespace SesionPostgres
