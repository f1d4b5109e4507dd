#include "FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace modshelf::demo {

void setFileTime(const std::filesystem::path& path, std::int64_t seconds, bool followLinks) {
    timespec times[2];
    times[0].tv_sec = static_cast<time_t>(seconds);
    times[0].tv_nsec = 0;
    times[1] = times[0];
    if (utimensat(AT_FDCWD, path.c_str(), times, followLinks ? 0 : AT_SYMLINK_NOFOLLOW) != 0) {
        throw std::runtime_error("Cannot set the time of " + path.string() + ": " +
                                 std::strerror(errno));
    }
}

void setFolderTimes(const std::filesystem::path& folder, std::int64_t seconds) {
    std::vector<std::filesystem::path> folders{folder};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_directory() && !entry.is_symlink()) folders.push_back(entry.path());
    }
    // Deeper paths are longer than their parents, so longest first is deepest first.
    std::sort(folders.begin(), folders.end(),
              [](const auto& a, const auto& b) { return a.native().size() > b.native().size(); });
    for (const auto& path : folders) setFileTime(path, seconds);
}

}  // namespace modshelf::demo
