#include "mapping/SeleccionarCampo.h"

#include "core/AppError.h"
#include "core/ErrorText.h"
#include "core/modGlobal.h"
#include "mapping/CampoCatalogo.h"
#include "mapping/frmCampos.h"
#include "modelos/GridModel.h"
#include "widgets/FlexGrid.h"
#include "widgets/MsgBox.h"

namespace {

// The header is the only record of the assignment: a field's column stands out from the
// sheet's own headings.
void destacarEncabezado(FlexGrid &grid, int col)
{
    const ColorTexto granate(128, 0, 0);
    const bool negrita = true;
    grid.gridModel()->setFormat(0, col, 0, col, &granate, &negrita);
}

} // namespace

void SeleccionarCampo(FlexGrid &grid)
{
    try {
        modGlobal::CampoElegido.clear();
        frmCampos::instancia(grid.window()).exec();
        // The none-entry never goes into a header: an empty header stands for no field.
        if (modGlobal::CampoElegido == etiquetaCampo(CampoCatalogo::Ninguno))
            modGlobal::CampoElegido.clear();
        EtiquetarColumna(grid, grid.col(), modGlobal::CampoElegido);
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::seccion(e, QStringLiteral("SeleccionarCampo.frmMain.Sorvanta")));
    }
}

void EtiquetarColumna(FlexGrid &grid, int col, const QString &etiqueta)
{
    grid.setTextMatrix(0, col, etiqueta);
    if (!etiqueta.isEmpty())
        destacarEncabezado(grid, col);
}
