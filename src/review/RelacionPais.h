#pragma once

#include <QString>

// Translation of one origin value: the country id of the customs system and the
// state-of-goods code learned with it.
struct RelacionPais {
    QString ORI;
    QString ESM;
};
