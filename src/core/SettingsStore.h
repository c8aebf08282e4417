#pragma once

#include <QString>

// Per-user application settings keyed by application, section and key
// (QSettings(application, section): ~/.config/<application>/<section>.conf).
namespace SettingsStore {
QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
// Raises AppError when the store cannot be written.
void SaveSetting(const QString &application, const QString &section, const QString &key, const QString &value);
} // namespace SettingsStore
