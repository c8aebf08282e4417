#include "catalog/EnvioArticulos.h"

#include "catalog/CambiosPrevistos.h"
#include "catalog/ConsultaAnticipada.h"
#include "catalog/ItemRevision.h"
#include "catalog/RegArticulo.h"
#include "catalog/RegistroEnvio.h"
#include "catalog/VentanaEnvio.h"
#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/modGlobal.h"
#include "core/modTexto.h"
#include "database/DataAccessManager.h"
#include "database/DatabaseConnection.h"
#include "modelos/ReviewListModel.h"

namespace {
using modTexto::recortar;

const QString kCatalogos = QStringLiteral("CATALOGOS");
constexpr std::size_t kGrupoConVentanas = 256;

bool esNuevo(const QString &estado)
{
    return estado == QLatin1String("Nuevo");
}

void validarNcm(const RegArticulo &art)
{
    if (art.ncm.size() > 15)
        throw AppError(ErrorNumbers::kValidation, QStringLiteral("Validación datos"),
                       QStringLiteral(" NCM incorrecto  ") + modTexto::paraMensaje(art.ncm)
                           + QStringLiteral(" articulo ") + modTexto::paraMensaje(art.idarticulo));
}

// The statement builders know only these two kinds; with any other the insert would be
// empty and the run would report articles as sent that never were.
QString tipoDeBase()
{
    const QString tipo = modGlobal::AccesoDatos->getDataConnectionTAG(kCatalogos);
    if (tipo != QLatin1String("SQL") && tipo != QLatin1String("ACCESS"))
        throw AppError(ErrorNumbers::kValidation, QStringLiteral("Validación datos"),
                       QStringLiteral("Tipo de base de datos desconocido \"%1\" para la entidad CATALOGOS: "
                                      "se admiten SQL y ACCESS. No se envió el artículo.")
                           .arg(tipo));
    return tipo;
}

// The checked new articles, whose existence is asked again just before sending.
std::vector<ConsultaAnticipada::Pendiente> nuevosMarcados(const ReviewListModel &lista)
{
    std::vector<ConsultaAnticipada::Pendiente> nuevos;
    for (int i = 0; i < lista.itemCount(); ++i) {
        if (lista.isChecked(i) && esNuevo(lista.subItem(i, 4)))
            nuevos.emplace_back(i, CodigoDelItem(lista, i));
    }
    return nuevos;
}

Sentencia sentenciaPara(const RegArticulo &art, int i, const QString &idCatalogo, ConsultaAnticipada &consulta)
{
    if (esNuevo(art.estado)) {
        const QString tipo = tipoDeBase();
        if (consulta.ausente(i))
            return modEntidadCatalogo::getSQLInsertArticulo(idCatalogo, art, tipo);
        return modEntidadCatalogo::AgregarArticulo(idCatalogo, art, tipo);
    }
    if (NadaQueActualizar(art))
        return Sentencia();
    return modEntidadCatalogo::getSQLUpdateArticulo(idCatalogo, art, tipoDeBase());
}

// Holds the catalog for the run and always lets it go, even when the run stops half way.
// A run whose transaction went with its session reports nothing sent: none of it stands.
class Tanda {
public:
    Tanda(ResumenEnvio &resumen, const std::function<void()> &alEsperar)
        : m_conexion(modGlobal::AccesoDatos->getDataConnectionByEntity(kCatalogos)), m_resumen(resumen)
    {
        if (!m_conexion)
            return;
        try {
            m_conexion->comenzarTanda(alEsperar);
        } catch (const AppError &) {
            m_conexion->terminarTanda();
            throw;
        }
    }
    ~Tanda()
    {
        if (!m_conexion)
            return;
        if (m_conexion->tandaPerdida()) {
            m_resumen.enviados = 0;
            m_resumen.sinCambios = 0;
        }
        m_conexion->terminarTanda();
    }
    int sentenciasPorEnvio() const { return m_conexion ? m_conexion->sentenciasPorEnvio() : 1; }
    bool perdida() const { return m_conexion && m_conexion->tandaPerdida(); }
    // Commits what the run executed; raises AppError when that fails, and then no article
    // is to blame.
    void confirmar()
    {
        if (!m_conexion)
            return;
        try {
            m_conexion->confirmarTanda();
        } catch (const AppError &) {
            if (m_conexion->tandaPerdida())
                m_resumen.enCurso.clear();
            throw;
        }
    }
    Tanda(const Tanda &) = delete;
    Tanda &operator=(const Tanda &) = delete;

private:
    std::shared_ptr<DatabaseConnection> m_conexion;
    ResumenEnvio &m_resumen;
};

struct Envio {
    const ReviewListModel &lista;
    const QString &idCatalogo;
    ConsultaAnticipada &consulta;
    ResumenEnvio &resumen;
    VentanaEnvio &ventana;

    void item(int i)
    {
        resumen.enCurso.clear();
        const RegArticulo art = ArticuloDelItem(lista, i);
        validarNcm(art);
        resumen.enCurso = recortar(lista.subItem(i, 0));
        const bool nuevo = esNuevo(art.estado);
        if (nuevo && !consulta.sabidoAusente(i))
            ventana.antesDeLeer({art.idarticulo});
        const Sentencia sql = sentenciaPara(art, i, idCatalogo, consulta);
        if (sql.isEmpty())
            ventana.sinCambios(i);
        else if (nuevo)
            ventana.agregar(i, sql, resumen.enCurso, art.idarticulo,
                            [this, art] { return modEntidadCatalogo::AgregarArticulo(idCatalogo, art, tipoDeBase()); });
        else
            ventana.agregar(i, sql, resumen.enCurso, QString());
    }
};

// The catalog commits what the run wrote once the journal holds it, so that it can be undone.
void confirmar(Tanda &tanda, RegistroEnvio &registro)
{
    tanda.confirmar();
    registro.confirmado(tanda.perdida());
}

// The checked articles, as they are sent, or only the new ones.
QStringList codigosMarcados(const ReviewListModel &lista, bool soloNuevos = false)
{
    QStringList codigos;
    for (int i = 0; i < lista.itemCount(); ++i)
        if (lista.isChecked(i) && (!soloNuevos || esNuevo(lista.subItem(i, 4))))
            codigos << CodigoDelItem(lista, i);
    return codigos;
}

// Whatever stopped the run, what was executed before it stays written; a failure of that
// is the one to report.
void cerrarTrasParada(VentanaEnvio &ventana, Tanda &tanda, RegistroEnvio &registro)
{
    try {
        ventana.vaciar();
    } catch (const AppError &) {
        confirmar(tanda, registro);
        throw;
    }
    confirmar(tanda, registro);
}
} // namespace

void EnviarArticulos(const ReviewListModel &lista, const QString &idCatalogo,
                     const std::function<void(int item, bool ultimo)> &avance, ResumenEnvio &resumen,
                     const std::function<void(const QString &)> &aviso)
{
    modEntidadCatalogo::ExigirCatalogo(idCatalogo, QStringLiteral("No se envió nada."));
    // Made before the run holds the catalog, and gone after it lets go.
    RegistroEnvio registro(idCatalogo, codigosMarcados(lista), codigosMarcados(lista, true));
    Tanda tanda(resumen, [&aviso] {
        if (aviso)
            aviso(QStringLiteral("Esperando a que termine otro envío al catálogo…"));
    });
    registro.comenzar();
    const int porEnvio = tanda.sentenciasPorEnvio();
    // With windows a question costs a round trip of its own: longer groups.
    ConsultaAnticipada consulta(idCatalogo, nuevosMarcados(lista), porEnvio > 1 ? kGrupoConVentanas : 8);
    const int cantidad = lista.itemCount();
    VentanaEnvio ventana(porEnvio, resumen, avance, cantidad);
    // A read of the catalog must find written what went before it whenever that may change
    // its answer.
    consulta.antesDePreguntar([&ventana](const QStringList &codigos) { ventana.antesDeLeer(codigos); });
    if (registro.leeAlPreguntar())
        consulta.preguntarCon([&registro](const QStringList &codigos) { return registro.existeAlguno(codigos); });
    Envio envio{lista, idCatalogo, consulta, resumen, ventana};
    try {
        for (int i = 0; i < cantidad; ++i) {
            if (lista.isChecked(i))
                envio.item(i);
            else
                ventana.pasar(i);
        }
        ventana.vaciar();
    } catch (const AppError &) {
        try {
            cerrarTrasParada(ventana, tanda, registro);
        } catch (const AppError &) {
            resumen.sinDeshacer = registro.problema();
            throw;
        }
        resumen.sinDeshacer = registro.problema();
        throw;
    }
    confirmar(tanda, registro);
    resumen.sinDeshacer = registro.problema();
    resumen.enCurso.clear();
}
