#include "database/ValoresPostgres.h"

#include "database/FilaCodificada.h"

#include <QByteArrayView>
#include <cmath>
#include <libpq-fe.h>
#include <limits>

namespace ValoresPostgres {
namespace {
// The server's type numbers (pg_type.oid) of the types read here.
enum : Oid {
    kNombre = 19,
    kEntero8 = 20,
    kEntero2 = 21,
    kEntero4 = 23,
    kTexto = 25,
    kReal4 = 700,
    kReal8 = 701,
    kDesconocido = 705,
    kCaracteres = 1042,
    kVariable = 1043,
    kExacto = 1700,
};

// Qt's driver reads a bigint not below zero as an unsigned number, which is kept as its text.
enum class Clase { Texto, Entero, EnteroLargo, Real, Otra };

Clase clase(Oid tipo)
{
    switch (tipo) {
    case kNombre:
    case kTexto:
    case kDesconocido:
    case kCaracteres:
    case kVariable:
        return Clase::Texto;
    case kEntero2:
    case kEntero4:
        return Clase::Entero;
    case kEntero8:
        return Clase::EnteroLargo;
    case kReal4:
    case kReal8:
    case kExacto:
        return Clase::Real;
    default:
        return Clase::Otra;
    }
}

// As Qt's driver reads a real or exact number: its spelling of the special values too, and a
// text it cannot read as none.
void real(QByteArray &fila, QByteArrayView texto)
{
    bool leido = false;
    const double valor = texto.toDouble(&leido);
    if (leido)
        return FilaCodificada::real(fila, valor);
    if (texto.compare("NaN", Qt::CaseInsensitive) == 0)
        return FilaCodificada::real(fila, std::numeric_limits<double>::quiet_NaN());
    if (texto.compare("Infinity", Qt::CaseInsensitive) == 0)
        return FilaCodificada::real(fila, std::numeric_limits<double>::infinity());
    if (texto.compare("-Infinity", Qt::CaseInsensitive) == 0)
        return FilaCodificada::real(fila, -std::numeric_limits<double>::infinity());
    FilaCodificada::nulo(fila);
}
} // namespace

bool legibles(const pg_result *resultado)
{
    for (int c = 0; c < PQnfields(resultado); ++c)
        if (clase(PQftype(resultado, c)) == Clase::Otra)
            return false;
    return true;
}

void agregarFilas(const pg_result *resultado, std::vector<QByteArray> &filas)
{
    const int columnas = PQnfields(resultado);
    std::vector<Clase> clases;
    clases.reserve(std::size_t(columnas));
    for (int c = 0; c < columnas; ++c)
        clases.push_back(clase(PQftype(resultado, c)));
    for (int f = 0; f < PQntuples(resultado); ++f) {
        QByteArray &fila = filas.emplace_back();
        for (int c = 0; c < columnas; ++c) {
            if (PQgetisnull(resultado, f, c)) {
                FilaCodificada::nulo(fila);
                continue;
            }
            const QByteArrayView texto(PQgetvalue(resultado, f, c), PQgetlength(resultado, f, c));
            switch (clases[std::size_t(c)]) {
            case Clase::EnteroLargo:
                if (!texto.startsWith('-')) {
                    FilaCodificada::texto(fila, texto.data(), int(texto.size()));
                    break;
                }
                FilaCodificada::entero(fila, texto.toLongLong());
                break;
            case Clase::Entero:
                FilaCodificada::entero(fila, texto.toLongLong());
                break;
            case Clase::Real:
                real(fila, texto);
                break;
            default:
                FilaCodificada::texto(fila, texto.data(), int(texto.size()));
                break;
            }
        }
    }
}
} // namespace ValoresPostgres
