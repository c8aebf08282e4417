#include "review/ProcesarArticulos.h"

#include "catalog/RegArticulo.h"
#include "catalog/modEntidadCatalogo.h"
#include "common/modGlobal.h"
#include "common/modTexto.h"
#include "mapping/MapaCampos.h"
#include "mapping/SetearCampos.h"
#include "platform/AppError.h"
#include "platform/AvanceVisible.h"
#include "platform/ErrorNumbers.h"
#include "platform/ErrorText.h"
#include "platform/FlexGrid.h"
#include "platform/MsgBox.h"
#include "platform/ReviewList.h"
#include "review/NuevoArticulo.h"
#include "review/ObtenerPaisOrigen.h"
#include "review/QuitarGuiones.h"

#include <QCheckBox>
#include <QHash>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {
using modTexto::aNumero;
using modTexto::numeroComoTexto;
using modTexto::sinApostrofes;

struct ColumnaRevision {
    const char *titulo;
    int anchoTwips;
};

constexpr ColumnaRevision kColumnas[] = {
    {"ARTICULOS", 2300},   {"DESCRIPCION", 2300},    {"DESCRIPCION_MARIA", 2000}, {"NCM", 2000},
    {"ESTADO", 2000},      {"NCM CATALOGO", 1440},   {"Anexo Descripcion", 1440}, {"Kilos Unitario", 1440},
    {"Pais_Origen", 1440}, {"Observacion1", 1440},   {"Observacion2", 1440},      {"Observacion3", 1440},
    {"IdUnidad", 1440},    {"Sufijos", 1440},
};

// Existing articles show green from the code up to the origin country.
const QColor kVerdeExiste(0, 128, 0);
constexpr int kUltimaColumnaVerde = 8;

class Procesador {
public:
    explicit Procesador(ControlesProceso &c) : m_c(c), m_mapa(MapaCampos), m_avance(c.prgBar) {}

    void ejecutar()
    {
        SetearCampos(m_c.cboCatalogos, m_c.cboIdCatalogo, m_c.grid);
        m_mapa = MapaCampos;
        // A run that failed half-way left its items behind; they must not be listed twice.
        m_c.lstArticulos.clearItems();
        PrepararColumnasRevision(m_c.lstArticulos);

        const int filas = m_c.grid.rows();
        m_c.prgBar.setMinimum(1);
        m_c.prgBar.setMaximum(qMax(1, filas));
        m_c.prgBar.setValue(1);
        m_avance.comenzar();
        try {
            for (int r = 1; r < filas; ++r) {
                procesarFila(r);
                m_avance.avanzar(r, r == filas - 1);
            }
        } catch (...) {
            m_avance.mostrar();
            throw;
        }
        pasarARevision();
    }

private:
    QString celda(int fila, const CampoAsignado &campo) const
    {
        return m_c.grid.textMatrix(fila, campo.columna);
    }

    QString celdaLimpia(int fila, const CampoAsignado &campo) const
    {
        return campo.asignado ? sinApostrofes(celda(fila, campo)) : QString();
    }

    void procesarFila(int r)
    {
        RegArticulo art = NuevoArticulo();
        art.idarticulo = sinApostrofes(celda(r, m_mapa.ARTICULO));
        if (m_c.chk_removeguion.checkState() != Qt::Unchecked)
            art.idarticulo = QuitarGuiones(art.idarticulo);
        art.descripcion = celdaLimpia(r, m_mapa.DESCRIPCION);
        art.descripcion_maria = celdaLimpia(r, m_mapa.DESCRIPC_MARIA);
        art.anexo_descripcion = celdaLimpia(r, m_mapa.ANEXAR_DESCRIPCION);
        if (m_mapa.KILOS_UNITARIO.asignado)
            art.kilos_unitario = aNumero(celdaLimpia(r, m_mapa.KILOS_UNITARIO));
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
        art = modEntidadCatalogo::getArticuloenCatalogo(modGlobal::IdCatalogoActual, art);
        agregarItem(art);
    }

    // A sheet repeats few origin texts many times: a translation read from ORG in this run
    // is not asked for again. Answers from the dialog are not kept, since the operator may
    // have stored them under an edited text.
    QString paisDeOrigen(const QString &origen)
    {
        if (origen.isEmpty())
            return origen;
        const auto conocido = m_paises.constFind(origen);
        if (conocido != m_paises.constEnd())
            return *conocido;
        // The operator may be asked: the dialog's painting must show where the run stands.
        m_avance.fijar();
        bool desdeOrg = false;
        const QString pais = ObtenerPaisOrigen(origen, m_c.owner, &desdeOrg).ORI;
        if (desdeOrg)
            m_paises.insert(origen, pais);
        return pais;
    }

    void agregarItem(const RegArticulo &art)
    {
        ReviewList &lista = m_c.lstArticulos;
        const int item = lista.addItem(art.idarticulo);
        const QString textos[] = {art.descripcion,        art.descripcion_maria,
                                  art.ncm,                art.estado,
                                  art.ncm_catalogo,       art.anexo_descripcion,
                                  numeroComoTexto(art.kilos_unitario), art.idpais,
                                  art.observacion1,       art.observacion2,
                                  art.observacion3,       art.idunidad,
                                  art.sufijos};
        int sub = 1;
        for (const QString &texto : textos)
            lista.setSubItem(item, sub++, texto);
        lista.setChecked(item, true);
        if (art.estado == QLatin1String("Existe"))
            for (int k = 0; k <= kUltimaColumnaVerde; ++k)
                lista.setForeColor(item, k, kVerdeExiste);
    }

    void pasarARevision()
    {
        m_c.grid.hide();
        m_c.grid.setRows(1);
        m_c.lstArticulos.show();
        m_c.label1.hide();
        m_c.label2.show();
        m_c.cmd_Exportar.show();
    }

    ControlesProceso &m_c;
    RegMapaCampos m_mapa;
    AvanceVisible m_avance;
    QHash<QString, QString> m_paises;
};

} // namespace

void PrepararColumnasRevision(ReviewList &lista)
{
    if (lista.columnCount() > 0)
        return;
    for (const ColumnaRevision &columna : kColumnas)
        lista.addColumn(QString::fromLatin1(columna.titulo), columna.anchoTwips);
}

void ProcesarArticulos(ControlesProceso &controles)
{
    try {
        Procesador(controles).ejecutar();
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::seccion(e, QStringLiteral("ProcesarArticulos.frmMain.Sorvanta")),
                     MsgBox::Icon::Exclamation);
    }
}
