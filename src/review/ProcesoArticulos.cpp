#include "review/ProcesoArticulos.h"

#include "catalog/CambiosPrevistos.h"
#include "catalog/ConsultaCatalogo.h"
#include "catalog/ItemRevision.h"
#include "catalog/RegArticulo.h"
#include "catalog/VistaPrevia.h"
#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"
#include "core/modTexto.h"
#include "modelos/GridModel.h"
#include "modelos/ReviewListModel.h"
#include "review/NuevoArticulo.h"
#include "review/QuitarGuiones.h"

#include <QHash>
#include <QLocale>

namespace {
using modTexto::aNumero;
using modTexto::numeroComoTexto;
using modTexto::paraMensaje;
using modTexto::recortar;
using modTexto::sinApostrofes;

struct ColumnaRevision {
    const char *titulo;
    int anchoTwips;
};

constexpr ColumnaRevision kColumnas[] = {
    {"ARTICULOS", 2300},   {"DESCRIPCION", 2300},  {"DESCRIPCION_MARIA", 2000}, {"NCM", 2000},
    {"ESTADO", 2000},      {"NCM CATALOGO", 1440}, {"Anexo Descripcion", 1440}, {"Kilos Unitario", 1440},
    {"Pais_Origen", 1440}, {"Observacion1", 1440}, {"Observacion2", 1440},      {"Observacion3", 1440},
    {"IdUnidad", 1440},    {"Sufijos", 1440},
};

// Existing articles show green from the code up to the origin country.
constexpr ColorTexto kVerdeExiste(0, 128, 0);
constexpr int kUltimaColumnaVerde = 8;

// Grid column 0 is sheet column A; 26 is AA.
QString letrasDeColumna(int columna)
{
    QString letras;
    for (int n = columna + 1; n > 0; n = (n - 1) / 26)
        letras.prepend(QChar(u'A' + (n - 1) % 26));
    return letras;
}

class Procesador {
public:
    Procesador(const GridModel &grilla, const RegMapaCampos &mapa, const OpcionesProceso &opciones,
               ReviewListModel &lista, const PasosProceso &pasos, VistaPrevia *vista)
        : m_grilla(grilla), m_mapa(mapa), m_opciones(opciones), m_lista(lista), m_pasos(pasos), m_vista(vista),
          m_catalogo(
              opciones.idCatalogo, [this](int fila) { return codigo(fila); }, grilla.rows())
    {
    }

    void ejecutar()
    {
        modEntidadCatalogo::ExigirCatalogo(m_opciones.idCatalogo, QStringLiteral("No se procesó nada."));
        // A run that failed half-way left its items behind; they must not be listed twice.
        m_lista.clearItems();
        const int filas = m_grilla.rows();
        if (m_vista) {
            m_vista->limpiar();
            m_vista->reservar(filas - 1);
        }
        for (int r = 1; r < filas; ++r) {
            procesarFila(r);
            m_pasos.avance(r, r == filas - 1);
        }
    }

private:
    QString celda(int fila, const CampoAsignado &campo) const { return m_grilla.text(fila, campo.columna); }

    QString celdaLimpia(int fila, const CampoAsignado &campo) const
    {
        return campo.asignado ? sinApostrofes(celda(fila, campo)) : QString();
    }

    // Blanks around a code are no part of it: " A-1 " is looked up, listed and sent as "A-1",
    // and a code of blanks alone is no code.
    QString codigo(int fila) const
    {
        QString leido = recortar(sinApostrofes(celda(fila, m_mapa.ARTICULO)));
        return m_opciones.quitarGuiones ? recortar(QuitarGuiones(leido)) : leido;
    }

    // Only a finite number may reach a statement; the operator is told where the weight that
    // is not one stands (grid row r is sheet row r + 1).
    double peso(int fila, const CampoAsignado &campo) const
    {
        const QString texto = celdaLimpia(fila, campo);
        try {
            return aNumero(texto);
        } catch (const AppError &e) {
            throw AppError(e.number(), e.source(),
                           QStringLiteral("Peso no válido en la fila %1, columna %2: \"%3\". Se espera un número "
                                          "finito escrito como %4.")
                               .arg(fila + 1)
                               .arg(letrasDeColumna(campo.columna), paraMensaje(texto), QLocale().toString(1.5)));
        }
    }

    void procesarFila(int r)
    {
        RegArticulo art = NuevoArticulo();
        art.idarticulo = codigo(r);
        art.descripcion = celdaLimpia(r, m_mapa.DESCRIPCION);
        art.descripcion_maria = celdaLimpia(r, m_mapa.DESCRIPC_MARIA);
        art.anexo_descripcion = celdaLimpia(r, m_mapa.ANEXAR_DESCRIPCION);
        if (m_mapa.KILOS_UNITARIO.asignado)
            art.kilos_unitario = peso(r, m_mapa.KILOS_UNITARIO);
        art.idpais = paisDeOrigen(celdaLimpia(r, m_mapa.PAIS_ORIGEN));
        art.observacion1 = celdaLimpia(r, m_mapa.OBSERVACION1);
        art.observacion2 = celdaLimpia(r, m_mapa.OBSERVACION2);
        art.observacion3 = celdaLimpia(r, m_mapa.OBSERVACION3);
        art.idunidad = celdaLimpia(r, m_mapa.UNIDAD);
        art.sufijos = celdaLimpia(r, m_mapa.SUFIJOS);
        if (m_mapa.NCM.asignado)
            art.ncm = celda(r, m_mapa.NCM);
        if (art.idarticulo.isEmpty())
            return;
        std::optional<FilaCatalogo> fila = m_catalogo.completar(r, art);
        const int item = agregarItem(art);
        if (m_vista)
            prever(item, fila);
    }

    // Foreseen from the item as F12 will read it back, so both see the same values.
    void prever(int item, const std::optional<FilaCatalogo> &fila)
    {
        PrevisionArticulo prevision;
        if (m_lista.subItem(item, 4) == QLatin1String("Nuevo")) {
            m_vista->agregar(std::move(prevision)); // an insert: nothing to compare
            return;
        }
        try {
            prevision = PreverArticulo(m_opciones.idCatalogo, ArticuloDelItem(m_lista, item), fila,
                                       m_catalogo.tipoBase());
        } catch (const AppError &) {
            prevision.tipo = Prevision::SinFila;
        }
        m_vista->agregar(std::move(prevision));
    }

    // A sheet repeats few origin texts many times: a translation read from ORG in this run
    // is not asked for again. Answers given by the operator are not kept, since they may
    // have been stored under an edited text.
    QString paisDeOrigen(const QString &origen)
    {
        if (origen.isEmpty())
            return origen;
        const auto conocido = m_paises.constFind(origen);
        if (conocido != m_paises.constEnd())
            return *conocido;
        bool desdeOrg = false;
        const QString pais = ObtenerPaisOrigen(origen, m_pasos.preguntarPais, &desdeOrg).ORI;
        if (desdeOrg)
            m_paises.insert(origen, pais);
        return pais;
    }

    int agregarItem(const RegArticulo &art)
    {
        const int item = m_lista.addItem(art.idarticulo);
        const QString textos[] = {art.descripcion,
                                  art.descripcion_maria,
                                  art.ncm,
                                  art.estado,
                                  art.ncm_catalogo,
                                  art.anexo_descripcion,
                                  numeroComoTexto(art.kilos_unitario),
                                  art.idpais,
                                  art.observacion1,
                                  art.observacion2,
                                  art.observacion3,
                                  art.idunidad,
                                  art.sufijos};
        int sub = 1;
        for (const QString &texto : textos)
            m_lista.setSubItem(item, sub++, texto);
        m_lista.setChecked(item, true);
        if (art.estado == QLatin1String("Existe"))
            for (int k = 0; k <= kUltimaColumnaVerde; ++k)
                m_lista.setForeColor(item, k, kVerdeExiste);
        return item;
    }

    const GridModel &m_grilla;
    const RegMapaCampos &m_mapa;
    const OpcionesProceso &m_opciones;
    ReviewListModel &m_lista;
    const PasosProceso &m_pasos;
    VistaPrevia *m_vista;
    ConsultaCatalogo m_catalogo;
    QHash<QString, QString> m_paises;
};

} // namespace

void ProcesarFilas(const GridModel &grilla, const RegMapaCampos &mapa, const OpcionesProceso &opciones,
                   ReviewListModel &lista, const PasosProceso &pasos, VistaPrevia *vista)
{
    Procesador(grilla, mapa, opciones, lista, pasos, vista).ejecutar();
}

void PrepararColumnasRevision(ReviewListModel &lista)
{
    if (lista.columns() > 0)
        return;
    for (const ColumnaRevision &columna : kColumnas)
        lista.addColumn(QString::fromLatin1(columna.titulo), columna.anchoTwips);
}
