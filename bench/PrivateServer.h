#pragma once

#include "LatencyRelay.h"

#include <QString>
#include <QStringList>
#include <memory>

class QTextStream;

// The private PostgreSQL of --postgres: started by the tests' script, stopped when this goes;
// with --fsync waiting for the disk at commits as a real server does (the tests' server does
// not); with --latencia MS reached through a relay that adds MS of round trip.
class PrivateServer {
public:
    static constexpr const char *kUsage = "[--postgres [--fsync] [--latencia MS]]";

    explicit PrivateServer(const QString &folder);
    ~PrivateServer();
    PrivateServer(const PrivateServer &) = delete;
    PrivateServer &operator=(const PrivateServer &) = delete;

    // Takes --postgres, --fsync and --latencia MS out of `arguments`; with --postgres, starts the
    // server, makes database "sorvanta" and points the program's configuration under `home`
    // at it. 0 when done (or not asked for), 1 when the server failed, 2 for wrong options.
    int fromArguments(QStringList &arguments, const QString &home, QTextStream &err);
    bool started() const { return m_started; }

    // psql with the given arguments; false (after showing its output) when it failed.
    bool psql(const QString &database, const QStringList &arguments, QTextStream &err) const;
    // A database with the catalog schema.
    bool createDatabase(const QString &name, QTextStream &err) const;

private:
    bool start(QTextStream &err);
    bool writeConfiguration(const QString &configHome, const QString &name) const;

    QString m_info;
    QString m_port;
    QString m_user;
    bool m_started = false;
    bool m_fsync = false;
    std::unique_ptr<LatencyRelay> m_relay;
};
