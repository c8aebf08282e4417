#include "core/ErrorText.h"

#include "core/AppError.h"

namespace ErrorText {
namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

QString seccion(const AppError &e, const QString &procedure, int line)
{
    return e.description() + kCrLf + kCrLf + QString::number(e.number()) + QStringLiteral(" - seccion[") + procedure
           + QStringLiteral(" Linea ") + QString::number(line) + QStringLiteral(" ]::") + e.source();
}

QString seccionEspaciada(const AppError &e, const QString &procedure, int line)
{
    return e.description() + kCrLf + kCrLf + QString::number(e.number()) + QStringLiteral(" - seccion [ ") + procedure
           + QStringLiteral(" Linea ") + QString::number(line) + QStringLiteral(" ]") + e.source();
}

QString seccionSinOrigen(const AppError &e, const QString &location)
{
    return e.description() + kCrLf + kCrLf + QString::number(e.number()) + QStringLiteral(" - seccion [") + location
           + QStringLiteral("]");
}

QString levantarExcel(const AppError &e, int line)
{
    return QString::number(e.number()) + QStringLiteral(" - ") + e.description() + kCrLf + kCrLf
           + QStringLiteral("Seccion [Mendral.frmCFGExcel.lf_LevantarExcel]:: nro ") + QString::number(line);
}

QString enProcedimiento(const AppError &e, const QString &procedure)
{
    return QStringLiteral("Error ") + QString::number(e.number()) + QStringLiteral(" (") + e.description()
           + QStringLiteral(") in procedure ") + procedure;
}

QString enModulo(const AppError &e, const QString &location, int line)
{
    return QStringLiteral("Error ") + QString::number(e.number()) + QStringLiteral(" (") + e.description()
           + QStringLiteral(")") + kCrLf + location + QString::number(line);
}

} // namespace ErrorText
