#pragma once

#include <QString>

// The program's own version resource.
namespace VersionInfo {
int major();
int minor();
int revision();
QString fileDescription();
// "M.m.r", plain decimal numbers.
QString text();
// The application title: the default title of every message box.
QString appTitle();
} // namespace VersionInfo
