#pragma once

#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

// Points the per-user configuration, data and settings folders at a fresh temporary
// folder, so no test reads or writes the operator's own files. Create one per test case.
class TestEnvironment {
public:
    TestEnvironment() : m_oldConfig(qgetenv("XDG_CONFIG_HOME")), m_oldData(qgetenv("XDG_DATA_HOME"))
    {
        QDir().mkpath(configDir());
        QDir().mkpath(dataDir());
        qputenv("XDG_CONFIG_HOME", configDir().toUtf8());
        qputenv("XDG_DATA_HOME", dataDir().toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir());
    }
    ~TestEnvironment()
    {
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
        qputenv("XDG_DATA_HOME", m_oldData);
    }
    TestEnvironment(const TestEnvironment &) = delete;
    TestEnvironment &operator=(const TestEnvironment &) = delete;

    QString root() const { return m_dir.path(); }
    QString configDir() const { return m_dir.path() + QStringLiteral("/config"); }
    QString dataDir() const { return m_dir.path() + QStringLiteral("/data"); }
    // A path inside root().
    QString path(const QString &relative) const { return m_dir.path() + QLatin1Char('/') + relative; }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    QByteArray m_oldData;
};
