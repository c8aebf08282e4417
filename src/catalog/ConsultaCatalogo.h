#pragma once

#include "catalog/JuicioDeGrupos.h"
#include "catalog/RegArticulo.h"

#include <QHash>
#include <QString>
#include <functional>

class GrupoDeCodigos;

// F11's questions to the catalog, "does this article exist, and with which NCM", asked for the
// articles of many rows at once instead of one row at a time: over a network each question
// is a round trip. The answer for every row is the one getArticuloenCatalogo gives.
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

    // Sets estado and ncm_catalogo of the article of row `fila`, as getArticuloenCatalogo would.
    void completar(int fila, RegArticulo &articulo);

private:
    void consultarGrupo(int desde);
    bool leerRespuesta(const QList<QPair<QString, QString>> &respuesta, const GrupoDeCodigos &grupo,
                       const QList<int> &filas);
    void preguntarSolo(RegArticulo &articulo);

    QString m_idCatalogo;
    std::function<QString(int)> m_codigoDe;
    int m_filas;
    // The group asked last covers rows m_desde..m_hasta - 1.
    int m_desde = 0;
    int m_hasta = 0;
    bool m_grupoLeido = false;
    // Per row of the group: its NCM when the catalog has it.
    QHash<int, QString> m_existentes;
    JuicioDeGrupos m_juicio;
};
