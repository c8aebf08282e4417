#include "catalog/DeshacerEnvio.h"

#include "catalog/FilasEnteras.h"
#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/modGlobal.h"
#include "core/modTexto.h"
#include "database/DataAccessManager.h"
#include "database/DatabaseConnection.h"
#include "database/FilaCodificada.h"

#include <QHash>
#include <optional>
#include <utility>

namespace {
using Estado = DiarioEnvios::Estado;

const QString kCatalogos = QStringLiteral("CATALOGOS");
constexpr int kCambiadosNombrados = 50;

[[noreturn]] void negar(const QString &motivo)
{
    throw AppError(ErrorNumbers::kValidation, QStringLiteral("Deshacer envío"), motivo);
}

QString delEnvio(const DiarioEnvios::Entrada &e)
{
    return QStringLiteral("El último envío al catálogo %1 (del %2, por %3)")
        .arg(modTexto::paraMensaje(e.catalogo), e.fecha, e.operador);
}

struct Articulo {
    // In FilaCodificada's bytes, as the journal keeps them and as the catalog's rows compare.
    QByteArray antes; // empty: the send inserted it
    QByteArray despues;
    QString codigo;
};

std::vector<Articulo> leerCambios(DiarioEnvios &diario, qint64 id)
{
    std::vector<Articulo> articulos;
    for (DiarioEnvios::Cambio &c : diario.cambios(id)) {
        Articulo a;
        a.codigo = FilaCodificada::textoEn(c.despues, 1);
        a.antes = std::move(c.antes);
        a.despues = std::move(c.despues);
        articulos.push_back(std::move(a));
    }
    return articulos;
}

QHash<QString, QByteArray> filasActuales(const DiarioEnvios::Entrada &e, const std::vector<Articulo> &articulos)
{
    QStringList codigos;
    codigos.reserve(qsizetype(articulos.size()));
    for (const Articulo &a : articulos)
        codigos << a.codigo;
    return FilasEnteras::leer(e.catalogo, codigos, e.tipoBase);
}

int igualesAlEnvio(const std::vector<Articulo> &articulos, const QHash<QString, QByteArray> &actuales)
{
    int iguales = 0;
    for (const Articulo &a : articulos) {
        const auto fila = actuales.constFind(a.codigo);
        iguales += fila != actuales.cend() && *fila == a.despues ? 1 : 0;
    }
    return iguales;
}

// The catalog held for the undo, which stands whole or not at all: unless confirmed, what it
// did goes back.
class TandaEntera {
public:
    explicit TandaEntera(const std::function<void(const QString &)> &aviso)
        : m_conexion(modGlobal::AccesoDatos->getDataConnectionByEntity(kCatalogos))
    {
        m_conexion->tandaEntera();
        try {
            m_conexion->comenzarTanda([&aviso] {
                if (aviso)
                    aviso(QStringLiteral("Esperando a que termine otro envío al catálogo…"));
            });
        } catch (const AppError &) {
            m_conexion->descartarTanda();
            throw;
        }
    }
    ~TandaEntera()
    {
        if (m_conexion)
            m_conexion->descartarTanda();
    }
    TandaEntera(const TandaEntera &) = delete;
    TandaEntera &operator=(const TandaEntera &) = delete;

    DatabaseConnection &conexion() { return *m_conexion; }
    void confirmar()
    {
        m_conexion->confirmarTanda();
        std::exchange(m_conexion, nullptr)->terminarTanda();
    }

private:
    std::shared_ptr<DatabaseConnection> m_conexion;
};

struct Deshacer {
    DatabaseConnection &conexion;
    const DiarioEnvios::Entrada &envio;
    std::vector<Articulo> &articulos;
    ResultadoDeshacer &resultado;
    const std::function<void(int, int)> &avance;
    // The articles a statement went for.
    std::vector<const Articulo *> tocados;

    void cambiado(const Articulo &a) { resultado.cambiados << a.codigo; }

    static Sentencia sentencia(const Articulo &a)
    {
        return a.antes.isEmpty() ? FilasEnteras::borrar(a.despues) : FilasEnteras::reponer(a.antes, a.despues);
    }

    void contar(const Articulo &a) { ++(a.antes.isEmpty() ? resultado.borrados : resultado.repuestos); }

    void avanzar(std::size_t hechos)
    {
        if (avance)
            avance(int(hechos), int(articulos.size()));
    }

    // One at a time, each statement tells whether it found the row as the send left it.
    void unoPorUno(const std::vector<const Articulo *> &lista)
    {
        for (const Articulo *a : lista) {
            avanzar(resultado.borrados + resultado.repuestos + resultado.cambiados.size());
            conexion.setSql(sentencia(*a));
            if (conexion.ejecutar() > 0)
                contar(*a);
            else
                cambiado(*a);
        }
    }

    // Each statement of a window tells how many rows it found, where the database says so;
    // where it does not, the catalog read again tells which found their row as the send left it.
    void enVentanas(int porEnvio)
    {
        std::vector<const Articulo *> ventana;
        std::vector<Sentencia> sentencias;
        std::vector<long> cuantos;
        const auto enviar = [&] {
            cuantos.clear();
            if (sentencias.empty())
                return;
            if (!conexion.ejecutarJuntas(sentencias, &cuantos)) {
                unoPorUno(ventana);
            } else if (cuantos.size() == ventana.size()) {
                for (std::size_t i = 0; i < ventana.size(); ++i)
                    cuantos[i] > 0 ? contar(*ventana[i]) : cambiado(*ventana[i]);
            } else {
                tocados.insert(tocados.end(), ventana.begin(), ventana.end());
            }
            ventana.clear();
            sentencias.clear();
        };
        for (const Articulo *a : std::exchange(tocados, {})) {
            ventana.push_back(a);
            sentencias.push_back(sentencia(*a));
            if (int(sentencias.size()) >= porEnvio) {
                enviar();
                avanzar(resultado.borrados + resultado.repuestos + resultado.cambiados.size() + tocados.size());
            }
        }
        enviar();
        if (tocados.empty())
            return;
        std::vector<Articulo> revisar;
        for (const Articulo *a : tocados)
            revisar.push_back(*a);
        const QHash<QString, QByteArray> ahora = filasActuales(envio, revisar);
        for (const Articulo *a : tocados) {
            const auto fila = ahora.constFind(a->codigo);
            const bool vuelto = a->antes.isEmpty() ? fila == ahora.cend() : fila != ahora.cend() && *fila == a->antes;
            if (vuelto)
                contar(*a);
            else
                cambiado(*a);
        }
    }

    // `actuales`: the catalog's rows, read in this run; without them every article gets its
    // statement, which finds its row or not.
    void ejecutar(const std::optional<QHash<QString, QByteArray>> &actuales)
    {
        for (const Articulo &a : articulos) {
            const auto fila = actuales ? actuales->constFind(a.codigo) : QHash<QString, QByteArray>::const_iterator();
            if (!actuales || (fila != actuales->cend() && *fila == a.despues))
                tocados.push_back(&a);
            else
                cambiado(a);
        }
        const int porEnvio = conexion.sentenciasPorEnvio();
        if (porEnvio > 1)
            enVentanas(porEnvio);
        else
            unoPorUno(std::exchange(tocados, {}));
    }
};
} // namespace

namespace {
// "1 artículo borrado", "2 artículos borrados".
QString contados(int cantidad, const char *uno, const char *varios)
{
    return QString::number(cantidad) + QLatin1Char(' ') + QString::fromUtf8(cantidad == 1 ? uno : varios);
}
} // namespace

QString ResultadoDeshacer::mensaje() const
{
    QString texto = QStringLiteral("Se deshizo el envío del %1 al catálogo %2: ")
                        .arg(envio.fecha, modTexto::paraMensaje(envio.catalogo))
                    + contados(borrados, "artículo borrado", "artículos borrados") + QStringLiteral(", ")
                    + contados(repuestos, "devuelto a como estaba", "devueltos a como estaban") + QLatin1Char('.');
    if (cambiados.isEmpty())
        return texto;
    QStringList nombrados;
    for (const QString &codigo : cambiados.mid(0, kCambiadosNombrados))
        nombrados << modTexto::paraMensaje(codigo);
    texto += QStringLiteral("\r\n")
             + contados(int(cambiados.size()), "artículo cambió después del envío y se dejó como está",
                        "artículos cambiaron después del envío y se dejaron como están")
             + QStringLiteral(": ") + nombrados.join(QStringLiteral(", "));
    if (cambiados.size() > kCambiadosNombrados)
        texto += QStringLiteral(" y %1 más").arg(cambiados.size() - kCambiadosNombrados);
    return texto;
}

ResultadoDeshacer DeshacerUltimoEnvio(const QString &idCatalogo, const std::function<void(const QString &)> &aviso,
                                      const std::function<void(int hechos, int total)> &avance)
{
    const DiarioEnvios::Entrada como = DiarioEnvios::nuevaEntrada(idCatalogo);
    DiarioEnvios diario;
    // Held before the journal is read: an undo and a send of the same catalog take turns.
    TandaEntera tanda(aviso);
    std::optional<DiarioEnvios::Entrada> envio = diario.ultimo(como);
    if (!envio)
        negar(QStringLiteral("No hay ningún envío al catálogo %1 que deshacer en esta conexión. No se cambió nada.")
                  .arg(modTexto::paraMensaje(idCatalogo)));
    if (envio->estado == Estado::Deshecho)
        negar(delEnvio(*envio)
              + QStringLiteral(" ya se deshizo; solo el último envío puede deshacerse, y una vez. "
                               "No se cambió nada."));
    std::vector<Articulo> articulos = leerCambios(diario, envio->id);
    // Each statement tells whether it found its row as the send left it: the catalog is read
    // first only where the send's state is in doubt.
    std::optional<QHash<QString, QByteArray>> actuales;
    if (envio->estado != Estado::Hecho)
        actuales = filasActuales(*envio, articulos);
    // A send or undo killed half way is judged by the catalog: a send's rows are there only
    // when its commit was.
    const bool comoLoDejo = !actuales || igualesAlEnvio(articulos, *actuales) > 0;
    if (envio->estado == Estado::Pendiente && !comoLoDejo) {
        diario.marcar(*envio, Estado::Descartado);
        negar(delEnvio(*envio)
              + QStringLiteral(" no llegó a guardarse en el catálogo: se interrumpió antes. Se "
                               "quitó del diario; no se cambió nada en el catálogo."));
    }
    if (envio->estado == Estado::Deshaciendo && !comoLoDejo) {
        diario.marcar(*envio, Estado::Deshecho);
        negar(delEnvio(*envio)
              + QStringLiteral(" ya se deshizo; solo el último envío puede deshacerse, y una vez. "
                               "No se cambió nada."));
    }
    if (envio->estado == Estado::Pendiente)
        diario.marcar(*envio, Estado::Hecho);
    diario.marcar(*envio, Estado::Deshaciendo);
    ResultadoDeshacer resultado;
    resultado.envio = *envio;
    Deshacer{tanda.conexion(), *envio, articulos, resultado, avance, {}}.ejecutar(actuales);
    resultado.cambiados.sort(Qt::CaseInsensitive);
    if (avance)
        avance(int(articulos.size()), int(articulos.size()));
    tanda.confirmar();
    try {
        diario.marcar(*envio, Estado::Deshecho);
    } catch (const AppError &) {
        // Left "undoing", the next undo finds the catalog as this one left it and says so.
    }
    return resultado;
}

std::vector<DiarioEnvios::Entrada> EnviosDeshacibles()
{
    DiarioEnvios diario;
    return diario.deshacibles(DiarioEnvios::nuevaEntrada(QString()));
}
