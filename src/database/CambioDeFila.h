#pragma once

#include <QByteArray>

// One row a run changed, its columns in FilaCodificada's bytes: before (empty when the run
// inserted it) and after.
struct CambioDeFila {
    QByteArray antes;
    QByteArray despues;
};
