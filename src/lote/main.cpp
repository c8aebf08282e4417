#include "core/HugePages.h"
#include "core/modGlobal.h"
#include "lote/Lote.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    HugePages::enableForHeap(argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Sorvanta"));
    QCoreApplication::setOrganizationName(QStringLiteral("TELMOR"));
    // Database connections must close while the application object still exists.
    struct ReleaseGlobals {
        ~ReleaseGlobals() { modGlobal::reset(); }
    } releaseGlobals;
    QTextStream salida(stdout);
    QTextStream errores(stderr);
    return EjecutarLote(app.arguments().mid(1), salida, errores, isatty(fileno(stderr)) != 0);
}
