#pragma once

#include "catalog/FilaCatalogo.h"
#include "catalog/JuicioDeGrupos.h"
#include "catalog/RegArticulo.h"

#include <QHash>
#include <QString>
#include <functional>
#include <optional>

class GrupoDeCodigos;

// F11's questions to the catalog, "does this article exist, and what does its row hold", asked
// for the articles of many rows at once instead of one row at a time: over a network each
// question is a round trip. The answer for every row is the one getArticuloenCatalogo gives;
// the whole row comes with it, in the same question, so F12's changes can be foreseen.
//
// A group never holds two codes the database might take for one another, nor codes whose
// equality no key of ClaveHolgada can tell whatever the collation: those end the group.
// A group whose answer cannot be read back code by code, a refused grouped question, or
// grouped questions slower than the single ones they replace, leave the rows to single ones.
class ConsultaCatalogo {
public:
    // codigoDe(fila): the code the article of that row will be asked by ("" for a row
    // without article); rows are asked about in order, from 1 to filas - 1.
    ConsultaCatalogo(QString idCatalogo, std::function<QString(int fila)> codigoDe, int filas);

    // Sets estado and ncm_catalogo of the article of row `fila`, as getArticuloenCatalogo would,
    // and gives the catalog row of an existing one (none when it could not be read whole).
    std::optional<FilaCatalogo> completar(int fila, RegArticulo &articulo);

    // The catalog's database kind ("SQL", "ACCESS"), asked once.
    const QString &tipoBase();

private:
    void consultarGrupo(int desde);
    bool leerRespuesta(const QList<FilaCatalogo> &respuesta, const GrupoDeCodigos &grupo, const QList<int> &filas);
    std::optional<FilaCatalogo> preguntarSolo(RegArticulo &articulo);

    QString m_idCatalogo;
    std::function<QString(int)> m_codigoDe;
    int m_filas;
    // The group asked last covers rows m_desde..m_hasta - 1.
    int m_desde = 0;
    int m_hasta = 0;
    bool m_grupoLeido = false;
    // Per row of the group: its catalog row when the catalog has it.
    QHash<int, FilaCatalogo> m_existentes;
    std::optional<QString> m_tipoBase;
    // Cleared when the catalog refused a whole row: the single questions go on with the NCM alone.
    bool m_filasEnteras = true;
    JuicioDeGrupos m_juicio;
};
