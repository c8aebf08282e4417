#pragma once

#include "files/FileWriterComponent.h"

#include <QSaveFile>
#include <memory>

// "oFILES.clManejo": writes one text file. The text goes to a temporary file that takes
// the place of the real one only on Cerrar_Archivo, so a failure or an abandoned write
// never leaves a half-written file. Mode 2 replaces the file, mode 8 adds to its end.
class clManejo : public FileWriterComponent {
public:
    static constexpr int kReplace = 2;
    static constexpr int kAppend = 8;

    void setUbicacion_Archivo(const QString &path) override { m_path = path; }
    QString ubicacion_Archivo() const { return m_path; }
    void Abrir_Archivo(int mode) override;
    void Escribir(const QString &text) override;
    void Cerrar_Archivo() override;

private:
    [[noreturn]] void fail(qint32 number, const QString &description) const;

    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
};
