#pragma once

#include "core/Component.h"

#include <QString>

class QWidget;

// "oFILES.clSistema": file dialogs and a file-existence test. Cancelling a dialog gives "".
class FileSystemComponent : public Component {
public:
    virtual QString ShowOpen(const QString &title, QWidget *owner, const QString &defaultExtension,
                             const QString &filterDescription) = 0;
    virtual QString ShowSave(const QString &title, QWidget *owner, const QString &defaultExtension,
                             const QString &filterDescription) = 0;
    virtual bool ExisteArchivo(const QString &path) = 0;
};
