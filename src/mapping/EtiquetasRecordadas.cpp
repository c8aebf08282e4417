#include "mapping/EtiquetasRecordadas.h"

#include "mapping/CamposRecordados.h"
#include "mapping/SeleccionarCampo.h"
#include "widgets/FlexGrid.h"

namespace {
QStringList filaDeEncabezados(const FlexGrid &grid)
{
    QStringList textos;
    for (int c = 0; c < grid.cols(); ++c)
        textos << grid.textMatrix(0, c);
    return textos;
}
} // namespace

int EtiquetarRecordados(FlexGrid &grid, const QStringList &encabezadosHoja, const QString &idCatalogo)
{
    if (grid.rows() < 1)
        return 0;
    const CamposRecordados recordados(idCatalogo);
    int etiquetadas = 0;
    for (int c = 0; c < grid.cols() && c < encabezadosHoja.size(); ++c) {
        // A column the operator has labelled or cleared already keeps what they chose.
        if (grid.textMatrix(0, c) != encabezadosHoja[c])
            continue;
        const QString etiqueta = recordados.etiquetaPara(encabezadosHoja[c]);
        if (etiqueta.isEmpty() || etiqueta == encabezadosHoja[c])
            continue;
        EtiquetarColumna(grid, c, etiqueta);
        ++etiquetadas;
    }
    return etiquetadas;
}

void RecordarEtiquetas(const FlexGrid &grid, const QStringList &encabezadosHoja, const QString &idCatalogo)
{
    if (grid.rows() < 1)
        return;
    CamposRecordados(idCatalogo).recordar(encabezadosHoja, filaDeEncabezados(grid));
}

QString TextoCamposRecordados(int columnas)
{
    if (columnas == 1)
        return QStringLiteral("1 columna con el campo de la carga anterior (F1 para cambiar)");
    return QStringLiteral("%1 columnas con los campos de la carga anterior (F1 para cambiar)").arg(columnas);
}
