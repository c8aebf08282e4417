#pragma once

#include <QVariantList>

// One row a run changed: its columns before (none when the run inserted it) and after.
struct CambioDeFila {
    QVariantList antes;
    QVariantList despues;
};
