#include "database/FilaCodificada.h"

#include <cmath>
#include <cstring>

namespace FilaCodificada {
namespace {
enum Etiqueta : char { kNulo, kEntero, kReal, kTexto, kBytes };

// Room for `cantidad` more bytes at the end of the row, written in place: rows are written a
// few hundred thousand values at a time.
char *espacio(QByteArray &fila, qsizetype cantidad)
{
    const qsizetype antes = fila.size();
    fila.resize(antes + cantidad);
    return fila.data() + antes;
}

template <typename T> void fijo(QByteArray &fila, Etiqueta etiqueta, T valor)
{
    char *datos = espacio(fila, 1 + qsizetype(sizeof(T)));
    datos[0] = etiqueta;
    std::memcpy(datos + 1, &valor, sizeof(T));
}

void largo(QByteArray &fila, Etiqueta etiqueta, const char *datos, int cantidad)
{
    const qint32 bytes = cantidad;
    char *destino = espacio(fila, 1 + qsizetype(sizeof(bytes)) + cantidad);
    destino[0] = etiqueta;
    std::memcpy(destino + 1, &bytes, sizeof(bytes));
    if (cantidad > 0)
        std::memcpy(destino + 1 + sizeof(bytes), datos, std::size_t(cantidad));
}

// Reads the values one after another; false past the end or on a broken row.
class Lector {
public:
    explicit Lector(QByteArrayView fila) : m_fila(fila) {}
    bool fin() const { return m_pos >= m_fila.size(); }
    bool siguiente(Valor &valor)
    {
        if (fin())
            return false;
        valor = Valor();
        switch (m_fila[m_pos++]) {
        case kNulo:
            return true;
        case kEntero:
            valor.tipo = Valor::Entero;
            return leer(valor.entero);
        case kReal:
            valor.tipo = Valor::Real;
            return leer(valor.real);
        case kTexto:
        case kBytes: {
            valor.tipo = m_fila[m_pos - 1] == kTexto ? Valor::Texto : Valor::Bytes;
            qint32 cantidad = 0;
            if (!leer(cantidad) || cantidad < 0 || m_pos + cantidad > m_fila.size())
                return false;
            valor.bytes = m_fila.sliced(m_pos, cantidad);
            m_pos += cantidad;
            return true;
        }
        default:
            return false;
        }
    }
    // The value at `indice`, the ones before it skipped.
    bool en(int indice, Valor &valor)
    {
        for (int i = 0; i <= indice; ++i)
            if (!siguiente(valor))
                return false;
        return true;
    }

private:
    template <typename T> bool leer(T &dato)
    {
        if (m_pos + qsizetype(sizeof(T)) > m_fila.size())
            return false;
        std::memcpy(&dato, m_fila.constData() + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return true;
    }

    QByteArrayView m_fila;
    qsizetype m_pos = 0;
};

QVariant variante(const Valor &valor)
{
    switch (valor.tipo) {
    case Valor::Entero:
        return QVariant::fromValue(valor.entero);
    case Valor::Real:
        return QVariant::fromValue(valor.real);
    case Valor::Texto:
        return QString::fromUtf8(valor.bytes);
    case Valor::Bytes:
        return valor.bytes.toByteArray();
    default:
        return QVariant();
    }
}
} // namespace

void nulo(QByteArray &fila)
{
    *espacio(fila, 1) = kNulo;
}

void entero(QByteArray &fila, qint64 valor)
{
    fijo(fila, kEntero, valor);
}

// The embedded engine hands a whole number over as an integer or as a real depending on where
// it comes from (a real column keeps 2.0 as 2 on disk): a whole number is one value.
void real(QByteArray &fila, double valor)
{
    if (std::trunc(valor) == valor && std::fabs(valor) < 9.0e18)
        return entero(fila, qint64(valor));
    fijo(fila, kReal, valor);
}

void texto(QByteArray &fila, const char *utf8, int bytes)
{
    largo(fila, kTexto, utf8, bytes);
}

void bytes(QByteArray &fila, const char *datos, int cantidad)
{
    largo(fila, kBytes, datos, cantidad);
}

void valor(QByteArray &fila, const QVariant &v)
{
    if (v.isNull())
        return nulo(fila);
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return entero(fila, v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return real(fila, v.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray datos = v.toByteArray();
        return bytes(fila, datos.constData(), int(datos.size()));
    }
    default: {
        const QByteArray utf8 = v.toString().toUtf8();
        return texto(fila, utf8.constData(), int(utf8.size()));
    }
    }
}

QByteArray codificar(const QVariantList &valores)
{
    QByteArray fila;
    for (const QVariant &v : valores)
        valor(fila, v);
    return fila;
}

QVariantList decodificar(QByteArrayView fila)
{
    QVariantList valores;
    Lector lector(fila);
    Valor v;
    while (!lector.fin()) {
        if (!lector.siguiente(v))
            return {};
        valores.append(variante(v));
    }
    return valores;
}

bool valores(QByteArrayView fila, std::vector<Valor> &valores)
{
    valores.clear();
    Lector lector(fila);
    while (!lector.fin()) {
        if (!lector.siguiente(valores.emplace_back())) {
            valores.clear();
            return false;
        }
    }
    return true;
}

QString textoEn(QByteArrayView fila, int indice)
{
    Valor v;
    return Lector(fila).en(indice, v) ? variante(v).toString() : QString();
}

QByteArrayView bytesEn(QByteArrayView fila, int indice)
{
    Valor v;
    return Lector(fila).en(indice, v) ? v.bytes : QByteArrayView();
}
} // namespace FilaCodificada
