#pragma once

#include <QString>
#include <functional>

namespace modCargaExcel {
// Most rows read from a sheet into the window's grid, header row included.
constexpr int kMaxFilas = 65534;
} // namespace modCargaExcel

// The first worksheet as loading takes it: rows up to the first empty one (at most
// kMaxFilas, header included, in the window), the header's width of columns, as one TAB/CR block.
struct BloqueHoja {
    QString texto;
    int filas = 0;
    int columnas = 0;
    // Filled rows after the last one taken, up to the first empty row.
    int filasFuera = 0;
};

// What a front end hears while a sheet is read.
struct PasosLectura {
    // The workbook is open; nothing is read yet.
    std::function<void()> abierta;
    // The header reaches column `columna` (called once per header cell found).
    std::function<void(int columna)> encabezado;
    // Rows read so far, header included; `final` at the end of the scan.
    std::function<void(int filas, bool final)> avance;
};

// What the operator is told when a sheet has rows past those taken.
QString MensajeFilasFuera(int filasFuera);

// Loading without a grid: reads the first worksheet of p_Archivo through the spreadsheet
// wrapper, at most `maxFilas` rows, header included. `linea` tells the step reached, for
// the failure message. A sheet of more than its header row is closed; one of only the header
// is just released. Raises AppError.
BloqueHoja LeerHoja(const QString &p_Archivo, const PasosLectura &pasos, int &linea,
                    int maxFilas = modCargaExcel::kMaxFilas);
