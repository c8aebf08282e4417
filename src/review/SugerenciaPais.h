#pragma once

#include "review/TablaPaises.h"

#include <QList>
#include <QString>

// The country of table PAIS an origin text names, to be offered in "Establecer Pais": the
// country the text names in any language iso-codes knows (PaisesIso), found in PAIS by its
// ISO code when PAIS is keyed by ISO codes, else by its name (Spanish, or any other that
// names it alone). Nothing is offered
// when the text names no single country or PAIS lacks it: a wrong country is worse than none.
class SugerenciaPais {
public:
    explicit SugerenciaPais(const QList<TablaPaises::Pais> &paises);

    // The id of the PAIS row suggested for the origin text; empty when none.
    QString idPara(const QString &origen) const;

private:
    enum class Clave { Alfa3, Alfa2, Nombre };
    Clave claveDeLaTabla() const;
    QString porCodigo(const QString &codigo) const;
    QString porNombre(const QString &alfa3) const;

    QList<TablaPaises::Pais> m_paises;
    Clave m_clave;
};
