#include "core/SettingsStore.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"

#include <QSettings>

namespace SettingsStore {

QString GetSetting(const QString &application, const QString &section, const QString &key, const QString &defaultValue)
{
    QSettings settings(application, section);
    return settings.value(key, defaultValue).toString();
}

void SaveSetting(const QString &application, const QString &section, const QString &key, const QString &value)
{
    QSettings settings(application, section);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw AppError(ErrorNumbers::kFileAccess, QStringLiteral("SaveSetting"),
                       QStringLiteral("No se pudo guardar la configuración en %1").arg(settings.fileName()));
}

} // namespace SettingsStore
