#pragma once

#include <QStringList>

class QTextStream;

// Exit statuses of sorvanta-lote.
namespace SalidaLote {
constexpr int kHecho = 0;
constexpr int kError = 1;
constexpr int kArgumentos = 2;
constexpr int kOrigenesDesconocidos = 3;
} // namespace SalidaLote

// sorvanta-lote: loads, processes and sends one sheet as the window's F11 and F12 do, with
// the choices given as arguments (after the program name). Messages and progress go to
// `errores` (progress only when `terminal`), the closing summary to `salida`. Gives the
// exit status.
int EjecutarLote(const QStringList &argumentos, QTextStream &salida, QTextStream &errores, bool terminal);
