#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <vector>

// A row's values in a few bytes each, with their type and nullness, written straight from the
// engine's own values where it can: rows kept by the hundred thousand cost no Qt value each.
// A value is a tag byte, then 8 bytes for a number, or a length and the bytes of a text (UTF-8)
// or blob.
namespace FilaCodificada {
void nulo(QByteArray &fila);
void entero(QByteArray &fila, qint64 valor);
// A whole number is kept as an integer.
void real(QByteArray &fila, double valor);
void texto(QByteArray &fila, const char *utf8, int bytes);
void bytes(QByteArray &fila, const char *datos, int cantidad);
// Any other value as its text.
void valor(QByteArray &fila, const QVariant &valor);

QByteArray codificar(const QVariantList &valores);
// Empty when the bytes are not a row.
QVariantList decodificar(QByteArrayView fila);

// One value as kept, with no Qt value made: a text's or blob's bytes point into the row.
struct Valor {
    enum Tipo : char { Nulo, Entero, Real, Texto, Bytes };
    Tipo tipo = Nulo;
    qint64 entero = 0;
    double real = 0;
    QByteArrayView bytes;
};
// The row's values in order; false, with `valores` cleared, when the bytes are not a row.
bool valores(QByteArrayView fila, std::vector<Valor> &valores);
// The value at `indice` as text; "" when there is none.
QString textoEn(QByteArrayView fila, int indice);
// The bytes of a text or blob at `indice`, as kept; empty for any other value.
QByteArrayView bytesEn(QByteArrayView fila, int indice);
} // namespace FilaCodificada
