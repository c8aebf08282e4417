#pragma once

#include <QString>

class AppError;

// The errors a workbook reader raises, each with a Spanish description that names the file.
namespace WorkbookErrors {

// Excel's own number for a workbook it cannot open.
constexpr qint32 kCannotOpen = 1004;

AppError missing(const QString &path);
AppError cannotRead(const QString &path);
AppError damaged(const QString &path);
AppError notAWorkbook(const QString &path);
AppError encrypted(const QString &path);
AppError tooLarge(const QString &path);
AppError unsafeXml(const QString &path);

} // namespace WorkbookErrors
