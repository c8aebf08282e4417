#pragma once

#include <QString>
#include <QtGlobal>

// Numbers and source of the errors the data-access component raises.
namespace DataAccessErrors {
// Configuration and connection failures (0x80004005).
constexpr qint32 kConnection = -2147467259;
// A statement the database rejects (0x80040E14); the description is the database's own.
constexpr qint32 kStatement = -2147217900;

inline QString source()
{
    return QStringLiteral("DataAccessManager.DAMMain");
}
} // namespace DataAccessErrors

static_assert(DataAccessErrors::kConnection == static_cast<qint32>(0x80004005u));
static_assert(DataAccessErrors::kStatement == static_cast<qint32>(0x80040E14u));
