#pragma once

#include <QStringList>

// `screens WORKBOOK OUTDIR`: walks the five steps on a private embedded database with
// WORKBOOK and saves a picture of each step into OUTDIR (for the README).
namespace ScreensCommand {
int run(const QStringList &arguments);
}
