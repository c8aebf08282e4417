#pragma once

#include <QByteArray>
#include <QStringList>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

// The embedded engine's values written straight into FilaCodificada's bytes, with no Qt value
// on the way: the same bytes Qt's reading of them would encode to. A text of a UTF-8 file is
// taken as the bytes it stands in; asked as text, the engine would copy each one to end it
// with a zero.
namespace ValoresSqlite {
// The text of a file not in UTF-8 is converted.
bool esUtf8(sqlite3 *motor);
// A value of the engine's own (one a hook hands over): nullptr is a null.
void agregar(QByteArray &fila, sqlite3_value *valor, bool utf8);
// The column of the row the statement stands on.
void agregarColumna(QByteArray &fila, sqlite3_stmt *paso, int columna, bool utf8);
// That column as the value Qt's driver makes of it.
QVariant variante(sqlite3_stmt *paso, int columna);
// The statement's column names as Qt's driver gives them.
QStringList nombres(sqlite3_stmt *paso);
} // namespace ValoresSqlite
