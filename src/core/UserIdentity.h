#pragma once

#include <QString>
#include <functional>
#include <optional>

// The logged-on user's name and the computer name, asked the way the Windows calls
// answer: a buffer and an in/out length. Elsewhere the account of the effective user id
// and the host name stand in.
namespace UserIdentity {

// On success the buffer starts with the name and a NUL, and length counts the NUL.
// Fails when the name does not fit in `length` characters (NUL included).
bool getUserName(QString &buffer, quint32 &length);
// On success the buffer starts with the name and a NUL, and length excludes the NUL.
bool getComputerName(QString &buffer, quint32 &length);

// Tests decide what the system gives: std::nullopt makes the call fail. An empty
// function restores the real source.
using Source = std::function<std::optional<QString>()>;
void setUserNameSource(Source source);
void setComputerNameSource(Source source);

} // namespace UserIdentity
