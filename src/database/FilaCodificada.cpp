#include "database/FilaCodificada.h"

#include <cmath>
#include <cstring>

namespace FilaCodificada {
namespace {
enum Etiqueta : char { kNulo, kEntero, kReal, kTexto, kBytes };

template <typename T> void fijo(QByteArray &fila, Etiqueta etiqueta, T valor)
{
    char datos[1 + sizeof(T)];
    datos[0] = etiqueta;
    std::memcpy(datos + 1, &valor, sizeof(T));
    fila.append(datos, sizeof(datos));
}

void largo(QByteArray &fila, Etiqueta etiqueta, const char *datos, int cantidad)
{
    fijo(fila, etiqueta, qint32(cantidad));
    fila.append(datos, cantidad);
}

// Reads one value from `pos`; false past the end or on a broken row.
class Lector {
public:
    explicit Lector(const QByteArray &fila) : m_fila(fila) {}
    bool fin() const { return m_pos >= m_fila.size(); }
    // The bytes of the text or blob that comes next, or empty.
    QByteArrayView bytes()
    {
        qint32 cantidad = 0;
        if (fin() || (m_fila[m_pos] != kTexto && m_fila[m_pos] != kBytes))
            return {};
        ++m_pos;
        if (!leer(cantidad) || cantidad < 0 || m_pos + cantidad > m_fila.size())
            return {};
        return QByteArrayView(m_fila.constData() + m_pos, cantidad);
    }
    bool siguiente(QVariant *valor)
    {
        if (fin())
            return false;
        const char etiqueta = m_fila[m_pos++];
        switch (etiqueta) {
        case kNulo:
            if (valor)
                *valor = QVariant();
            return true;
        case kEntero:
            return numero<qint64>(valor);
        case kReal:
            return numero<double>(valor);
        case kTexto:
        case kBytes:
            return trozo(etiqueta, valor);
        default:
            return false;
        }
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
    template <typename T> bool numero(QVariant *valor)
    {
        T dato{};
        if (!leer(dato))
            return false;
        if (valor)
            *valor = QVariant::fromValue(dato);
        return true;
    }
    bool trozo(char etiqueta, QVariant *valor)
    {
        qint32 cantidad = 0;
        if (!leer(cantidad) || cantidad < 0 || m_pos + cantidad > m_fila.size())
            return false;
        const char *datos = m_fila.constData() + m_pos;
        m_pos += cantidad;
        if (valor)
            *valor = etiqueta == kTexto ? QVariant(QString::fromUtf8(datos, cantidad))
                                        : QVariant(QByteArray(datos, cantidad));
        return true;
    }

    const QByteArray &m_fila;
    qsizetype m_pos = 0;
};
} // namespace

void nulo(QByteArray &fila)
{
    fila.append(char(kNulo));
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

QVariantList decodificar(const QByteArray &fila)
{
    QVariantList valores;
    Lector lector(fila);
    QVariant v;
    while (!lector.fin()) {
        if (!lector.siguiente(&v))
            return {};
        valores.append(v);
    }
    return valores;
}

QString textoEn(const QByteArray &fila, int indice)
{
    Lector lector(fila);
    for (int i = 0; i < indice; ++i)
        if (!lector.siguiente(nullptr))
            return {};
    QVariant v;
    return lector.siguiente(&v) ? v.toString() : QString();
}
QByteArrayView bytesEn(const QByteArray &fila, int indice)
{
    Lector lector(fila);
    for (int i = 0; i < indice; ++i)
        if (!lector.siguiente(nullptr))
            return {};
    return lector.bytes();
}
} // namespace FilaCodificada
