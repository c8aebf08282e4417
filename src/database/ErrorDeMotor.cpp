#include "database/ErrorDeMotor.h"

#include "core/modTexto.h"

#include <QSqlError>
#include <sqlite3.h>

ErrorDeMotor::Clase ErrorDeMotor::dePostgres(const QString &sqlstate)
{
    if (sqlstate == QLatin1String("40P01") || sqlstate == QLatin1String("40001"))
        return Clase::BloqueoMutuo;
    if (sqlstate == QLatin1String("23505"))
        return Clase::ClaveDuplicada;
    if (sqlstate == QLatin1String("55P03"))
        return Clase::Bloqueada;
    if (sqlstate == QLatin1String("53100"))
        return Clase::DiscoLleno;
    if (sqlstate.startsWith(QLatin1String("58")))
        return Clase::ErrorDeDisco;
    if (sqlstate == QLatin1String("25006"))
        return Clase::SoloLectura;
    if (sqlstate == QLatin1String("57014"))
        return Clase::SinRespuesta;
    if (sqlstate.startsWith(QLatin1String("08")) || sqlstate.startsWith(QLatin1String("57P")))
        return Clase::ConexionPerdida;
    return Clase::Otro;
}

ErrorDeMotor::Clase ErrorDeMotor::deSqlite(int codigo)
{
    if (codigo == SQLITE_CONSTRAINT_UNIQUE || codigo == SQLITE_CONSTRAINT_PRIMARYKEY)
        return Clase::ClaveDuplicada;
    switch (codigo & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Clase::Bloqueada;
    case SQLITE_FULL:
        return Clase::DiscoLleno;
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return Clase::ErrorDeDisco;
    case SQLITE_READONLY:
        return Clase::SoloLectura;
    case SQLITE_CANTOPEN:
        return Clase::ConexionRechazada;
    default:
        return Clase::Otro;
    }
}

ErrorDeMotor::Clase ErrorDeMotor::de(const QSqlError &error, const QString &driver)
{
    const QString codigo = error.nativeErrorCode();
    if (driver == QLatin1String("QPSQL")) {
        if (!codigo.isEmpty())
            return dePostgres(codigo);
        // Without a SQLSTATE the driver lost the server on the way.
        return error.type() == QSqlError::ConnectionError ? Clase::ConexionRechazada : Clase::ConexionPerdida;
    }
    if (driver == QLatin1String("QSQLITE")) {
        bool numero = false;
        const int valor = codigo.toInt(&numero);
        if (numero)
            return deSqlite(valor);
    }
    return error.type() == QSqlError::ConnectionError ? Clase::ConexionRechazada : Clase::Otro;
}

QString ErrorDeMotor::frase(Clase clase)
{
    switch (clase) {
    case Clase::Otro:
        break;
    case Clase::Bloqueada:
        return QStringLiteral("La base de datos está bloqueada por otro programa o por otro envío.");
    case Clase::BloqueoMutuo:
        return QStringLiteral("Otro programa modificaba los mismos artículos al mismo tiempo (bloqueo mutuo).");
    case Clase::ClaveDuplicada:
        return QStringLiteral("El artículo ya existe en el catálogo (clave duplicada).");
    case Clase::DiscoLleno:
        return QStringLiteral("El disco de la base de datos está lleno.");
    case Clase::ErrorDeDisco:
        return QStringLiteral("Error de lectura o escritura en el disco de la base de datos.");
    case Clase::SoloLectura:
        return QStringLiteral("La base de datos es de solo lectura.");
    case Clase::ConexionPerdida:
        return QStringLiteral("Se perdió la conexión con el servidor de base de datos.");
    case Clase::ConexionRechazada:
        return QStringLiteral("No se pudo llegar a la base de datos.");
    case Clase::SinRespuesta:
        return QStringLiteral("El servidor de base de datos no respondió a tiempo.");
    }
    return QString();
}

// The engine's text may quote a whole refused value.
QString ErrorDeMotor::describir(Clase clase, const QString &textoCompleto)
{
    const QString textoMotor = modTexto::paraMensaje(textoCompleto);
    const QString lead = frase(clase);
    if (lead.isEmpty())
        return textoMotor;
    if (textoMotor.isEmpty())
        return lead;
    return lead + QLatin1Char(' ') + textoMotor;
}
