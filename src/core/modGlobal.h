#pragma once

#include <QString>
#include <functional>
#include <memory>

class DataAccessManager;
class FileSystemComponent;

// Application globals: one instance each for the life of the program.
namespace modGlobal {

// "Sorvanta - " + user name + "\" + computer name. Written once at start-up.
extern QString UsuarioSesion;
// The "DataAccessManager.DAMMain" instance, created at start-up.
extern std::shared_ptr<DataAccessManager> AccesoDatos;
// The "oFILES.clSistema" instance, created at start-up.
extern std::shared_ptr<FileSystemComponent> SistemaArchivos;
// Result of the field chooser; origin value into and country id out of the country dialog.
extern QString CampoElegido;
// State-of-goods code confirmed in the country dialog.
extern QString EsmElegido;
// Id of the catalog being processed and sent.
extern QString IdCatalogoActual;
// Where the failures that do not stop the program are told (text, title): a window shows
// a box, the batch program writes to standard error (the default).
using Aviso = std::function<void(const QString &texto, const QString &titulo)>;
extern Aviso AvisoDeError;

// The logged-on user's name, or "" when the system cannot give it.
QString get_Usuario();
// The computer name, or "AUTO" when the system cannot give it.
QString LEERNOMBREPC();
// "Sorvanta - " + user name + "\" + computer name, blanks trimmed; "" when neither name
// can be had. May raise AppError.
QString IdentidadSesion();
// Title of the boxes that report an unexpected error here: application title + " - v.M.m.r".
QString tituloConVersion();

// Back to the state at program start (tests).
void reset();

} // namespace modGlobal
