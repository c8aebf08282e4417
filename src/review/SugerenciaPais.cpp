#include "review/SugerenciaPais.h"

#include "core/PaisesIso.h"

namespace {
// PAIS counts as keyed by ISO codes when nearly all its ids are: a table of the customs
// system's own numbers may hold a few that look like codes by chance.
constexpr double kParteIso = 0.9;
} // namespace

SugerenciaPais::SugerenciaPais(const QList<TablaPaises::Pais> &paises) : m_paises(paises)
{
    m_clave = claveDeLaTabla();
}

SugerenciaPais::Clave SugerenciaPais::claveDeLaTabla() const
{
    const PaisesIso &iso = PaisesIso::instancia();
    int alfa3 = 0, alfa2 = 0;
    for (const TablaPaises::Pais &pais : m_paises) {
        const QString id = pais.id.trimmed().toUpper();
        alfa3 += id.size() == 3 && !iso.alfa2(id).isEmpty() ? 1 : 0;
        alfa2 += id.size() == 2 && !iso.alfa3(id).isEmpty() ? 1 : 0;
    }
    const double filas = m_paises.size();
    if (filas > 0 && alfa3 >= kParteIso * filas)
        return Clave::Alfa3;
    if (filas > 0 && alfa2 >= kParteIso * filas)
        return Clave::Alfa2;
    return Clave::Nombre;
}

QString SugerenciaPais::idPara(const QString &origen) const
{
    const PaisesIso &iso = PaisesIso::instancia();
    const QString alfa3 = iso.paisDe(origen);
    if (alfa3.isEmpty())
        return QString();
    switch (m_clave) {
    case Clave::Alfa3:
        return porCodigo(alfa3);
    case Clave::Alfa2:
        return porCodigo(iso.alfa2(alfa3));
    case Clave::Nombre:
        break;
    }
    return porNombre(alfa3);
}

QString SugerenciaPais::porCodigo(const QString &codigo) const
{
    for (const TablaPaises::Pais &pais : m_paises)
        if (pais.id.trimmed().compare(codigo, Qt::CaseInsensitive) == 0)
            return pais.id;
    return QString();
}

QString SugerenciaPais::porNombre(const QString &alfa3) const
{
    // A row whose name itself names that one country: its Spanish name, as the embedded
    // table writes it, or any other the country goes by.
    QString hallado;
    for (const TablaPaises::Pais &pais : m_paises) {
        if (PaisesIso::instancia().paisDe(pais.descripcion) != alfa3)
            continue;
        // Two rows of different ids under one name: which one is meant is not ours to say.
        if (!hallado.isEmpty() && hallado != pais.id)
            return QString();
        hallado = pais.id;
    }
    return hallado;
}
