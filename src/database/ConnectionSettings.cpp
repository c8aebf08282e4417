#include "database/ConnectionSettings.h"

#include "core/AppError.h"
#include "core/modGlobal.h"
#include "database/DataAccessErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>

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

const QString kHidden = QStringLiteral("********");

// Keys whose value is a password: ours, and those of an ODBC or PostgreSQL connection string.
bool isPasswordKey(const QString &key)
{
    static const QStringList keys{QStringLiteral("clave"),      QStringLiteral("contraseña"),
                                  QStringLiteral("contrasena"), QStringLiteral("password"),
                                  QStringLiteral("passwd"),     QStringLiteral("pwd")};
    return keys.contains(key.trimmed().toLower());
}

// PWD=... and password=... inside a connection string: a {braced} or 'quoted' value, or
// up to the next ; or blank.
const QRegularExpression &embeddedPassword()
{
    static const QRegularExpression re(
        QStringLiteral("\\b(pwd|password|passwd)\\s*=\\s*(\\{[^}]*\\}?|'[^']*'?|[^;\\s]*)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

// A line as a message may show it: a password it holds is masked.
QString lineShown(const QString &line)
{
    const qsizetype keyEnd = line.indexOf(QRegularExpression(QStringLiteral("[\\s:=]")));
    if (keyEnd > 0 && isPasswordKey(line.left(keyEnd)))
        return line.left(keyEnd) + QLatin1Char(' ') + kHidden;
    QString shown = line;
    const QRegularExpression &re = embeddedPassword();
    for (auto m = re.match(shown); m.hasMatch(); m = re.match(shown, m.capturedStart() + 1))
        shown.replace(m.capturedStart(), m.capturedLength(), m.captured(1) + QLatin1Char('=') + kHidden);
    return shown;
}

bool holdsPassword(const Section &values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if ((isPasswordKey(it.key()) && !it.value().isEmpty()) || embeddedPassword().match(it.value()).hasMatch())
            return true;
    return false;
}

// A password in a file others may read or change is told, and the file still used.
void warnIfOpen(const QString &path, const QHash<QString, Section> &sections)
{
    const QFileDevice::Permissions open = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
                                          | QFileDevice::WriteOther;
    if (!(QFileInfo(path).permissions() & open))
        return;
    if (std::none_of(sections.cbegin(), sections.cend(), holdsPassword))
        return;
    modGlobal::AvisoDeError(
        QStringLiteral("La configuración de conexiones \"%1\" guarda una clave y otros usuarios del equipo pueden "
                       "leerla o cambiarla. Para que solo usted pueda leerla y cambiarla, ejecute:\n\nchmod 600 '%1'")
            .arg(path),
        QStringLiteral("Configuración de conexiones"));
}

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
                     .arg(path, lineShown(line)));
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
    warnIfOpen(path, sections);
    QHash<QString, EntitySettings> entities;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it)
        entities.insert(it.key(), entityFrom(it.key(), it.value(), path));
    for (const QString &name : requiredEntities())
        if (!entities.contains(name))
            fail(QStringLiteral("Falta la entidad \"%1\" en la configuración de conexiones \"%2\"").arg(name, path));
    return entities;
}
