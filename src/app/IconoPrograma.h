#pragma once

#include <QIcon>
#include <QPixmap>

// The program's picture is one drawing, sorvanta.svg: the window shows it, the window
// manager gets it as the window icon, and the package installs it in the icon theme.
class IconoPrograma {
public:
    static QPixmap pixmap(int lado);
    static QIcon icono();
};
