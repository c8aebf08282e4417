#include "lote/Lote.h"

#include "catalog/EnvioArticulos.h"
#include "components/ComponentRegistry.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/ErrorText.h"
#include "core/modGlobal.h"
#include "core/modTexto.h"
#include "database/DataAccessManager.h"
#include "files/FileWriterComponent.h"
#include "lote/ArchivosLeidos.h"
#include "lote/ArgumentosLote.h"
#include "lote/MapaLote.h"
#include "report/ExportarReporte.h"
#include "review/ProcesoArticulos.h"
#include "review/TablaPaises.h"
#include "sheet/LecturaHoja.h"
#include "widgets/GridModel.h"
#include "widgets/MsgBox.h"
#include "widgets/ReviewListModel.h"

#include <QFileInfo>
#include <QHash>
#include <QTextStream>

namespace {

// A stop that has been told to the operator already; carries the exit status.
struct Fin {
    int estado;
};

class Lote {
public:
    Lote(const ArgumentosLote &a, QTextStream &salida, QTextStream &errores, bool terminal)
        : m_a(a), m_salida(salida), m_errores(errores), m_terminal(terminal)
    {
    }

    int ejecutar()
    {
        prepararComponentes();
        reporteNoPisaLoLeido();
        const QString catalogo = catalogoElegido();
        leerHoja();
        const RegMapaCampos mapa = mapaDeColumnas();
        paisesConocidos();
        procesar(mapa, catalogo);
        if (!m_a.reporte.isEmpty())
            escribirReporte();
        if (!m_a.revisar)
            enviar(catalogo);
        resumen();
        return SalidaLote::kHecho;
    }

private:
    void decir(const QString &texto) { m_errores << texto << Qt::endl; }

    [[noreturn]] void fallar(const QString &texto, int estado = SalidaLote::kError)
    {
        decir(texto);
        throw Fin{estado};
    }

    void prepararComponentes()
    {
        modGlobal::UsuarioSesion = modGlobal::IdentidadSesion();
        if (modGlobal::UsuarioSesion.isEmpty())
            fallar(QStringLiteral("Existen problemas para identificar al usuario que realizará la modificación. "
                                  "Se abortara la operación."));
        modGlobal::AccesoDatos = ComponentRegistry::create<DataAccessManager>(
            QStringLiteral("DataAccessManager.DAMMain"));
        modGlobal::AccesoDatos->LoadParameters();
    }

    // The report replaces its file whole: never one the run reads, whatever path names it.
    void reporteNoPisaLoLeido()
    {
        if (m_a.reporte.isEmpty())
            return;
        for (const ArchivoLeido &leido : ArchivosLeidos(m_a.archivo, *modGlobal::AccesoDatos))
            if (MismoArchivo(m_a.reporte, leido.ruta))
                fallar(QStringLiteral("El reporte no puede guardarse en \"%1\": es %2 (\"%3\"), que sorvanta-lote "
                                      "lee, y se perdería. Indique otro archivo en --reporte.")
                           .arg(m_a.reporte, leido.que, leido.ruta),
                       SalidaLote::kArgumentos);
    }

    // The catalog as the database spells it; an unknown one is a wrong argument.
    QString catalogoElegido()
    {
        DataAccessManager &datos = *modGlobal::AccesoDatos;
        datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))
            ->setSql(QStringLiteral("select idcatalogo from catalogo order by idcatalogo"));
        std::shared_ptr<Recordset> rs;
        QStringList ids;
        if (datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->crearRs(rs))
            for (; !rs->eof(); rs->moveNext())
                ids << rs->fields(QStringLiteral("idcatalogo")).toString();
        const QString pedido = modTexto::recortar(m_a.catalogo);
        for (const QString &id : ids)
            if (id == pedido)
                return id;
        for (const QString &id : ids)
            if (id.compare(pedido, Qt::CaseInsensitive) == 0)
                return id;
        fallar(
            QStringLiteral("No existe el catálogo \"%1\". Catálogos: %2").arg(pedido, ids.join(QStringLiteral(", "))),
            SalidaLote::kArgumentos);
    }

    void leerHoja()
    {
        if (!QFileInfo::exists(m_a.archivo))
            fallar(QStringLiteral("No se encuentra el archivo seleccionado \r\n") + m_a.archivo);
        PasosLectura pasos;
        pasos.abierta = [] {};
        pasos.encabezado = [](int) {};
        pasos.avance = [](int, bool) {};
        int linea = 0;
        BloqueHoja hoja;
        try {
            hoja = LeerHoja(m_a.archivo, pasos, linea);
        } catch (const AppError &e) {
            fallar(ErrorText::levantarExcel(e, linea));
        }
        if (hoja.filas <= 1)
            fallar(QStringLiteral("Archivo excel con Formato incorrecto, por favor edite el archivo y no deje "
                                  "muchas columnas vacias"));
        if (hoja.filasFuera > 0)
            decir(MensajeFilasFuera(hoja.filasFuera));
        m_grilla.resize(hoja.filas, hoja.columnas);
        m_grilla.paste(0, 0, hoja.filas - 1, hoja.columnas - 1, hoja.texto);
    }

    RegMapaCampos mapaDeColumnas()
    {
        try {
            return MapaLote(m_grilla, m_a.campos);
        } catch (const ArgumentosInvalidos &e) {
            fallar(e.motivo(), SalidaLote::kArgumentos);
        } catch (const AppError &e) {
            fallar(e.description(), SalidaLote::kArgumentos);
        }
    }

    // Every --pais answer names a country the customs system has.
    void paisesConocidos()
    {
        QStringList ids;
        for (const TablaPaises::Pais &pais : TablaPaises::paises())
            ids << pais.id;
        for (const auto &[texto, id] : m_a.paises) {
            if (!ids.contains(id))
                fallar(QStringLiteral("El país \"%1\" de --pais %2=%1 no está en la tabla PAIS").arg(id, texto),
                       SalidaLote::kArgumentos);
            m_respuestas.insert(modTexto::sinApostrofes(texto), id);
        }
    }

    void procesar(const RegMapaCampos &mapa, const QString &catalogo)
    {
        PrepararColumnasRevision(m_lista);
        int filaActual = 1;
        PasosProceso pasos;
        pasos.avance = [&](int fila, bool ultima) {
            filaActual = fila + 1;
            progreso(QStringLiteral("Procesando"), fila, m_grilla.rows() - 1, ultima);
        };
        pasos.preguntarPais = [&](const QString &valor) { return pais(valor, filaActual); };
        try {
            ProcesarFilas(m_grilla, mapa, {catalogo, m_a.quitarGuiones}, m_lista, pasos);
        } catch (const AppError &e) {
            fallar(ErrorText::seccion(e, QStringLiteral("ProcesarArticulos.sorvanta-lote")));
        }
        if (m_desconocidos.isEmpty())
            return;
        decir(
            QStringLiteral("Orígenes que la base no conoce (indique su país con --pais TEXTO=ID; no se envió nada):"));
        for (const QString &texto : std::as_const(m_ordenDesconocidos))
            decir(QStringLiteral("  \"%1\", fila %2").arg(texto).arg(m_desconocidos.value(texto)));
        throw Fin{SalidaLote::kOrigenesDesconocidos};
    }

    // The operator's answer given in advance, stored as the country dialog stores it.
    RelacionPais pais(const QString &valor, int filaGrilla)
    {
        const auto respuesta = m_respuestas.constFind(valor);
        if (respuesta == m_respuestas.constEnd()) {
            if (!m_desconocidos.contains(valor)) {
                m_desconocidos.insert(valor, filaGrilla + 1);
                m_ordenDesconocidos << valor;
            }
            return {};
        }
        const QString esm = QStringLiteral("1");
        if (TablaPaises::guardarOrigen(valor, *respuesta, esm) <= 0)
            throw AppError(ErrorNumbers::kOriginCountry, QStringLiteral("ORG"),
                           QStringLiteral("La base no guardó el país de \"%1\"").arg(valor));
        return {*respuesta, esm};
    }

    void escribirReporte()
    {
        try {
            auto manejo = ComponentRegistry::create<FileWriterComponent>(QStringLiteral("oFILES.clManejo"));
            manejo->setUbicacion_Archivo(m_a.reporte);
            manejo->Abrir_Archivo(2);
            manejo->Escribir(TextoReporte(m_lista));
            manejo->Cerrar_Archivo();
        } catch (const AppError &e) {
            fallar(ErrorText::seccion(e, QStringLiteral("ExportarReporte.sorvanta-lote")));
        }
    }

    void enviar(const QString &catalogo)
    {
        try {
            EnviarArticulos(
                m_lista, catalogo,
                [&](int item, bool ultimo) { progreso(QStringLiteral("Enviando"), item, m_lista.itemCount(), ultimo); },
                m_envio);
        } catch (const AppError &e) {
            QString texto = ErrorText::seccionEspaciada(e, QStringLiteral("EnviarCatalogos.sorvanta-lote"));
            if (!m_envio.enCurso.isEmpty())
                texto += QStringLiteral("\r\nArtículo que se estaba enviando: ") + m_envio.enCurso;
            decir(texto);
            resumen();
            throw Fin{SalidaLote::kError};
        }
    }

    void progreso(const QString &que, int hecho, int total, bool ultimo)
    {
        if (!m_terminal || total <= 0)
            return;
        const int porciento = static_cast<int>(qint64(hecho) * 100 / total);
        if (porciento == m_ultimoPorciento && !ultimo)
            return;
        m_ultimoPorciento = ultimo ? -1 : porciento;
        m_errores << '\r' << que << ' ' << porciento << " %" << (ultimo ? "\n" : "") << Qt::flush;
    }

    void resumen()
    {
        int nuevos = 0;
        for (int i = 0; i < m_lista.itemCount(); ++i)
            nuevos += m_lista.subItem(i, 4) == QLatin1String("Nuevo") ? 1 : 0;
        m_salida << QStringLiteral("Filas leídas: %1; artículos: %2; nuevos: %3; existentes: %4; enviados: %5; "
                                   "sin cambios: %6")
                        .arg(m_grilla.rows() - 1)
                        .arg(m_lista.itemCount())
                        .arg(nuevos)
                        .arg(m_lista.itemCount() - nuevos)
                        .arg(m_envio.enviados)
                        .arg(m_envio.sinCambios)
                 << Qt::endl;
    }

    const ArgumentosLote &m_a;
    QTextStream &m_salida;
    QTextStream &m_errores;
    bool m_terminal;
    GridModel m_grilla;
    ReviewListModel m_lista;
    ResumenEnvio m_envio;
    QHash<QString, QString> m_respuestas;
    QHash<QString, int> m_desconocidos;
    QStringList m_ordenDesconocidos;
    int m_ultimoPorciento = -1;
};

} // namespace

int EjecutarLote(const QStringList &argumentos, QTextStream &salida, QTextStream &errores, bool terminal)
{
    ArgumentosLote a;
    try {
        a = LeerArgumentos(argumentos);
    } catch (const ArgumentosInvalidos &e) {
        errores << e.motivo() << "\n\n" << UsoLote() << Qt::flush;
        return SalidaLote::kArgumentos;
    }
    if (a.ayuda) {
        salida << UsoLote() << Qt::flush;
        return SalidaLote::kHecho;
    }
    // Nothing here may open a window: whatever a lower layer would show goes to the terminal.
    MsgBox::setHandler(
        [&errores](const QString &texto, MsgBox::Icon, const QString &) { errores << texto << Qt::endl; });
    int estado = SalidaLote::kError;
    try {
        estado = Lote(a, salida, errores, terminal).ejecutar();
    } catch (const Fin &fin) {
        estado = fin.estado;
    } catch (const AppError &e) {
        errores << e.description() << "\r\n\r\n" << e.number() << " - " << e.source() << Qt::endl;
    }
    MsgBox::setHandler({});
    return estado;
}
