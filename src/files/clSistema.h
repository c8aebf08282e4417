#pragma once

#include "files/FileSystemComponent.h"

#include <QStringList>

// "oFILES.clSistema": open and save dialogs (Qt's own, so they look and behave the same
// everywhere) and a file-existence test.
class clSistema : public FileSystemComponent {
public:
    QString ShowOpen(const QString &title, QWidget *owner, const QString &defaultExtension,
                     const QString &filterDescription) override;
    QString ShowSave(const QString &title, QWidget *owner, const QString &defaultExtension,
                     const QString &filterDescription) override;
    bool ExisteArchivo(const QString &path) override;

    // The dialog's filters: the described extension together with every workbook format
    // the program reads, then all files.
    static QStringList filters(const QString &defaultExtension, const QString &filterDescription);
};
