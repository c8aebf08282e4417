#include "core/VersionInfo.h"

#include "core/BuildVersion.h"

namespace VersionInfo {
int major()
{
    return SORVANTA_VERSION_MAJOR;
}

int minor()
{
    return SORVANTA_VERSION_MINOR;
}

int revision()
{
    return SORVANTA_VERSION_PATCH;
}

QString fileDescription()
{
    return QStringLiteral(SORVANTA_FILE_DESCRIPTION);
}

QString text()
{
    return QString::number(major()) + QLatin1Char('.') + QString::number(minor()) + QLatin1Char('.')
           + QString::number(revision());
}

QString appTitle()
{
    return QStringLiteral("Sorvanta");
}
} // namespace VersionInfo
