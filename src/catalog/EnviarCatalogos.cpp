#include "catalog/EnviarCatalogos.h"

#include "catalog/EnvioArticulos.h"
#include "core/AppError.h"
#include "core/ErrorText.h"
#include "core/modGlobal.h"
#include "core/modTexto.h"
#include "widgets/AvanceVisible.h"
#include "widgets/MsgBox.h"
#include "widgets/ReviewList.h"

#include <QProgressBar>

bool EnviarCatalogos(ReviewList &lstArticulos, QProgressBar &prgBar)
{
    if (lstArticulos.itemCount() == 0) {
        MsgBox::show(QStringLiteral("No hay artículos para procesar contra el catálogo"), MsgBox::Icon::Exclamation);
        return false;
    }
    ResumenEnvio resumen;
    AvanceVisible avance(prgBar);
    try {
        prgBar.setMinimum(0);
        prgBar.setValue(0);
        prgBar.setMaximum(lstArticulos.itemCount());
        avance.comenzar();
        EnviarArticulos(
            *lstArticulos.listModel(), modGlobal::IdCatalogoActual,
            [&avance](int item, bool ultimo) { avance.avanzar(item, ultimo); }, resumen);
    } catch (const AppError &e) {
        avance.fijar();
        QString texto = ErrorText::seccionEspaciada(e, QStringLiteral("EnviarCatalogos.frmMain.Sorvanta"));
        // The operator can untick the article the database refused and go on.
        if (!resumen.enCurso.isEmpty())
            texto += QStringLiteral("\r\nArtículo que se estaba enviando: ") + modTexto::paraMensaje(resumen.enCurso);
        MsgBox::show(texto, MsgBox::Icon::Exclamation);
        return false;
    }
    MsgBox::show(QStringLiteral("Artículos enviados al catálogo ") + modGlobal::IdCatalogoActual,
                 MsgBox::Icon::Information);
    return true;
}
