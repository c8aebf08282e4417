#include "TestEnvironment.h"

#include <QDir>
#include <QSettings>

TestEnvironment::TestEnvironment()
    : m_oldConfig(qgetenv("XDG_CONFIG_HOME")), m_oldData(qgetenv("XDG_DATA_HOME"))
{
    QDir().mkpath(configDir());
    QDir().mkpath(dataDir());
    qputenv("XDG_CONFIG_HOME", configDir().toUtf8());
    qputenv("XDG_DATA_HOME", dataDir().toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir());
}

TestEnvironment::~TestEnvironment()
{
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("XDG_DATA_HOME", m_oldData);
}

QString TestEnvironment::configDir() const
{
    return m_dir.path() + QStringLiteral("/config");
}

QString TestEnvironment::dataDir() const
{
    return m_dir.path() + QStringLiteral("/data");
}

QString TestEnvironment::path(const QString &relative) const
{
    return m_dir.path() + QLatin1Char('/') + relative;
}
