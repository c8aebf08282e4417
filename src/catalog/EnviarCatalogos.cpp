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
#include <utility>

namespace {
// While the run waits for another one its bar says so; the first item sent takes the text away.
void mostrarEspera(QProgressBar &prgBar, const QString &aviso)
{
    prgBar.setFormat(aviso);
    prgBar.setTextVisible(true);
    prgBar.repaint();
}

// Beside "Deshacer último envío" the operator must hear that this send is not the one it undoes.
QString sinDeshacer(const ResumenEnvio &resumen)
{
    return resumen.sinDeshacer.isEmpty() ? QString() : QStringLiteral("\r\n") + resumen.sinDeshacer;
}

void quitarEspera(QProgressBar &prgBar)
{
    prgBar.resetFormat();
    prgBar.setTextVisible(false);
}
} // namespace

bool EnviarCatalogos(ReviewList &lstArticulos, QProgressBar &prgBar)
{
    if (lstArticulos.itemCount() == 0) {
        MsgBox::show(QStringLiteral("No hay artículos para procesar contra el catálogo"), MsgBox::Icon::Exclamation);
        return false;
    }
    ResumenEnvio resumen;
    AvanceVisible avance(prgBar);
    bool esperando = false;
    try {
        prgBar.setMinimum(0);
        prgBar.setValue(0);
        prgBar.setMaximum(lstArticulos.itemCount());
        avance.comenzar();
        EnviarArticulos(
            *lstArticulos.listModel(), modGlobal::IdCatalogoActual,
            [&](int item, bool ultimo) {
                if (std::exchange(esperando, false))
                    quitarEspera(prgBar);
                avance.avanzar(item, ultimo);
            },
            resumen,
            [&](const QString &aviso) {
                esperando = true;
                mostrarEspera(prgBar, aviso);
            });
    } catch (const AppError &e) {
        if (esperando)
            quitarEspera(prgBar);
        avance.fijar();
        QString texto = ErrorText::seccionEspaciada(e, QStringLiteral("EnviarCatalogos.frmMain.Sorvanta"));
        // The operator can untick the article the database refused and go on.
        if (!resumen.enCurso.isEmpty())
            texto += QStringLiteral("\r\nArtículo que se estaba enviando: ") + modTexto::paraMensaje(resumen.enCurso);
        MsgBox::show(texto + sinDeshacer(resumen), MsgBox::Icon::Exclamation);
        return false;
    }
    MsgBox::show(QStringLiteral("Artículos enviados al catálogo ") + modGlobal::IdCatalogoActual + sinDeshacer(resumen),
                 MsgBox::Icon::Information);
    return true;
}
