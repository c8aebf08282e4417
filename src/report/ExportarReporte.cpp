#include "report/ExportarReporte.h"

#include "components/ComponentRegistry.h"
#include "core/AppError.h"
#include "core/ErrorText.h"
#include "files/FileSystemComponent.h"
#include "files/FileWriterComponent.h"
#include "modelos/ReviewListModel.h"
#include "widgets/MsgBox.h"
#include "widgets/ReviewList.h"

void ExportarReporte(ReviewList &lista, QWidget *owner)
{
    try {
        auto sistema = ComponentRegistry::create<FileSystemComponent>(QStringLiteral("oFILES.clSistema"));
        auto manejo = ComponentRegistry::create<FileWriterComponent>(QStringLiteral("oFILES.clManejo"));
        // Built before the save dialog, so it shows the list as it stood.
        const QString texto = TextoReporte(*lista.listModel());
        const QString ruta = sistema->ShowSave(QStringLiteral("Guardar Reporte"), owner, QStringLiteral("xls"),
                                               QString());
        if (ruta.trimmed().isEmpty()) {
            MsgBox::show(QStringLiteral("Reporte cancelado"), MsgBox::Icon::Exclamation);
            return;
        }
        manejo->setUbicacion_Archivo(ruta);
        manejo->Abrir_Archivo(2);
        manejo->Escribir(texto);
        manejo->Cerrar_Archivo();
        MsgBox::show(QStringLiteral("Reporte generado en ") + ruta, MsgBox::Icon::Information);
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::seccion(e, QStringLiteral("ExportarReporte.frmMain.Sorvanta")),
                     MsgBox::Icon::Exclamation);
    }
}
