#include "platform/linux/WinePrefixLocation.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace modshelf::platform {

namespace {
std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}
}  // namespace

std::filesystem::path winePrefixPath() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
    return homeFolder() / ".wine";
}

}  // namespace modshelf::platform
