#include "lote/ArchivosLeidos.h"

#include "database/ConnectionSettings.h"
#include "database/DAMMain.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

QList<ArchivoLeido> ArchivosLeidos(const QString &hoja, const DataAccessManager &datos)
{
    QList<ArchivoLeido> leidos{{QStringLiteral("la planilla"), hoja}};
    const QString configuracion = ConnectionSettings::configFile();
    if (QFileInfo::exists(configuracion))
        leidos.append({QStringLiteral("la configuración de conexiones"), configuracion});
    const auto *dam = dynamic_cast<const DAMMain *>(&datos);
    if (!dam)
        return leidos;
    for (const QString &entidad : {QStringLiteral("CATALOGOS"), QStringLiteral("SYSTABLAS")}) {
        const EntitySettings s = dam->settings(entidad);
        if (s.driver == QLatin1String("QSQLITE"))
            leidos.append({QStringLiteral("la base de datos de la entidad %1").arg(entidad), s.database});
    }
    return leidos;
}

bool MismoArchivo(const QString &destino, const QString &leido)
{
    // stat follows links to the file itself; device and inode name it whatever the path.
    struct stat a {};
    struct stat b {};
    if (::stat(QFile::encodeName(destino).constData(), &a) != 0
        || ::stat(QFile::encodeName(leido).constData(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
