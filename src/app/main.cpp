#include "app/IconoPrograma.h"
#include "app/TraduccionQt.h"
#include "app/frmMain.h"
#include "core/HugePages.h"
#include "core/modGlobal.h"
#include "widgets/AppFont.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    HugePages::enableForHeap(argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorvanta"));
    QApplication::setOrganizationName(QStringLiteral("TELMOR"));
    // Lets the desktop match the window with the menu entry that started it.
    QGuiApplication::setDesktopFileName(QStringLiteral("sorvanta"));
    QApplication::setWindowIcon(IconoPrograma::icono());
    InstalarTraduccionQt();
    AppFont::ensureTahoma();
    // Database connections must close while the application object still exists.
    struct ReleaseGlobals {
        ~ReleaseGlobals() { modGlobal::reset(); }
    } releaseGlobals;

    frmMain ventana;
    if (!ventana.Form_Load())
        return 0;
    ventana.show();
    return app.exec();
}
