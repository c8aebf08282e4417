#pragma once

#include <QStringList>

class frmMain;
class QTemporaryDir;

// `process [--postgres [--latencia MS]] FILE`: F11 over a loaded sheet against a catalog that holds every
// other article, every origin text already learned.
namespace ProcessCommand {
int run(const QStringList &arguments);

// Shared with `send`: a started main window on a private embedded database with FILE
// loaded and mapped (ARTICULO, DESCRIPCION, NCM, KILOS_UNITARIO, PAIS_ORIGEN), the
// catalog holding every other article. False (after saying why) when that failed.
bool prepare(const QString &file, frmMain &window, QTemporaryDir &home);
// Presses F11 and returns the seconds until the window reached the review step (< 0 if not).
double pressF11(frmMain &window);
} // namespace ProcessCommand
