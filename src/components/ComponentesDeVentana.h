#pragma once

// The components only the window program ships: "oFILES.clSistema", the file dialogs.
namespace ComponentesDeVentana {

// Registers them in ComponentRegistry; calling it again changes nothing.
void registrar();

} // namespace ComponentesDeVentana
