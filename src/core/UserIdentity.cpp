#include "core/UserIdentity.h"

#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#include <vector>
#endif

namespace UserIdentity {
namespace {
Source &userSource()
{
    static Source s;
    return s;
}

Source &computerSource()
{
    static Source s;
    return s;
}

std::optional<QString> systemUserName()
{
#ifdef Q_OS_WIN
    wchar_t name[257];
    DWORD size = 257;
    if (!GetUserNameW(name, &size))
        return std::nullopt;
    return QString::fromWCharArray(name, int(size) - 1);
#else
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? std::size_t(size) : 16384);
    passwd entry{};
    passwd *found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    return QString::fromLocal8Bit(found->pw_name);
#endif
}

std::optional<QString> systemComputerName()
{
#ifdef Q_OS_WIN
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &size))
        return std::nullopt;
    return QString::fromWCharArray(name, int(size));
#else
    const QString host = QSysInfo::machineHostName();
    if (host.isEmpty())
        return std::nullopt;
    return host;
#endif
}

// Writes the name and its NUL at the start of the buffer, as the Windows call does.
bool fill(const std::optional<QString> &name, QString &buffer, quint32 &length, bool lengthCountsNul)
{
    if (!name || quint32(name->size()) + 1 > length)
        return false;
    buffer.replace(0, name->size() + 1, *name + QChar(u'\0'));
    length = quint32(name->size()) + (lengthCountsNul ? 1 : 0);
    return true;
}
} // namespace

bool getUserName(QString &buffer, quint32 &length)
{
    return fill(userSource() ? userSource()() : systemUserName(), buffer, length, true);
}

bool getComputerName(QString &buffer, quint32 &length)
{
    return fill(computerSource() ? computerSource()() : systemComputerName(), buffer, length, false);
}

void setUserNameSource(Source source)
{
    userSource() = std::move(source);
}

void setComputerNameSource(Source source)
{
    computerSource() = std::move(source);
}

} // namespace UserIdentity
