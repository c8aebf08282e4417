#include "SendCommand.h"

#include "LatencyRelay.h"
#include "ProcessCommand.h"

#include "app/frmMain.h"
#include "common/modGlobal.h"
#include "external/DataAccessManager.h"
#include "platform/MsgBox.h"
#include "platform/ReviewList.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <map>

namespace SendCommand {
namespace {
const QString kScript = QStringLiteral(SORVANTA_SOURCE_DIR "/scripts/pg-test-server.sh");
const QString kSchema = QStringLiteral(SORVANTA_SOURCE_DIR "/sql/postgres-catalogos.sql");

// Where the time of a run goes: commands, queries, and their numbers.
struct Tally {
    long commands = 0;
    long queries = 0;
    qint64 commandNs = 0;
    qint64 queryNs = 0;
};

// Counts and times what runs through the real connections, changing nothing else.
class CountingConnection : public DatabaseConnection {
public:
    CountingConnection(std::shared_ptr<DatabaseConnection> real, Tally &tally) : m_real(std::move(real)), m_tally(tally)
    {
    }
    void setSql(const QString &statement) override { m_real->setSql(statement); }
    QString sql() const override { return m_real->sql(); }
    void comenzarTanda() override { m_real->comenzarTanda(); }
    void terminarTanda() override { m_real->terminarTanda(); }
    bool crearRs(std::shared_ptr<Recordset> &rs) override
    {
        QElapsedTimer clock;
        clock.start();
        const bool found = m_real->crearRs(rs);
        m_tally.queryNs += clock.nsecsElapsed();
        ++m_tally.queries;
        return found;
    }
    long ejecutar() override
    {
        QElapsedTimer clock;
        clock.start();
        const long changed = m_real->ejecutar();
        m_tally.commandNs += clock.nsecsElapsed();
        ++m_tally.commands;
        return changed;
    }

private:
    std::shared_ptr<DatabaseConnection> m_real;
    Tally &m_tally;
};

class CountingAccess : public DataAccessManager {
public:
    explicit CountingAccess(std::shared_ptr<DataAccessManager> real) : m_real(std::move(real)) {}
    void LoadParameters() override {}
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &entity) override
    {
        auto real = m_real->getDataConnectionByEntity(entity);
        auto &wrapped = m_wrapped[entity];
        if (!wrapped.second || wrapped.first != real)
            wrapped = {real, std::make_shared<CountingConnection>(real, m_tally)};
        return wrapped.second;
    }
    QString getDataConnectionTAG(const QString &entity) override { return m_real->getDataConnectionTAG(entity); }
    const Tally &tally() const { return m_tally; }

private:
    std::shared_ptr<DataAccessManager> m_real;
    std::map<QString, std::pair<std::shared_ptr<DatabaseConnection>, std::shared_ptr<DatabaseConnection>>> m_wrapped;
    Tally m_tally;
};

// The private server of --postgres: started by the tests' script, stopped when this goes.
class PrivateServer {
public:
    explicit PrivateServer(const QString &folder) : m_info(folder + QStringLiteral("/servidor.ini")) {}
    ~PrivateServer()
    {
        if (m_started)
            QProcess::execute(QStringLiteral("bash"), {kScript, QStringLiteral("stop"), m_info});
    }
    bool start(QTextStream &err)
    {
        m_started = QProcess::execute(QStringLiteral("bash"), {kScript, QStringLiteral("start"), m_info}) == 0;
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
    quint16 port() const { return m_port.toUShort(); }
    // From now on psql and the program reach the server through another port (a relay's).
    void connectThrough(quint16 port) { m_port = QString::number(port); }
    // psql with the given arguments; false (after showing its output) when it failed.
    bool psql(const QString &database, const QStringList &arguments, QTextStream &err) const
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("psql"), QStringList{QStringLiteral("-X"), QStringLiteral("-q"),
                                                    QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                                                    QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                                                    QStringLiteral("-p"), m_port, QStringLiteral("-U"), m_user,
                                                    QStringLiteral("-d"), database}
                                            + arguments);
        const bool ok = p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (!ok)
            err << "psql failed: " << QString::fromLocal8Bit(p.readAll()) << Qt::endl;
        return ok;
    }
    bool createDatabase(const QString &name, QTextStream &err) const
    {
        return psql(QStringLiteral("postgres"), {QStringLiteral("-c"), QStringLiteral("create database ") + name}, err)
               && psql(name, {QStringLiteral("-f"), kSchema}, err);
    }
    // Points both entities of the program at database name of this server.
    bool writeConfiguration(const QString &configHome, const QString &name) const
    {
        QDir().mkpath(configHome + QStringLiteral("/sorvanta"));
        QFile file(configHome + QStringLiteral("/sorvanta/conexiones.ini"));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        QString text;
        for (const char *entity : {"CATALOGOS", "SYSTABLAS"})
            text += QStringLiteral("[%1]\nDriver=QPSQL\nServidor=127.0.0.1\nPuerto=%2\nUsuario=%3\nBaseDatos=%4\nTipo=SQL\n\n")
                        .arg(QLatin1String(entity), m_port, m_user, name);
        return file.write(text.toUtf8()) > 0;
    }

private:
    QString m_info;
    QString m_port;
    QString m_user;
    bool m_started = false;
};

// Seconds psql takes to send count single inserts, each its own transaction.
double psqlFloor(const PrivateServer &server, const QString &folder, long count, QTextStream &err)
{
    if (!server.createDatabase(QStringLiteral("floor"), err))
        return -1;
    const QString path = folder + QStringLiteral("/floor.sql");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    QTextStream script(&file);
    for (long i = 0; i < count; ++i)
        script << "insert into catarticulos (idcatalogo, idarticulo, descripcion, ncm, ArtKgUnitario, IdPais, USUARIO, "
                  "FECHA, observacion1) values ('GEN', 'ART-"
               << i << "', 'Articulo de prueba " << i
               << "', '8471.30.00', 1.25, 'ARG', 'Sorvanta - bench', current_timestamp, '');\n";
    script.flush();
    file.close();
    QElapsedTimer clock;
    clock.start();
    if (!server.psql(QStringLiteral("floor"), {QStringLiteral("-f"), path}, err))
        return -1;
    return double(clock.nsecsElapsed()) / 1e9;
}

// Presses F12 on the review step; the seconds until the run's closing message was shown.
double pressF12(frmMain &window)
{
    QElapsedTimer clock;
    clock.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
    QApplication::sendEvent(window.lstArticulos(), &press);
    return double(clock.nsecsElapsed()) / 1e9;
}
} // namespace

int run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList rest = arguments;
    const bool postgres = rest.removeAll(QStringLiteral("--postgres")) > 0;
    int latencyMs = 0;
    const int latency = rest.indexOf(QStringLiteral("--latencia"));
    if (latency >= 0 && latency + 1 < rest.size()) {
        latencyMs = rest[latency + 1].toInt();
        rest.remove(latency, 2);
    }
    if (rest.size() != 1 || (latencyMs > 0 && !postgres)) {
        err << "usage: sorvanta-bench send [--postgres [--latencia MS]] FILE" << Qt::endl;
        return 2;
    }
    QTemporaryDir home;
    PrivateServer server(home.path());
    std::unique_ptr<LatencyRelay> relay;
    if (postgres) {
        if (!server.start(err))
            return 1;
        // MS of round trip: half of it each way.
        if (latencyMs > 0) {
            relay = std::make_unique<LatencyRelay>(server.port(), latencyMs * 500);
            if (!relay->puerto())
                return 1;
            server.connectThrough(relay->puerto());
        }
        if (!server.createDatabase(QStringLiteral("sorvanta"), err)
            || !server.writeConfiguration(home.path() + QStringLiteral("/config"), QStringLiteral("sorvanta")))
            return 1;
    }
    {
        frmMain window;
        if (!ProcessCommand::prepare(rest.first(), window, home) || ProcessCommand::pressF11(window) < 0)
            return 1;
        // The run ends with one message: the closing one, or the failure.
        QString message;
        MsgBox::setHandler([&message](const QString &text, MsgBox::Icon, const QString &) { message = text; });
        auto counting = std::make_shared<CountingAccess>(modGlobal::AccesoDatos);
        modGlobal::AccesoDatos = counting;
        const double seconds = pressF12(window);
        const Tally &tally = counting->tally();
        const long statements = tally.commands;
        err << "commands " << tally.commands << " in " << QString::number(double(tally.commandNs) / 1e9, 'f', 3)
            << " s, queries " << tally.queries << " in " << QString::number(double(tally.queryNs) / 1e9, 'f', 3)
            << " s" << Qt::endl;
        MsgBox::setHandler([](const QString &text, MsgBox::Icon, const QString &) { qWarning("%s", qPrintable(text)); });
        const QString line = QStringLiteral("send_s=%1 statements=%2 items=%3")
                                 .arg(QString::number(seconds, 'f', 3))
                                 .arg(statements)
                                 .arg(window.lstArticulos()->itemCount());
        if (message != QStringLiteral("Artículos enviados al catálogo GEN")) {
            err << message << Qt::endl << line << Qt::endl;
            return 1;
        }
        if (!postgres) {
            out << line << Qt::endl;
            return 0;
        }
        err << line << Qt::endl;
        const double floor = psqlFloor(server, home.path(), statements, err);
        out << line << " floor_s=" << QString::number(floor, 'f', 3) << " ratio="
            << QString::number(floor > 0 ? seconds / floor : 0, 'f', 2) << Qt::endl;
        return floor < 0 ? 1 : 0;
    }
}
} // namespace SendCommand
