#pragma once

#include "catalog/DiarioEnvios.h"

#include <QString>
#include <optional>

class QProgressBar;

// "Deshacer último envío" in the window.

// The send the button undoes for catalog `idCatalogo` (any catalog's newest when empty): the
// last one of this connection still undoable. None when there is none, no journal yet, or the
// journal cannot be read: a window that cannot read it offers nothing.
std::optional<DiarioEnvios::Entrada> EnvioDeshacible(const QString &idCatalogo);

// The line that offers it at start-up.
QString TextoOfertaDeshacer(const DiarioEnvios::Entrada &envio);

// Asks the operator (Sí/No, No by default), undoes the last send of the catalog with the bar
// showing how far it went, and tells the outcome or the refusal in a message box. True when
// the catalog changed.
bool DeshacerEnvioElegido(const QString &idCatalogo, QProgressBar &prgBar);
