#include "app/TraduccionQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstalarTraduccionQt()
{
    // One translator for the application's life, owned by the application object.
    auto *traductor = new QTranslator(QCoreApplication::instance());
    const bool cargada = traductor->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!cargada || !QCoreApplication::installTranslator(traductor)) {
        delete traductor;
        return false;
    }
    return true;
}
