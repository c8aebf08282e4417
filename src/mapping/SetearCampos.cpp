#include "mapping/SetearCampos.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/modGlobal.h"
#include "mapping/MapaCampos.h"
#include "widgets/FlexGrid.h"

#include <QComboBox>

namespace {

const QString kOrigen = QStringLiteral("Campos Excel");

void fijarCatalogo(QComboBox &cboCatalogos, QComboBox &cboIdCatalogo)
{
    const int indice = cboCatalogos.currentIndex();
    if (indice < 0)
        throw AppError(ErrorNumbers::kValidation, kOrigen, QStringLiteral("Falta seleccionar catalogo"));
    // The id list runs parallel to the names; an entry it lacks is a bad list index.
    if (indice >= cboIdCatalogo.count())
        throw AppError(ErrorNumbers::kInvalidPropertyValue, QStringLiteral("Sorvanta"),
                       QStringLiteral("Valor de propiedad no válido"));
    cboIdCatalogo.setCurrentIndex(indice);
    modGlobal::IdCatalogoActual = cboIdCatalogo.currentText();
}

QStringList encabezados(const FlexGrid &grid)
{
    QStringList textos;
    for (int c = 0; c < grid.cols(); ++c)
        textos << grid.textMatrix(0, c);
    return textos;
}

} // namespace

void SetearCampos(QComboBox &cboCatalogos, QComboBox &cboIdCatalogo, const FlexGrid &grid)
{
    try {
        fijarCatalogo(cboCatalogos, cboIdCatalogo);
        MapaCampos = MapaDeEncabezados(encabezados(grid));
        ValidarMapa(MapaCampos);
    } catch (const AppError &e) {
        throw e.rethrownAs(ErrorNumbers::kInnerOperation, QStringLiteral("[ SetearCampos.frmMain.Sorvanta Linea 0 ]"));
    }
}
