#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <QVariantList>

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
QVariantList decodificar(const QByteArray &fila);
// The value at `indice` as text; "" when there is none.
QString textoEn(const QByteArray &fila, int indice);
// The bytes of a text or blob at `indice`, as kept; empty for any other value.
QByteArrayView bytesEn(const QByteArray &fila, int indice);
} // namespace FilaCodificada
