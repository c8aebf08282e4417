#include "app/frmMain.h"
#include "platform/AppFont.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorvanta"));
    QApplication::setOrganizationName(QStringLiteral("TELMOR"));
    AppFont::ensureTahoma();

    frmMain ventana;
    if (!ventana.Form_Load())
        return 0;
    ventana.show();
    return app.exec();
}
