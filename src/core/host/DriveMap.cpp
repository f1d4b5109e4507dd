#include "core/host/DriveMap.h"

#include <algorithm>
#include <cctype>

#include "core/host/FolderAccess.h"
#include "core/settings/RegistryTypes.h"

namespace modshelf::host {

namespace fs = std::filesystem;

namespace {

char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string withForwardSlashes(std::string_view text) {
    std::string result(text);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

// The root without a trailing separator, except "/" itself.
fs::path normalRoot(const fs::path& root) {
    std::string text = root.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace

std::optional<std::string> findEntryNoCase(const fs::path& folder, std::string_view name) {
    if (name.empty()) return std::nullopt;
    const FolderAccess& access = folderAccess();
    const std::string wanted(name);
    if (access.entryExists((folder / wanted).string())) return wanted;
    const std::optional<std::vector<std::string>> names = access.entryNames(folder.string());
    if (!names) return std::nullopt;
    for (const std::string& entry : *names)
        if (settings::equalsNoCase(entry, name)) return entry;
    return std::nullopt;
}

DriveMap DriveMap::fromPrefix(const fs::path& prefix) {
    DriveMap map;
    const FolderAccess& access = folderAccess();
    const fs::path devices = prefix / "dosdevices";
    const std::optional<std::vector<std::string>> names = access.entryNames(devices.string());
    if (!names) return map;
    for (const std::string& name : *names) {
        // "c:" is a drive; "d::" (the raw device) and anything else are not.
        if (name.size() != 2 || name[1] != ':' ||
            !std::isalpha(static_cast<unsigned char>(name[0])))
            continue;
        const fs::path entry = devices / name;
        fs::path target;
        if (std::optional<std::string> link = access.linkTarget(entry.string())) {
            target = *link;
            if (target.is_relative()) target = devices / target;
        } else if (access.isFolder(entry.string())) {
            target = entry;  // a folder standing for the drive itself
        } else {
            continue;
        }
        map.addDrive(name[0], target);
    }
    return map;
}

void DriveMap::addDrive(char letter, const fs::path& root) {
    Drive drive;
    drive.letter = upper(letter);
    drive.root = normalRoot(root);
    drive.present = folderAccess().isFolder(drive.root.string());
    auto it = std::find_if(drives_.begin(), drives_.end(),
                           [&](const Drive& d) { return d.letter == drive.letter; });
    if (it != drives_.end()) {
        *it = std::move(drive);
    } else {
        drives_.push_back(std::move(drive));
        std::sort(drives_.begin(), drives_.end(),
                  [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    }
}

const Drive* DriveMap::drive(char letter) const {
    const char wanted = upper(letter);
    for (const Drive& d : drives_) {
        if (d.letter == wanted) return &d;
    }
    return nullptr;
}

std::optional<std::string> DriveMap::toLocalPath(std::string_view windowsPath) const {
    if (windowsPath.empty()) return std::string();
    const bool hasDrive = windowsPath.size() >= 2 && windowsPath[1] == ':' &&
                          std::isalpha(static_cast<unsigned char>(windowsPath[0]));
    if (!hasDrive) {
        // "\\server\share" has no local counterpart.
        if (windowsPath.size() >= 2 && windowsPath[0] == '\\' && windowsPath[1] == '\\')
            return std::nullopt;
        return withForwardSlashes(windowsPath);
    }
    const Drive* d = drive(windowsPath[0]);
    if (!d) return std::nullopt;

    const std::string_view rest = windowsPath.substr(2);
    const bool trailing = !rest.empty() && isSeparator(rest.back());
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !isSeparator(rest[end])) ++end;
        const std::string_view part = rest.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        start = end + 1;
    }

    fs::path local = d->root;
    bool resolving = true;  // once a component is missing, the rest is too
    for (const std::string& part : parts) {
        std::optional<std::string> actual;
        if (resolving) actual = findEntryNoCase(local, part);
        if (!actual) resolving = false;
        local /= actual ? *actual : part;
    }
    std::string text = local.string();
    if ((trailing || parts.empty()) && (text.empty() || text.back() != '/')) text.push_back('/');
    return text;
}

std::optional<std::string> DriveMap::toWindowsPath(std::string_view localPath) const {
    const fs::path path = fs::path(std::string(localPath)).lexically_normal();
    const Drive* best = nullptr;
    std::size_t bestDepth = 0;
    fs::path bestRest;
    for (const Drive& d : drives_) {
        const fs::path rest = path.lexically_relative(d.root);
        if (rest.empty() || *rest.begin() == "..") continue;
        const std::size_t depth = std::distance(d.root.begin(), d.root.end());
        if (!best || depth > bestDepth) {
            best = &d;
            bestDepth = depth;
            bestRest = rest;
        }
    }
    if (!best) return std::nullopt;
    std::string text = best->label();
    std::string rest = bestRest.string();
    if (rest == ".") rest.clear();
    std::replace(rest.begin(), rest.end(), '/', '\\');
    text += rest;
    const bool trailing = !localPath.empty() && localPath.back() == '/';
    if (trailing && text.back() != '\\') text.push_back('\\');
    return text;
}

std::string DriveMap::displayPath(std::string_view localPath) const {
    if (localPath.empty() || localPath.front() != '/') return std::string(localPath);
    return toWindowsPath(localPath).value_or(std::string(localPath));
}

}  // namespace modshelf::host
