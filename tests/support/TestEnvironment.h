#pragma once

#include <QString>
#include <QTemporaryDir>

// Points the per-user configuration, data and settings folders at a fresh temporary
// folder, so no test reads or writes the operator's own files. Create one per test case.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment &) = delete;
    TestEnvironment &operator=(const TestEnvironment &) = delete;

    QString root() const { return m_dir.path(); }
    QString configDir() const;
    QString dataDir() const;
    // A path inside root().
    QString path(const QString &relative) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    QByteArray m_oldData;
};
