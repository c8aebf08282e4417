#pragma once

#include <QString>

class AppError;

// Texts of the message boxes that report an error, one function per format.
namespace ErrorText {

// description CRLF CRLF number " - seccion[<procedure> Linea <line> ]::" source
// procedure e.g. "ProcesarArticulos.frmMain.Sorvanta".
QString seccion(const AppError &e, const QString &procedure, int line = 0);

// description CRLF CRLF number " - seccion [ <procedure> Linea <line> ]" source
QString seccionEspaciada(const AppError &e, const QString &procedure, int line = 0);

// description CRLF CRLF number " - seccion [<location>]" (the source is not shown)
QString seccionSinOrigen(const AppError &e, const QString &location);

// number " - " description CRLF CRLF "Seccion [Mendral.frmCFGExcel.lf_LevantarExcel]:: nro " line
QString levantarExcel(const AppError &e, int line);

// "Error " number " (" description ") in procedure " procedure
QString enProcedimiento(const AppError &e, const QString &procedure);

// "Error " number " (" description ")" CRLF location line
QString enModulo(const AppError &e, const QString &location, int line);

} // namespace ErrorText
