#include "IncludeLayers.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace modshelf::test {

namespace {

int layerOf(const std::string& folder) {
    const auto found = std::find(kCoreLayers.begin(), kCoreLayers.end(), folder);
    return found == kCoreLayers.end() ? -1 : static_cast<int>(found - kCoreLayers.begin());
}

std::string_view trimmedLeft(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

bool isSource(const std::filesystem::path& path) {
    return path.extension() == ".cpp" || path.extension() == ".h";
}

}  // namespace

std::vector<std::string> includedHeaders(std::string_view source) {
    std::vector<std::string> headers;
    std::size_t start = 0;
    while (start < source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        std::string_view line = trimmedLeft(source.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() != '#') continue;
        line = trimmedLeft(line.substr(1));
        if (line.substr(0, 7) != "include") continue;
        line = trimmedLeft(line.substr(7));
        if (line.empty() || (line.front() != '"' && line.front() != '<')) continue;
        const std::size_t close = line.find(line.front() == '"' ? '"' : '>', 1);
        if (close != std::string_view::npos) headers.emplace_back(line.substr(1, close - 1));
    }
    return headers;
}

std::string includeFault(const std::string& folder, const std::string& header) {
    const int own = layerOf(folder);
    if (own < 0) return "core/" + folder + " has no place in the layer order";
    if (header.rfind("platform/", 0) == 0) return "core never includes the platform layer";
    if (header.rfind("gui/", 0) == 0) return "core never includes the gui";
    if (header.size() > 1 && header[0] == 'Q' &&
        (std::isupper(static_cast<unsigned char>(header[1])) || header.rfind("Qt", 0) == 0))
        return "core never includes Qt";
    for (const char* system : {"dirent.h", "unistd.h", "fcntl.h", "sys/", "X11/", "xcb/"})
        if (header.rfind(system, 0) == 0)
            return "core reaches the operating system through the platform layer";
    if (header.rfind("core/", 0) != 0) return {};
    const std::size_t slash = header.find('/', 5);
    if (slash == std::string::npos) return "core headers live in a subsystem folder";
    const std::string target = header.substr(5, slash - 5);
    const int theirs = layerOf(target);
    if (theirs < 0) return "core/" + target + " has no place in the layer order";
    if (theirs > own) return "core/" + target + " sits above core/" + folder;
    return {};
}

std::vector<std::string> coreIncludeFaults(const std::filesystem::path& coreRoot, int& filesSeen) {
    std::vector<std::string> faults;
    filesSeen = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(coreRoot)) {
        if (!entry.is_regular_file() || !isSource(entry.path())) continue;
        const std::filesystem::path relative = entry.path().lexically_relative(coreRoot);
        const std::string folder = relative.begin()->string();
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        ++filesSeen;
        const bool waiting =
            std::find(kSystemHeadersStillUsed.begin(), kSystemHeadersStillUsed.end(),
                      relative.generic_string()) != kSystemHeadersStillUsed.end();
        for (const std::string& header : includedHeaders(text.str())) {
            std::string why = includeFault(folder, header);
            if (waiting && why.find("operating system") != std::string::npos) why.clear();
            if (!why.empty())
                faults.push_back("src/core/" + relative.generic_string() + ": includes " + header +
                                 " (" + why + ")");
        }
    }
    std::sort(faults.begin(), faults.end());
    return faults;
}

}  // namespace modshelf::test
