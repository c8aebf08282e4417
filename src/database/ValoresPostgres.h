#pragma once

#include <QByteArray>
#include <vector>

struct pg_result;

// A server's answer written straight into FilaCodificada's bytes, with no Qt value on the way:
// the same bytes the values Qt's driver makes of it encode to, for the column types read the
// same way by both (texts, whole numbers, real and exact numbers).
namespace ValoresPostgres {
// False when a column is of another type: that answer is for Qt's driver to read.
bool legibles(const pg_result *resultado);
// Appends the result's rows.
void agregarFilas(const pg_result *resultado, std::vector<QByteArray> &filas);
} // namespace ValoresPostgres
