#include "PrivateServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextStream>

namespace {
const QString kScript = QStringLiteral(SORVANTA_SOURCE_DIR "/scripts/pg-test-server.sh");
const QString kSchema = QStringLiteral(SORVANTA_SOURCE_DIR "/sql/postgres-catalogos.sql");
} // namespace

PrivateServer::PrivateServer(const QString &folder) : m_info(folder + QStringLiteral("/servidor.ini")) {}

PrivateServer::~PrivateServer()
{
    m_relay.reset();
    if (m_started)
        QProcess::execute(QStringLiteral("bash"), {kScript, QStringLiteral("stop"), m_info});
}

int PrivateServer::fromArguments(QStringList &arguments, const QString &home, QTextStream &err)
{
    const bool postgres = arguments.removeAll(QStringLiteral("--postgres")) > 0;
    m_fsync = arguments.removeAll(QStringLiteral("--fsync")) > 0;
    if (m_fsync && !postgres)
        return 2;
    int latencyMs = 0;
    const int latency = arguments.indexOf(QStringLiteral("--latencia"));
    if (latency >= 0) {
        bool ok = latency + 1 < arguments.size();
        latencyMs = ok ? arguments[latency + 1].toInt(&ok) : 0;
        if (!ok || latencyMs <= 0 || !postgres)
            return 2;
        arguments.remove(latency, 2);
    }
    if (!postgres)
        return 0;
    if (!start(err))
        return 1;
    // MS of round trip: half of it each way.
    if (latencyMs > 0) {
        m_relay = std::make_unique<LatencyRelay>(m_port.toUShort(), latencyMs * 500);
        if (!m_relay->puerto())
            return 1;
        m_port = QString::number(m_relay->puerto());
    }
    if (!createDatabase(QStringLiteral("sorvanta"), err)
        || !writeConfiguration(home + QStringLiteral("/config"), QStringLiteral("sorvanta")))
        return 1;
    return 0;
}

bool PrivateServer::start(QTextStream &err)
{
    QStringList args{kScript, QStringLiteral("start"), m_info};
    if (m_fsync)
        args << QStringLiteral("fsync");
    m_started = QProcess::execute(QStringLiteral("bash"), args) == 0;
    QFile file(m_info);
    if (!m_started || !file.open(QIODevice::ReadOnly)) {
        err << "could not start PostgreSQL with " << kScript << Qt::endl;
        return false;
    }
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("port=")))
            m_port = line.mid(5);
        else if (line.startsWith(QLatin1String("user=")))
            m_user = line.mid(5);
    }
    return !m_port.isEmpty();
}

bool PrivateServer::psql(const QString &database, const QStringList &arguments, QTextStream &err) const
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("psql"),
            QStringList{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                        QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                        QStringLiteral("-p"), m_port, QStringLiteral("-U"), m_user, QStringLiteral("-d"), database}
                + arguments);
    const bool ok = p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok)
        err << "psql failed: " << QString::fromLocal8Bit(p.readAll()) << Qt::endl;
    return ok;
}

bool PrivateServer::createDatabase(const QString &name, QTextStream &err) const
{
    return psql(QStringLiteral("postgres"), {QStringLiteral("-c"), QStringLiteral("create database ") + name}, err)
           && psql(name, {QStringLiteral("-f"), kSchema}, err);
}

// Points both entities of the program at database name of this server.
bool PrivateServer::writeConfiguration(const QString &configHome, const QString &name) const
{
    QDir().mkpath(configHome + QStringLiteral("/sorvanta"));
    QFile file(configHome + QStringLiteral("/sorvanta/conexiones.ini"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text;
    for (const char *entity : {"CATALOGOS", "SYSTABLAS"})
        text += QStringLiteral(
                    "[%1]\nDriver=QPSQL\nServidor=127.0.0.1\nPuerto=%2\nUsuario=%3\nBaseDatos=%4\nTipo=SQL\n\n")
                    .arg(QLatin1String(entity), m_port, m_user, name);
    return file.write(text.toUtf8()) > 0;
}
