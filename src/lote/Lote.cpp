#include "lote/Lote.h"

#include "catalog/DeshacerEnvio.h"
#include "catalog/EnvioArticulos.h"
#include "catalog/VistaPrevia.h"
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
#include "mapping/CamposRecordados.h"
#include "modelos/GridModel.h"
#include "modelos/ReviewListModel.h"
#include "report/TextoReporte.h"
#include "review/ProcesoArticulos.h"
#include "review/SugerenciaPais.h"
#include "review/TablaPaises.h"
#include "sheet/LecturaHoja.h"

#include <QFileInfo>
#include <QHash>
#include <QTextStream>
#include <algorithm>
#include <optional>

namespace {

// With no grid to fill, a run reads every row a workbook can hold, header included.
constexpr int kFilasLote = 1048576;
// Rows processed at a time: a grid of a whole million-row list would hold each cell as a text
// of its own, several times the sheet's size.
constexpr int kFilasPorTramo = 65534;

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
        if (m_a.deshacer)
            return deshacer(catalogoElegido());
        reporteNoPisaLoLeido();
        const QString catalogo = catalogoElegido();
        leerHoja();
        const RegMapaCampos mapa = mapaDeColumnas(catalogo);
        paisesConocidos();
        procesar(mapa, catalogo);
        if (!m_a.reporte.isEmpty())
            escribirReporte();
        if (!m_a.cambios.isEmpty())
            escribirCambios();
        if (m_a.revisar)
            m_salida << m_vista.textoTotales() << Qt::endl;
        else
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

    // The report and the changes replace their files whole: never one the run reads, whatever
    // path names it.
    void reporteNoPisaLoLeido()
    {
        const struct {
            const QString &ruta;
            QString que;
            QString opcion;
        } escritos[] = {{m_a.reporte, QStringLiteral("El reporte"), QStringLiteral("--reporte")},
                        {m_a.cambios, QStringLiteral("El archivo de cambios"), QStringLiteral("--cambios")}};
        for (const auto &escrito : escritos) {
            if (escrito.ruta.isEmpty())
                continue;
            for (const ArchivoLeido &leido : ArchivosLeidos(m_a.archivo, *modGlobal::AccesoDatos))
                if (MismoArchivo(escrito.ruta, leido.ruta))
                    fallar(QStringLiteral("%1 no puede guardarse en \"%2\": es %3 (\"%4\"), que sorvanta-lote "
                                          "lee, y se perdería. Indique otro archivo en %5.")
                               .arg(escrito.que, escrito.ruta, leido.que, leido.ruta, escrito.opcion),
                           SalidaLote::kArgumentos);
        }
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
        fallar(QStringLiteral("No existe el catálogo \"%1\". Catálogos: %2")
                   .arg(modTexto::paraMensaje(pedido), ids.join(QStringLiteral(", "))),
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
            hoja = LeerHoja(m_a.archivo, pasos, linea, kFilasLote);
        } catch (const AppError &e) {
            fallar(ErrorText::levantarExcel(e, linea));
        }
        if (hoja.filas <= 1)
            fallar(QStringLiteral("Archivo excel con Formato incorrecto, por favor edite el archivo y no deje "
                                  "muchas columnas vacias"));
        // Part of a list is not sent as if it were all of it.
        if (hoja.filasFuera > 0)
            fallar(QStringLiteral("La hoja tiene más de %1 filas, las que sorvanta-lote lee. Divida el archivo; no "
                                  "se envió nada.")
                       .arg(kFilasLote));
        // The header alone is a grid; the data rows wait as the block's text.
        m_texto = std::move(hoja.texto);
        m_texto.squeeze();
        m_inicioDatos = m_texto.indexOf(QLatin1Char('\r')) + 1;
        m_encabezado.resize(1, hoja.columnas);
        m_encabezado.paste(0, 0, 0, hoja.columnas - 1, m_texto.left(m_inicioDatos - 1));
        m_filasLeidas = hoja.filas - 1;
    }

    RegMapaCampos mapaDeColumnas(const QString &catalogo)
    {
        std::optional<CamposRecordados> recordados;
        if (m_a.camposRecordados)
            recordados.emplace(catalogo);
        QList<ColumnaRecordada> usadas;
        const auto contar = [&] {
            if (recordados)
                columnasRecordadas(usadas, catalogo);
        };
        try {
            const RegMapaCampos mapa = MapaLote(m_encabezado, m_a.campos, recordados ? &*recordados : nullptr, &usadas);
            contar();
            return mapa;
        } catch (const ArgumentosInvalidos &e) {
            contar();
            fallar(e.motivo(), SalidaLote::kArgumentos);
        } catch (const AppError &e) {
            contar();
            fallar(e.description(), SalidaLote::kArgumentos);
        }
    }

    // The columns that took a remembered field, told before the run goes on (or stops).
    void columnasRecordadas(const QList<ColumnaRecordada> &usadas, const QString &catalogo)
    {
        if (usadas.isEmpty()) {
            decir(QStringLiteral("Ningún encabezado tiene un campo recordado para el catálogo %1").arg(catalogo));
            return;
        }
        decir(QStringLiteral("Columnas con el campo de la carga anterior en el catálogo %1:").arg(catalogo));
        for (const ColumnaRecordada &c : usadas)
            decir(QStringLiteral("  %1 \"%2\": %3")
                      .arg(LetraDeColumna(c.columna), modTexto::paraMensaje(c.encabezado), c.etiqueta));
    }

    // Every --pais answer names a country the customs system has.
    void paisesConocidos()
    {
        QStringList ids;
        for (const TablaPaises::Pais &pais : TablaPaises::paises())
            ids << pais.id;
        for (const auto &[texto, id] : m_a.paises) {
            if (!ids.contains(id))
                fallar(QStringLiteral("El país \"%1\" de --pais %2=%1 no está en la tabla PAIS")
                           .arg(modTexto::paraMensaje(id), modTexto::paraMensaje(texto)),
                       SalidaLote::kArgumentos);
            m_respuestas.insert(modTexto::sinApostrofes(texto), id);
        }
    }

    // F11 over the rows, a stretch of them at a time, each stretch a grid of its own under the
    // header; their items join the review list in row order.
    void procesar(const RegMapaCampos &mapa, const QString &catalogo)
    {
        PrepararColumnasRevision(m_lista);
        qsizetype desde = m_inicioDatos;
        for (int primera = 1; primera <= m_filasLeidas; primera += kFilasPorTramo) {
            const int filas = std::min(kFilasPorTramo, m_filasLeidas - primera + 1);
            GridModel tramo;
            llenarTramo(tramo, desde, filas);
            ReviewListModel parcial;
            PrepararColumnasRevision(parcial);
            VistaPrevia vista;
            procesarTramo(tramo, primera - 1, mapa, catalogo, parcial, vista);
            agregarItems(parcial, vista);
        }
        // Every row is in the review list now: the sheet's text goes before the sending.
        m_texto = QString();
        if (m_desconocidos.isEmpty())
            return;
        decir(
            QStringLiteral("Orígenes que la base no conoce (indique su país con --pais TEXTO=ID; no se envió nada):"));
        for (const QString &texto : std::as_const(m_ordenDesconocidos))
            decir(QStringLiteral("  \"%1\", fila %2")
                      .arg(modTexto::paraMensaje(texto), QString::number(m_desconocidos.value(texto))));
        throw Fin{SalidaLote::kOrigenesDesconocidos};
    }

    // `filas` rows of the block from `desde` under the header; `desde` moves past them.
    void llenarTramo(GridModel &tramo, qsizetype &desde, int filas)
    {
        qsizetype hasta = desde;
        for (int i = 0; i < filas && hasta <= m_texto.size(); ++i) {
            const qsizetype fin = m_texto.indexOf(QLatin1Char('\r'), hasta);
            hasta = fin < 0 ? m_texto.size() + 1 : fin + 1;
        }
        tramo.resize(filas + 1, m_encabezado.cols());
        for (int c = 0; c < m_encabezado.cols(); ++c)
            tramo.setText(0, c, m_encabezado.text(0, c));
        tramo.paste(1, 0, filas, m_encabezado.cols() - 1, m_texto.mid(desde, hasta - 1 - desde));
        desde = hasta;
    }

    // `antes`: the data rows of the stretches before this one.
    void procesarTramo(const GridModel &tramo, int antes, const RegMapaCampos &mapa, const QString &catalogo,
                       ReviewListModel &parcial, VistaPrevia &vista)
    {
        int filaActual = antes + 1;
        PasosProceso pasos;
        pasos.avance = [&](int fila, bool ultima) {
            filaActual = antes + fila + 1;
            progreso(QStringLiteral("Procesando"), antes + fila, m_filasLeidas,
                     ultima && antes + fila == m_filasLeidas);
        };
        pasos.preguntarPais = [&](const QString &valor) { return pais(valor, filaActual); };
        try {
            ProcesarFilas(tramo, mapa, {catalogo, m_a.quitarGuiones}, parcial, pasos, &vista);
        } catch (const AppError &e) {
            agregarItems(parcial, vista);
            fallar(ErrorText::seccion(e, QStringLiteral("ProcesarArticulos.sorvanta-lote")));
        }
    }

    void agregarItems(const ReviewListModel &parcial, const VistaPrevia &vista)
    {
        m_vista.agregar(vista);
        for (int i = 0; i < parcial.itemCount(); ++i) {
            const int item = m_lista.addItem(parcial.subItem(i, 0));
            for (int sub = 1; sub < parcial.columns(); ++sub)
                m_lista.setSubItem(item, sub, parcial.subItem(i, sub));
            m_lista.setChecked(item, parcial.isChecked(i));
            for (int sub = 0; sub < parcial.columns(); ++sub)
                if (const ColorTexto color = parcial.foreColor(i, sub); color.isValid())
                    m_lista.setForeColor(item, sub, color);
        }
    }

    // The operator's answer given in advance (or the suggestion they accepted in advance),
    // stored as the country dialog stores it.
    RelacionPais pais(const QString &valor, int filaGrilla)
    {
        QString id = m_respuestas.value(valor);
        if (id.isEmpty() && m_a.paisesSugeridos) {
            id = sugerido(valor);
            if (!id.isEmpty())
                decir(QStringLiteral("País sugerido para \"%1\": %2").arg(modTexto::paraMensaje(valor), id));
        }
        if (id.isEmpty()) {
            if (!m_desconocidos.contains(valor)) {
                m_desconocidos.insert(valor, filaGrilla + 1);
                m_ordenDesconocidos << valor;
            }
            return {};
        }
        const QString esm = QStringLiteral("1");
        if (TablaPaises::guardarOrigen(valor, id, esm) <= 0)
            throw AppError(ErrorNumbers::kOriginCountry, QStringLiteral("ORG"),
                           QStringLiteral("La base no guardó el país de \"%1\"").arg(modTexto::paraMensaje(valor)));
        return {id, esm};
    }

    QString sugerido(const QString &valor)
    {
        if (!m_sugerencia)
            m_sugerencia.emplace(TablaPaises::paises());
        return m_sugerencia->idPara(valor);
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

    void escribirCambios()
    {
        try {
            auto manejo = ComponentRegistry::create<FileWriterComponent>(QStringLiteral("oFILES.clManejo"));
            manejo->setUbicacion_Archivo(m_a.cambios);
            manejo->Abrir_Archivo(2);
            manejo->Escribir(m_vista.textoCambios(m_lista));
            manejo->Cerrar_Archivo();
        } catch (const AppError &e) {
            fallar(ErrorText::seccion(e, QStringLiteral("EscribirCambios.sorvanta-lote")));
        }
    }

    void enviar(const QString &catalogo)
    {
        try {
            EnviarArticulos(
                m_lista, catalogo,
                [&](int item, bool ultimo) { progreso(QStringLiteral("Enviando"), item, m_lista.itemCount(), ultimo); },
                m_envio, [&](const QString &aviso) { decir(aviso); });
        } catch (const AppError &e) {
            QString texto = ErrorText::seccionEspaciada(e, QStringLiteral("EnviarCatalogos.sorvanta-lote"));
            if (!m_envio.enCurso.isEmpty())
                texto += QStringLiteral("\r\nArtículo que se estaba enviando: ")
                         + modTexto::paraMensaje(m_envio.enCurso);
            decir(texto);
            if (!m_envio.sinDeshacer.isEmpty())
                decir(m_envio.sinDeshacer);
            resumen();
            throw Fin{SalidaLote::kError};
        }
        if (!m_envio.sinDeshacer.isEmpty())
            decir(m_envio.sinDeshacer);
    }

    int deshacer(const QString &catalogo)
    {
        try {
            const ResultadoDeshacer hecho = DeshacerUltimoEnvio(
                catalogo, [&](const QString &aviso) { decir(aviso); },
                [&](int hechos, int total) {
                    progreso(QStringLiteral("Deshaciendo"), hechos, total, hechos == total);
                });
            m_salida << hecho.mensaje() << Qt::endl;
        } catch (const AppError &e) {
            if (e.number() == ErrorNumbers::kValidation)
                fallar(e.description());
            fallar(ErrorText::seccionEspaciada(e, QStringLiteral("DeshacerEnvio.sorvanta-lote"))
                   + QStringLiteral("\r\nNo se deshizo nada: el catálogo quedó como lo dejó el envío."));
        }
        return SalidaLote::kHecho;
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
                        .arg(m_filasLeidas)
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
    // The data rows as loading gives them (TAB/CR text) until processed, and the header row.
    QString m_texto;
    qsizetype m_inicioDatos = 0;
    GridModel m_encabezado;
    int m_filasLeidas = 0;
    ReviewListModel m_lista;
    // What F12 will do to each item of m_lista.
    VistaPrevia m_vista;
    ResumenEnvio m_envio;
    QHash<QString, QString> m_respuestas;
    QHash<QString, int> m_desconocidos;
    QStringList m_ordenDesconocidos;
    std::optional<SugerenciaPais> m_sugerencia;
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
    int estado = SalidaLote::kError;
    try {
        estado = Lote(a, salida, errores, terminal).ejecutar();
    } catch (const Fin &fin) {
        estado = fin.estado;
    } catch (const AppError &e) {
        errores << e.description() << "\r\n\r\n" << e.number() << " - " << e.source() << Qt::endl;
    }
    return estado;
}
