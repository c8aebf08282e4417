#include "SendCommand.h"

#include "PrivateServer.h"
#include "ProcessCommand.h"

#include "app/frmMain.h"
#include "catalog/DeshacerEnvio.h"
#include "catalog/EnvioArticulos.h"
#include "core/AppError.h"
#include "core/modGlobal.h"
#include "database/DataAccessManager.h"
#include "widgets/ReviewList.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <map>

namespace SendCommand {
namespace {

// Where the time of a run goes: commands, queries, and their numbers.
struct Tally {
    long commands = 0;
    long queries = 0;
    long windows = 0; // commands sent together, in one round trip
    qint64 commandNs = 0;
    qint64 queryNs = 0;
    qint64 commitNs = 0; // the run's last commit
};

// Counts and times what runs through the real connections, changing nothing else.
class CountingConnection : public DatabaseConnection {
public:
    CountingConnection(std::shared_ptr<DatabaseConnection> real, Tally &tally, bool oneByOne)
        : m_real(std::move(real)), m_tally(tally), m_oneByOne(oneByOne)
    {
    }
    void setSql(const Sentencia &statement) override { m_real->setSql(statement); }
    QString sql() const override { return m_real->sql(); }
    void comenzarTanda(const std::function<void()> &alEsperar) override { m_real->comenzarTanda(alEsperar); }
    void confirmarTanda() override
    {
        QElapsedTimer clock;
        clock.start();
        m_real->confirmarTanda();
        m_tally.commitNs += clock.nsecsElapsed();
    }
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
    bool leerCodificadas(std::vector<QByteArray> &rows) override
    {
        QElapsedTimer clock;
        clock.start();
        const bool found = m_real->leerCodificadas(rows);
        m_tally.queryNs += clock.nsecsElapsed();
        ++m_tally.queries;
        return found;
    }
    bool leerEnUnaPasada(const QString &tabla, qsizetype rows) override
    {
        QElapsedTimer clock;
        clock.start();
        const bool once = m_real->leerEnUnaPasada(tabla, rows);
        m_tally.queryNs += clock.nsecsElapsed();
        ++m_tally.queries;
        return once;
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
    bool tandaPerdida() const override { return m_real->tandaPerdida(); }
    void tandaEntera() override { m_real->tandaEntera(); }
    void descartarTanda() override { m_real->descartarTanda(); }
    bool capturarCambios(const QString &tabla, const QStringList &columnas) override
    {
        return m_real->capturarCambios(tabla, columnas);
    }
    CambiosCapturados cambiosCapturados() override { return m_real->cambiosCapturados(); }
    void alConfirmar(std::function<void()> aviso) override { m_real->alConfirmar(std::move(aviso)); }
    int sentenciasPorEnvio() const override { return m_oneByOne ? 1 : m_real->sentenciasPorEnvio(); }
    bool ejecutarJuntas(const std::vector<Sentencia> &sentencias, std::vector<long> *changed = nullptr) override
    {
        QElapsedTimer clock;
        clock.start();
        const bool done = m_real->ejecutarJuntas(sentencias, changed);
        m_tally.commandNs += clock.nsecsElapsed();
        m_tally.commands += done ? int(sentencias.size()) : 0;
        ++m_tally.windows;
        return done;
    }

private:
    std::shared_ptr<DatabaseConnection> m_real;
    Tally &m_tally;
    bool m_oneByOne;
};

class CountingAccess : public DataAccessManager {
public:
    CountingAccess(std::shared_ptr<DataAccessManager> real, bool oneByOne)
        : m_real(std::move(real)), m_oneByOne(oneByOne)
    {
    }
    void LoadParameters() override {}
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &entity) override
    {
        auto real = m_real->getDataConnectionByEntity(entity);
        auto &wrapped = m_wrapped[entity];
        if (!wrapped.second || wrapped.first != real)
            wrapped = {real, std::make_shared<CountingConnection>(real, m_tally, m_oneByOne)};
        return wrapped.second;
    }
    QString getDataConnectionTAG(const QString &entity) override { return m_real->getDataConnectionTAG(entity); }
    const Tally &tally() const { return m_tally; }

private:
    std::shared_ptr<DataAccessManager> m_real;
    bool m_oneByOne;
    std::map<QString, std::pair<std::shared_ptr<DatabaseConnection>, std::shared_ptr<DatabaseConnection>>> m_wrapped;
    Tally m_tally;
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

// F12's operation on the reviewed list, as the window's F12 calls it, without the window's
// progress painting: the seconds until it ended, and its closing message or its failure.
double pressF12(frmMain &window, QString &message)
{
    ResumenEnvio resumen;
    QElapsedTimer clock;
    clock.start();
    try {
        EnviarArticulos(
            *window.lstArticulos()->listModel(), modGlobal::IdCatalogoActual, [](int, bool) {}, resumen);
        message = QStringLiteral("Artículos enviados al catálogo ") + modGlobal::IdCatalogoActual;
    } catch (const AppError &e) {
        message = e.description();
    }
    return double(clock.nsecsElapsed()) / 1e9;
}
// The undo of the send just made: its seconds, or -1 when it failed.
double timeUndo(QTextStream &err)
{
    QElapsedTimer clock;
    clock.start();
    try {
        const ResultadoDeshacer hecho = DeshacerUltimoEnvio(modGlobal::IdCatalogoActual);
        err << hecho.mensaje().left(200) << Qt::endl;
    } catch (const AppError &e) {
        err << e.description() << Qt::endl;
        return -1;
    }
    return double(clock.nsecsElapsed()) / 1e9;
}
} // namespace

int run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList rest = arguments;
    // Each statement in its own round trip, as the run went before windows: the figure to compare.
    const bool oneByOne = rest.removeAll(QStringLiteral("--una-por-una")) > 0;
    // Without the journal of sends (its folder cannot be made): what the journal costs.
    const bool noJournal = rest.removeAll(QStringLiteral("--sin-diario")) > 0;
    // Without psql's floor: side-by-side runs need only the send's own seconds.
    const bool noFloor = rest.removeAll(QStringLiteral("--sin-piso")) > 0;
    QTemporaryDir home;
    PrivateServer server(home.path());
    const int prepared = server.fromArguments(rest, home.path(), err);
    if (prepared != 0 || rest.size() != 1) {
        err << "usage: sorvanta-bench send [--una-por-una] [--sin-diario] [--sin-piso] " << PrivateServer::kUsage
            << " FILE" << Qt::endl;
        return prepared ? prepared : 2;
    }
    const bool postgres = server.started();
    {
        frmMain window;
        if (!ProcessCommand::prepare(rest.first(), window, home) || ProcessCommand::pressF11(window) < 0)
            return 1;
        QString message;
        if (noJournal) {
            QFile blocker(home.path() + QStringLiteral("/sin-diario"));
            blocker.open(QIODevice::WriteOnly);
            qputenv("XDG_DATA_HOME", (blocker.fileName() + QStringLiteral("/data")).toUtf8());
        }
        auto counting = std::make_shared<CountingAccess>(modGlobal::AccesoDatos, oneByOne);
        modGlobal::AccesoDatos = counting;
        const double seconds = pressF12(window, message);
        const Tally &tally = counting->tally();
        const long statements = tally.commands;
        err << "commands " << tally.commands << " in " << QString::number(double(tally.commandNs) / 1e9, 'f', 3)
            << " s (" << tally.windows << " windows), queries " << tally.queries << " in "
            << QString::number(double(tally.queryNs) / 1e9, 'f', 3) << " s, commit in "
            << QString::number(double(tally.commitNs) / 1e9, 'f', 3) << " s" << Qt::endl;
        QString line = QStringLiteral("send_s=%1 statements=%2 items=%3")
                           .arg(QString::number(seconds, 'f', 3))
                           .arg(statements)
                           .arg(window.lstArticulos()->itemCount());
        if (message != QStringLiteral("Artículos enviados al catálogo GEN")) {
            err << message << Qt::endl << line << Qt::endl;
            return 1;
        }
        const Tally sent = tally;
        const double undo = noJournal ? 0 : timeUndo(err);
        err << "undo: commands " << tally.commands - sent.commands << " in "
            << QString::number(double(tally.commandNs - sent.commandNs) / 1e9, 'f', 3) << " s ("
            << tally.windows - sent.windows << " windows), queries " << tally.queries - sent.queries << " in "
            << QString::number(double(tally.queryNs - sent.queryNs) / 1e9, 'f', 3) << " s, commit in "
            << QString::number(double(tally.commitNs - sent.commitNs) / 1e9, 'f', 3) << " s" << Qt::endl;
        if (undo < 0) {
            err << line << Qt::endl;
            return 1;
        }
        line += QStringLiteral(" undo_s=%1").arg(QString::number(undo, 'f', 3));
        if (!postgres || noFloor) {
            out << line << Qt::endl;
            return 0;
        }
        err << line << Qt::endl;
        const double floor = psqlFloor(server, home.path(), statements, err);
        out << line << " floor_s=" << QString::number(floor, 'f', 3)
            << " ratio=" << QString::number(floor > 0 ? seconds / floor : 0, 'f', 2) << Qt::endl;
        return floor < 0 ? 1 : 0;
    }
}
} // namespace SendCommand
