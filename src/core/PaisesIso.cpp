#include "core/PaisesIso.h"

#include "core/Plegado.h"

#include <QFile>

namespace {

// Names our customers' suppliers write that iso-codes does not give, each for one country
// only. Keep it short: a name that could mean two countries ("Korea", "Congo") does not
// belong here, and a name some iso-codes language gives another country is refused anyway.
struct NombreComercial {
    const char *texto;
    const char *alfa3;
};
constexpr NombreComercial kNombresComerciales[] = {
    {"EE.UU.", "USA"},
    {"EUA", "USA"}, // Estados Unidos (de América)
    {"UK", "GBR"},
    {"Gran Bretaña", "GBR"},
    {"Grã-Bretanha", "GBR"},
    {"Great Britain", "GBR"},
    {"Inglaterra", "GBR"},
    {"England", "GBR"},
    {"Escocia", "GBR"},
    {"Holanda", "NLD"},
    {"Rusia", "RUS"},
    {"Corea del Sur", "KOR"},
    {"Corea del Norte", "PRK"},
    {"Vaticano", "VAT"},
    {"Macedonia", "MKD"},
    {"Emiratos Árabes", "ARE"},
};

} // namespace

const PaisesIso &PaisesIso::instancia()
{
    static const PaisesIso tabla;
    return tabla;
}

PaisesIso::PaisesIso()
{
    leerTabla();
    for (const NombreComercial &n : kNombresComerciales)
        agregar(QString::fromUtf8(n.texto), QString::fromLatin1(n.alfa3));
}

void PaisesIso::leerTabla()
{
    // Written by scripts/make-iso-countries.py at build time: ALPHA3, ALPHA2, NAME.
    QFile archivo(QStringLiteral(":/sorvanta/core/paises-iso.tsv"));
    if (!archivo.open(QIODevice::ReadOnly))
        return;
    const QStringList lineas = QString::fromUtf8(archivo.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &linea : lineas) {
        const QStringList c = linea.split(QLatin1Char('\t'));
        if (c.size() != 3)
            continue;
        m_nombres.append({c[0], c[2]});
        if (!m_alfa2.contains(c[0])) {
            m_alfa2.insert(c[0], c[1]);
            m_alfa3.insert(c[1], c[0]);
            agregar(c[0], c[0]);
            agregar(c[1], c[0]);
        }
        agregar(c[2], c[0]);
    }
}

void PaisesIso::agregar(const QString &texto, const QString &alfa3)
{
    const QString clave = Plegado::soloLetrasYCifras(texto);
    if (clave.isEmpty())
        return;
    const auto previo = m_porTexto.constFind(clave);
    if (previo == m_porTexto.constEnd())
        m_porTexto.insert(clave, alfa3);
    else if (*previo != alfa3)
        m_porTexto[clave] = QString();
}

QString PaisesIso::paisDe(const QString &texto) const
{
    return m_porTexto.value(Plegado::soloLetrasYCifras(texto));
}

QString PaisesIso::alfa2(const QString &alfa3) const
{
    return m_alfa2.value(alfa3);
}

QString PaisesIso::alfa3(const QString &alfa2) const
{
    return m_alfa3.value(alfa2);
}
