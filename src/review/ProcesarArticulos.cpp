#include "review/ProcesarArticulos.h"

#include "core/AppError.h"
#include "core/ErrorText.h"
#include "core/modGlobal.h"
#include "mapping/SetearCampos.h"
#include "modelos/ReviewListModel.h"
#include "review/PreguntarConDialogo.h"
#include "review/ProcesoArticulos.h"
#include "widgets/AvanceVisible.h"
#include "widgets/FlexGrid.h"
#include "widgets/MsgBox.h"
#include "widgets/ReviewList.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

void pasarARevision(ControlesProceso &c)
{
    c.grid.hide();
    c.grid.setRows(1);
    c.lstArticulos.show();
    c.label1.hide();
    c.label2.show();
    c.cmd_Exportar.show();
}

void procesar(ControlesProceso &c)
{
    SetearCampos(c.cboCatalogos, c.cboIdCatalogo, c.grid);
    PrepararColumnasRevision(c.lstArticulos);
    const int filas = c.grid.rows();
    c.prgBar.setMinimum(1);
    c.prgBar.setMaximum(qMax(1, filas));
    c.prgBar.setValue(1);
    AvanceVisible avance(c.prgBar);
    avance.comenzar();
    const PreguntaPais dialogo = PreguntarConDialogo(c.owner);
    PasosProceso pasos;
    pasos.avance = [&avance](int fila, bool ultima) { avance.avanzar(fila, ultima); };
    pasos.preguntarPais = [&avance, &dialogo](const QString &valor) {
        // The dialog's painting must show where the run stands.
        avance.fijar();
        return dialogo(valor);
    };
    const OpcionesProceso opciones{modGlobal::IdCatalogoActual, c.chk_removeguion.checkState() != Qt::Unchecked};
    try {
        ProcesarFilas(*c.grid.gridModel(), MapaCampos, opciones, *c.lstArticulos.listModel(), pasos, c.vistaPrevia);
    } catch (...) {
        avance.mostrar();
        throw;
    }
    pasarARevision(c);
}

} // namespace

void PrepararColumnasRevision(ReviewList &lista)
{
    if (lista.columnCount() > 0)
        return;
    ReviewListModel columnas;
    PrepararColumnasRevision(columnas);
    for (int k = 0; k < columnas.columns(); ++k)
        lista.addColumn(columnas.columnTitle(k), columnas.columnWidthTwips(k));
}

void ProcesarArticulos(ControlesProceso &controles)
{
    try {
        procesar(controles);
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::seccion(e, QStringLiteral("ProcesarArticulos.frmMain.Sorvanta")),
                     MsgBox::Icon::Exclamation);
    }
}
