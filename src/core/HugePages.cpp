#include "core/HugePages.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr const char *kTunables = "GLIBC_TUNABLES";
constexpr const char *kSetting = "glibc.malloc.hugetlb=1";
// Present only in the restarted program: what GLIBC_TUNABLES held before, after a marker
// so that "unset" and "empty" stay apart.
constexpr const char *kSaved = "SORVANTA_TUNABLES_ANTES";

// Huge pages on request only ("[madvise]"): with "always" they come anyway, with
// "never" asking is useless.
bool kernelGivesOnRequest()
{
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string line;
    return std::getline(in, line) && line.find("[madvise]") != std::string::npos;
}

void restoreEnvironment(const char *saved)
{
    if (saved[0] == '=')
        setenv(kTunables, saved + 1, 1);
    else
        unsetenv(kTunables);
    unsetenv(kSaved);
}

} // namespace

namespace HugePages {

void enableForHeap(char **argv)
{
#ifdef __GLIBC__
    if (const char *saved = std::getenv(kSaved)) {
        restoreEnvironment(saved);
        return;
    }
    const char *current = std::getenv(kTunables);
    // The operator's own malloc tunables are left alone.
    if ((current && std::strstr(current, "glibc.malloc.hugetlb")) || !kernelGivesOnRequest())
        return;
    const std::string before = current ? std::string("=") + current : std::string("-");
    const std::string tunables = current && *current ? std::string(current) + ":" + kSetting : kSetting;
    if (setenv(kSaved, before.c_str(), 1) != 0 || setenv(kTunables, tunables.c_str(), 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Could not start again: go on as we are, with the environment as it was.
    restoreEnvironment(before.c_str());
#else
    (void)argv;
#endif
}

} // namespace HugePages
