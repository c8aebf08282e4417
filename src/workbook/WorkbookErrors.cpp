#include "workbook/WorkbookErrors.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"

namespace {
const QString kSource = QStringLiteral("Excel.Application");

AppError fileError(qint32 number, const QString &path, const QString &what)
{
    return AppError(number, kSource, QStringLiteral("El archivo %1 %2").arg(path, what));
}
} // namespace

namespace WorkbookErrors {

AppError missing(const QString &path)
{
    return AppError(ErrorNumbers::kFileNotFound, kSource, QStringLiteral("No se encuentra el archivo %1").arg(path));
}

AppError cannotRead(const QString &path)
{
    return fileError(ErrorNumbers::kFileAccess, path, QStringLiteral("no se puede abrir para leerlo"));
}

AppError damaged(const QString &path)
{
    return fileError(kCannotOpen, path, QStringLiteral("está dañado o incompleto y no se puede leer"));
}

AppError notAWorkbook(const QString &path)
{
    return fileError(kCannotOpen, path, QStringLiteral("no es un libro de cálculo que se pueda leer"));
}

AppError encrypted(const QString &path)
{
    return fileError(kCannotOpen, path, QStringLiteral("está cifrado (protegido con contraseña) y no se puede leer"));
}

AppError tooLarge(const QString &path)
{
    return fileError(kCannotOpen, path, QStringLiteral("es demasiado grande para leerlo"));
}

AppError unsafeXml(const QString &path)
{
    return fileError(kCannotOpen, path,
                     QStringLiteral("contiene declaraciones de entidades XML y no se lee por seguridad"));
}

} // namespace WorkbookErrors
