#include "core/settings/BackupFiles.h"
#include "core/text/AsciiText.h"

#include <algorithm>
#include <fstream>

namespace modshelf::settings {


std::string programFolder(const std::string& programPath) {
    auto separator = programPath.rfind('\\');
    if (separator == std::string::npos) separator = programPath.rfind('/');
    if (separator == std::string::npos) return {};
    if (separator == 0) return programPath.substr(0, 1);  // a program at the root
    return programPath.substr(0, separator);
}

std::string proposedBackupFile(const std::string& folder, const std::string& fileName) {
    const char separator = folder.find('\\') != std::string::npos || folder.empty() ||
                                   (folder.size() == 2 && folder[1] == ':')
                               ? '\\'
                               : '/';
    std::string path = folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += separator;
    path += fileName;
    std::string reduced;
    reduced.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        const bool isSeparator = path[i] == '\\' || path[i] == '/';
        const bool doubled = isSeparator && !reduced.empty() && reduced.back() == path[i];
        if (doubled && i != 1) continue;  // "\\server\share" keeps its leading pair
        reduced += path[i];
    }
    return reduced;
}

bool hasXmlExtension(const std::string& path) {
    if (path.size() < 4) return false;
    return text::lowerAscii(path.substr(path.size() - 4)) == ".xml";
}

const std::vector<std::string>& backupMarkers() {
    static const std::vector<std::string> markers{"currentversion", "exportset",     "importset",
                                                  "workspaces",     "workspacename", "workspacea",
                                                  "workspacec"};
    return markers;
}

std::optional<std::vector<std::string>> missingBackupMarkers(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) return std::nullopt;
    std::vector<std::string> missing = backupMarkers();
    std::string line;
    while (!missing.empty() && std::getline(file, line)) {
        line = text::lowerAscii(std::move(line));
        std::erase_if(missing, [&line](const std::string& marker) {
            return line.find(marker) != std::string::npos;
        });
    }
    if (file.bad()) return std::nullopt;
    return missing;
}

}  // namespace modshelf::settings
