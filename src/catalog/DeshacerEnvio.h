#pragma once

#include "catalog/DiarioEnvios.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// What an undo did.
struct ResultadoDeshacer {
    DiarioEnvios::Entrada envio;
    int borrados = 0;
    int repuestos = 0;
    // Articles someone changed after the send: left as they are.
    QStringList cambiados;
    // The closing message, in Spanish.
    QString mensaje() const;
};

// Puts catalog `idCatalogo` back as it was before the last send to it that the journal holds
// for the connection of entity "CATALOGOS", in one transaction: an article the send inserted is
// deleted, one it updated gets its row back, each only where the row still equals, column by
// column, what the send left. Country rows (ORG) stay.
//
// Raises AppError kValidation, having changed nothing, when there is nothing to undo: no send,
// a send undone already, or one that never reached the catalog (then taken out of the journal).
// Any other failure raises AppError and leaves the catalog as it was, the send still undoable.
// `aviso` hears a line for the operator when the undo waits for a send on the same catalog.
// `avance` hears how many of the send's articles have been dealt with, of how many.
ResultadoDeshacer DeshacerUltimoEnvio(const QString &idCatalogo, const std::function<void(const QString &)> &aviso = {},
                                      const std::function<void(int hechos, int total)> &avance = {});

// The last send of each catalog on the connection of entity "CATALOGOS" that may still be
// undone, newest first (a pending one, judged only when undone, among them).
std::vector<DiarioEnvios::Entrada> EnviosDeshacibles();
