#include "app/CargarCatalogos.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/ErrorText.h"
#include "core/modGlobal.h"
#include "database/DataAccessManager.h"
#include "widgets/MsgBox.h"

#include <QComboBox>

namespace {
const QString kCatalogos = QStringLiteral("CATALOGOS");

QString idDeLaFila(const Recordset &rs)
{
    const QVariant id = rs.fields(QStringLiteral("idcatalogo"));
    if (id.isNull())
        throw AppError(ErrorNumbers::kInvalidUseOfNull, QStringLiteral("Sorvanta"),
                       QStringLiteral("Uso no válido de Null"));
    return id.toString();
}
} // namespace

namespace {
// A drop-down list selects its first entry by itself; the operator must choose.
struct SinSeleccion {
    QComboBox &a;
    QComboBox &b;
    ~SinSeleccion()
    {
        a.setCurrentIndex(-1);
        b.setCurrentIndex(-1);
    }
};
} // namespace

void CargarCatalogos(QComboBox &cboCatalogos, QComboBox &cboIdCatalogo)
{
    const SinSeleccion sinSeleccion{cboCatalogos, cboIdCatalogo};
    int linea = 1;
    try {
        DataAccessManager &datos = *modGlobal::AccesoDatos;
        datos.getDataConnectionByEntity(kCatalogos)
            ->setSql(QStringLiteral("select idcatalogo, descripcion from catalogo order by idcatalogo"));
        linea = 2;
        std::shared_ptr<Recordset> rs;
        if (!datos.getDataConnectionByEntity(kCatalogos)->crearRs(rs))
            return;
        for (linea = 3; !rs->eof(); rs->moveNext()) {
            const QString id = idDeLaFila(*rs);
            cboIdCatalogo.addItem(id);
            linea = 4;
            cboCatalogos.addItem(QStringLiteral("[") + id + QStringLiteral("] ")
                                 + rs->fields(QStringLiteral("Descripcion")).toString());
            linea = 3;
        }
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::seccion(e, QStringLiteral("CargarCatalogos.frmMain.Sorvanta"), linea));
    }
}
