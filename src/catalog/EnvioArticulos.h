#pragma once

#include <QString>
#include <functional>

class ReviewListModel;

// How far a sending run went; filled as it goes, so it holds also when the run stops.
struct ResumenEnvio {
    int enviados = 0;   // statements executed
    int sinCambios = 0; // checked existing articles that brought nothing to update
    // The article whose statement was on its way when the run stopped ("" otherwise, and
    // when the NCM check stopped it: that message names the article itself).
    QString enCurso;
    // Why what the run wrote cannot be undone ("" when it can, or when nothing was written).
    QString sinDeshacer;
};

// F12 without a window: inserts every checked article of the list into catalog
// `idCatalogo`, or updates it there, with the outcome of each statement as if it committed on
// its own (a database server gets them in windows, VentanaEnvio). `avance` hears of every item
// (checked or not) once it is done, `ultimo` at the last. Raises AppError at the first
// failure; what was executed before stays written, unless the session went with the run's
// transaction: then nothing does, and `resumen` counts nothing. `aviso` hears a line for the
// operator when the run must wait for another one on the same catalog. A catalog gone from
// table catalogo stops it before anything is sent.
void EnviarArticulos(const ReviewListModel &lista, const QString &idCatalogo,
                     const std::function<void(int item, bool ultimo)> &avance, ResumenEnvio &resumen,
                     const std::function<void(const QString &)> &aviso = {});
