#include "files/clManejo.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"

#include <QFile>

void clManejo::fail(qint32 number, const QString &description) const
{
    throw AppError(number, QStringLiteral("oFILES.clManejo"), description);
}

void clManejo::Abrir_Archivo(int mode)
{
    if (mode != kReplace && mode != kAppend)
        fail(ErrorNumbers::kFileAccess, QStringLiteral("Modo de apertura %1 no admitido: se admiten 2 (reemplazar) y 8 "
                                                       "(agregar al final)")
                                            .arg(mode));
    if (m_path.trimmed().isEmpty())
        fail(ErrorNumbers::kFileNotFound, QStringLiteral("No se indicó la ubicación del archivo a escribir"));
    QByteArray existing;
    if (mode == kAppend && QFile::exists(m_path)) {
        QFile old(m_path);
        if (!old.open(QIODevice::ReadOnly))
            fail(ErrorNumbers::kFileAccess,
                 QStringLiteral("No se pudo leer el archivo \"%1\": %2").arg(m_path, old.errorString()));
        existing = old.readAll();
    }
    auto file = std::make_unique<QSaveFile>(m_path);
    if (!file->open(QIODevice::WriteOnly))
        fail(ErrorNumbers::kFileAccess,
             QStringLiteral("No se pudo abrir el archivo \"%1\" para escribir: %2").arg(m_path, file->errorString()));
    if (!existing.isEmpty() && file->write(existing) != existing.size())
        fail(ErrorNumbers::kFileAccess,
             QStringLiteral("No se pudo escribir en el archivo \"%1\": %2").arg(m_path, file->errorString()));
    m_file = std::move(file);
}

void clManejo::Escribir(const QString &text)
{
    if (!m_file)
        fail(ErrorNumbers::kFileAccess, QStringLiteral("El archivo \"%1\" no está abierto para escribir").arg(m_path));
    const QByteArray bytes = text.toUtf8();
    if (m_file->write(bytes) != bytes.size())
        fail(ErrorNumbers::kFileAccess,
             QStringLiteral("No se pudo escribir en el archivo \"%1\": %2").arg(m_path, m_file->errorString()));
}

void clManejo::Cerrar_Archivo()
{
    if (!m_file)
        return;
    const std::unique_ptr<QSaveFile> file = std::move(m_file);
    if (!file->commit())
        fail(ErrorNumbers::kFileAccess,
             QStringLiteral("No se pudo guardar el archivo \"%1\": %2").arg(m_path, file->errorString()));
}
