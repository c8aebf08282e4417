#pragma once

#include "core/Component.h"

#include <QString>

// "oFILES.clManejo": writes one text file. Used in the order
// setUbicacion_Archivo, Abrir_Archivo(2), Escribir, Cerrar_Archivo. Failures raise AppError.
class FileWriterComponent : public Component {
public:
    virtual void setUbicacion_Archivo(const QString &path) = 0;
    // Mode 2 replaces the file.
    virtual void Abrir_Archivo(int mode) = 0;
    // Writes the text unchanged, as UTF-8.
    virtual void Escribir(const QString &text) = 0;
    virtual void Cerrar_Archivo() = 0;
};
