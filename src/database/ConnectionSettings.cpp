#include "database/ConnectionSettings.h"

#include "core/AppError.h"
#include "database/DataAccessErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace {

const QStringList &requiredEntities()
{
    static const QStringList names{QStringLiteral("CATALOGOS"), QStringLiteral("SYSTABLAS")};
    return names;
}

const QStringList &supportedDrivers()
{
    static const QStringList names{QStringLiteral("QSQLITE"), QStringLiteral("QPSQL"), QStringLiteral("QODBC")};
    return names;
}

[[noreturn]] void fail(const QString &description)
{
    throw AppError(DataAccessErrors::kConnection, DataAccessErrors::source(), description);
}

using Section = QHash<QString, QString>;

QHash<QString, Section> parseIni(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(QStringLiteral("No se pudo leer la configuración de conexiones \"%1\": %2").arg(path, file.errorString()));
    QString text = QString::fromUtf8(file.readAll());
    // Windows editors put a byte-order mark in front.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QHash<QString, Section> sections;
    QString current;
    int lineNumber = 0;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        ++lineNumber;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = line.mid(1, line.size() - 2).trimmed().toUpper();
            sections[current];
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || current.isEmpty())
            fail(QStringLiteral("Línea %1 de la configuración de conexiones \"%2\" no válida: %3")
                     .arg(lineNumber)
                     .arg(path, line));
        sections[current].insert(line.left(eq).trimmed().toLower(), line.mid(eq + 1).trimmed());
    }
    return sections;
}

EntitySettings entityFrom(const QString &name, const Section &values, const QString &path)
{
    EntitySettings e;
    e.entity = name;
    e.driver = values.value(QStringLiteral("driver")).toUpper();
    const QString where = QStringLiteral("la entidad \"%1\" de \"%2\"").arg(name, path);
    if (e.driver.isEmpty())
        fail(QStringLiteral("Falta el controlador (Driver) de %1").arg(where));
    if (!supportedDrivers().contains(e.driver))
        fail(QStringLiteral("El controlador \"%1\" de %2 no es válido; se admiten: %3")
                 .arg(e.driver, where, supportedDrivers().join(QStringLiteral(", "))));
    e.database = values.value(QStringLiteral("basedatos"));
    if (e.database.isEmpty())
        fail(QStringLiteral("Falta la base de datos (BaseDatos) de %1").arg(where));
    if (e.driver == QLatin1String("QSQLITE"))
        e.database = QFileInfo(QFileInfo(path).dir(), e.database).absoluteFilePath();
    e.host = values.value(QStringLiteral("servidor"));
    const QString port = values.value(QStringLiteral("puerto"));
    if (!port.isEmpty()) {
        bool ok = false;
        e.port = port.toInt(&ok);
        if (!ok || e.port <= 0 || e.port > 65535)
            fail(QStringLiteral("El puerto \"%1\" de %2 no es válido").arg(port, where));
    }
    e.user = values.value(QStringLiteral("usuario"));
    e.password = values.value(QStringLiteral("clave"));
    e.options = values.value(QStringLiteral("opciones"));
    const QString espera = values.value(QStringLiteral("esperamaxima"));
    if (!espera.isEmpty()) {
        bool ok = false;
        e.esperaMaxima = espera.toInt(&ok);
        if (!ok || e.esperaMaxima <= 0 || e.esperaMaxima > 86400)
            fail(QStringLiteral("La espera máxima \"%1\" de %2 no es válida: se esperan segundos, de 1 a 86400")
                     .arg(espera, where));
    }
    e.tag = values.value(QStringLiteral("tipo"), QStringLiteral("SQL"));
    if (e.tag != QLatin1String("SQL") && e.tag != QLatin1String("ACCESS"))
        fail(QStringLiteral("El tipo \"%1\" de %2 no es válido; se admiten SQL y ACCESS").arg(e.tag, where));
    e.dialect = SqlDialect::defaultFor(e.driver);
    const QString dialect = values.value(QStringLiteral("dialecto"));
    if (!dialect.isEmpty() && !SqlDialect::fromName(dialect, e.dialect))
        fail(QStringLiteral("El dialecto \"%1\" de %2 no es válido; se admiten native, sqlite y postgres")
                 .arg(dialect, where));
    return e;
}

} // namespace

QString ConnectionSettings::configFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/sorvanta/conexiones.ini");
}

QString ConnectionSettings::dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/sorvanta");
}

QHash<QString, EntitySettings> ConnectionSettings::read(const QString &path)
{
    const QHash<QString, Section> sections = parseIni(path);
    QHash<QString, EntitySettings> entities;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it)
        entities.insert(it.key(), entityFrom(it.key(), it.value(), path));
    for (const QString &name : requiredEntities())
        if (!entities.contains(name))
            fail(QStringLiteral("Falta la entidad \"%1\" en la configuración de conexiones \"%2\"").arg(name, path));
    return entities;
}
