#include "app/DeshacerEnvioVentana.h"

#include "catalog/DeshacerEnvio.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/ErrorText.h"
#include "core/modGlobal.h"
#include "core/modTexto.h"
#include "widgets/AvanceVisible.h"
#include "widgets/MsgBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressBar>
#include <utility>

namespace {
std::vector<DiarioEnvios::Entrada> deshaciblesSiHayDiario()
{
    // The journal is made by the first send, not by looking at it.
    if (!modGlobal::AccesoDatos || !QFileInfo::exists(DiarioEnvios::archivoDelUsuario()))
        return {};
    return EnviosDeshacibles();
}

std::optional<DiarioEnvios::Entrada> deshacibleDe(const QString &idCatalogo)
{
    for (const DiarioEnvios::Entrada &e : deshaciblesSiHayDiario())
        if (idCatalogo.isEmpty() || e.catalogo.compare(idCatalogo, Qt::CaseInsensitive) == 0)
            return e;
    return std::nullopt;
}

QString pregunta(const DiarioEnvios::Entrada &envio)
{
    DiarioEnvios diario;
    const auto articulos = diario.cambios(envio.id).size();
    return QStringLiteral("¿Deshacer el último envío al catálogo %1?\r\n\r\nEnviado el %2 por %3: %4 artículos. Los "
                          "que insertó se borran y los que actualizó vuelven a como estaban; los que alguien "
                          "cambió después se dejan como están.")
        .arg(modTexto::paraMensaje(envio.catalogo), envio.fecha, envio.operador)
        .arg(articulos);
}

// Why the button finds nothing to undo, in the words sorvanta-lote --deshacer uses.
QString sinNadaQueDeshacer(const QString &idCatalogo)
{
    DiarioEnvios diario;
    const std::optional<DiarioEnvios::Entrada> ultimo = diario.ultimo(DiarioEnvios::nuevaEntrada(idCatalogo));
    if (ultimo && ultimo->estado == DiarioEnvios::Estado::Deshecho)
        return QStringLiteral("El último envío al catálogo %1 (del %2, por %3) ya se deshizo; solo el último envío "
                              "puede deshacerse, y una vez. No se cambió nada.")
            .arg(modTexto::paraMensaje(ultimo->catalogo), ultimo->fecha, ultimo->operador);
    return QStringLiteral("No hay ningún envío al catálogo %1 que deshacer en esta conexión. No se cambió nada.")
        .arg(modTexto::paraMensaje(idCatalogo));
}

class CursorDeEspera {
public:
    CursorDeEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorDeEspera() { quitar(); }
    CursorDeEspera(const CursorDeEspera &) = delete;
    CursorDeEspera &operator=(const CursorDeEspera &) = delete;
    // Before a message box: the operator answers it with the ordinary pointer.
    void quitar()
    {
        if (std::exchange(m_puesto, false))
            QApplication::restoreOverrideCursor();
    }

private:
    bool m_puesto = true;
};

// The bar follows the undo; while it waits for a send to the same catalog it says so.
ResultadoDeshacer deshacerConAvance(const QString &idCatalogo, QProgressBar &prgBar)
{
    prgBar.setMinimum(0);
    prgBar.setMaximum(1);
    prgBar.setValue(0);
    AvanceVisible avance(prgBar);
    avance.comenzar();
    const auto quitarAviso = [&prgBar] {
        prgBar.resetFormat();
        prgBar.setTextVisible(false);
    };
    try {
        ResultadoDeshacer hecho = DeshacerUltimoEnvio(
            idCatalogo,
            [&prgBar](const QString &aviso) {
                prgBar.setFormat(aviso);
                prgBar.setTextVisible(true);
                prgBar.repaint();
            },
            [&](int hechos, int total) {
                if (prgBar.isTextVisible())
                    quitarAviso();
                prgBar.setMaximum(qMax(1, total));
                avance.avanzar(hechos, hechos >= total);
            });
        return hecho;
    } catch (const AppError &) {
        quitarAviso();
        avance.fijar();
        throw;
    }
}
} // namespace

std::optional<DiarioEnvios::Entrada> EnvioDeshacible(const QString &idCatalogo)
{
    try {
        return deshacibleDe(idCatalogo);
    } catch (const AppError &) {
        return std::nullopt;
    }
}

QString TextoOfertaDeshacer(const DiarioEnvios::Entrada &envio)
{
    return QStringLiteral("Puede deshacer el último envío al catálogo %1, del %2, con «Deshacer último envío».")
        .arg(modTexto::paraMensaje(envio.catalogo), envio.fecha);
}

bool DeshacerEnvioElegido(const QString &idCatalogo, QProgressBar &prgBar)
{
    try {
        const std::optional<DiarioEnvios::Entrada> envio = deshacibleDe(idCatalogo);
        if (!envio) {
            MsgBox::show(sinNadaQueDeshacer(idCatalogo), MsgBox::Icon::Exclamation);
            return false;
        }
        if (!MsgBox::ask(pregunta(*envio), false))
            return false;
        CursorDeEspera espera;
        const ResultadoDeshacer hecho = deshacerConAvance(envio->catalogo, prgBar);
        espera.quitar();
        MsgBox::show(hecho.mensaje(), MsgBox::Icon::Information);
        return true;
    } catch (const AppError &e) {
        if (e.number() == ErrorNumbers::kValidation) {
            MsgBox::show(e.description(), MsgBox::Icon::Exclamation);
            return false;
        }
        MsgBox::show(ErrorText::seccionEspaciada(e, QStringLiteral("DeshacerEnvio.frmMain.Sorvanta"))
                         + QStringLiteral("\r\nNo se deshizo nada: el catálogo quedó como lo dejó el envío."),
                     MsgBox::Icon::Exclamation);
        return false;
    }
}
