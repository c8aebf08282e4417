#pragma once

#include <QString>

// Text helpers shared by processing, sending and start-up.
namespace modTexto {
// Leading and trailing blanks removed (only blanks: other white space is data).
QString recortar(const QString &texto);
// Every apostrophe replaced by one blank (spreadsheet texts, before they are used).
QString sinApostrofes(QString texto);
// A finite number written in the operator's regional format; anything else (an empty text,
// "inf", "nan" or a number too large for a double included) raises AppError 13
// "No coinciden los tipos".
double aNumero(const QString &texto);
// A number in the operator's regional format, general form, no grouping.
QString numeroComoTexto(double valor);
// A value as an error message shows it: up to kLargoEnMensaje characters, a longer one cut
// there and ended with "…" (a whole sheet cell in a message box would hide the message).
constexpr qsizetype kLargoEnMensaje = 200;
QString paraMensaje(const QString &valor);
} // namespace modTexto
