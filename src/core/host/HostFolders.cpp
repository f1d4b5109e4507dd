#include "core/host/HostFolders.h"

#include <algorithm>
#include <cctype>

#include "core/host/FolderAccess.h"
#include "core/host/HostInterface.h"
#include "core/settings/RegistryAccess.h"

namespace modshelf::host {

namespace {

using settings::RegRoot;

bool globNoCase(std::string_view pattern, std::string_view name) {
    // Iterative matching with one backtrack point for the last '*'.
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || std::tolower(static_cast<unsigned char>(pattern[p])) ==
                                             std::tolower(static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string ensureTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() != '\\') path.push_back('\\');
    return path;
}

// A candidate passes when its local folder holds a match for the marker.
std::optional<std::string> probe(const std::string& windowsPath, std::string_view marker,
                                 const DriveMap& drives) {
    std::optional<std::string> local = drives.toLocalPath(windowsPath);
    if (!local || !folderHasMatch(*local, marker)) return std::nullopt;
    return ensureTrailingSeparator(*local);
}

}  // namespace

std::string ensureTrailingSeparator(std::string path) {
    if (!path.empty() && path.back() != kFolderSeparator) path.push_back(kFolderSeparator);
    return path;
}

bool wildcardMatches(std::string_view pattern, std::string_view name) {
    if (globNoCase(pattern, name)) return true;
    // The short name keeps three characters of the extension.
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot - 1 <= 3) return false;
    return globNoCase(pattern, name.substr(0, dot + 4));
}

bool folderHasMatch(const std::string& folder, std::string_view pattern) {
    const std::optional<std::vector<std::string>> names = folderAccess().entryNames(folder);
    if (!names) return false;
    return std::any_of(names->begin(), names->end(),
                       [&](const std::string& name) { return wildcardMatches(pattern, name); });
}

FolderSearch findResourceFolder(settings::SettingsStore& store, const DriveMap& drives) {
    const std::string settingsKey(kHostSettingsKey);
    const std::string candidates[] = {
        settings::GetRegString(store, RegRoot::CurrentUser, settingsKey,
                               std::string(kResourcesPathValue)),
        settings::GetRegString(store, RegRoot::CurrentUser, settingsKey, std::string(kPathValue)),
        ensureTrailingBackslash(settings::GetRegString(store, RegRoot::LocalMachine,
                                                       std::string(kProgramFilesKey),
                                                       std::string(kProgramFilesDirValue))) +
            "Scrivel\\",
        std::string(kDefaultHostFolder),
    };
    FolderSearch search;
    for (const std::string& candidate : candidates) {
        // A setting that is not there still probes (the current folder, as
        // Windows would), but names no place the user could look.
        const bool named = !candidate.empty() && candidate != "Scrivel\\";
        if (named && std::find(search.searched.begin(), search.searched.end(), candidate) ==
                         search.searched.end())
            search.searched.push_back(candidate);
        if (std::optional<std::string> folder = probe(candidate, kResourceFolderMarker, drives)) {
            search.folder = *folder;
            search.found = true;
            return search;
        }
    }
    return search;
}

FolderSearch findUserFilesFolder(settings::SettingsStore& store, const DriveMap& drives) {
    const std::string documents = settings::GetRegString(
        store, RegRoot::CurrentUser, std::string(kShellFoldersKey), std::string(kPersonalValue));
    const std::string candidate =
        ensureTrailingBackslash(documents) + std::string(kUserFilesSubfolder) + "\\";
    if (std::optional<std::string> folder = probe(candidate, kUserFilesFolderMarker, drives))
        return {*folder, true, {candidate}};
    return {};
}

std::string defaultHostFolder(const DriveMap& drives) {
    std::optional<std::string> local = drives.toLocalPath(kDefaultHostFolder);
    return local ? ensureTrailingSeparator(*local) : std::string(kDefaultHostFolder);
}

std::string currentFolderOrDefault(const std::string& currentFolder, const DriveMap& drives) {
    return currentFolder.empty() ? defaultHostFolder(drives) : currentFolder;
}

void discoverHostFolders(HostFolderState& state, settings::SettingsStore& store,
                         const DriveMap& drives) {
    const FolderSearch resources = findResourceFolder(store, drives);
    state.resourceFolder = resources.folder;
    state.resourceFolderSearched = resources.searched;
    if (!resources.found) state.resourceFolderFound = false;
    const FolderSearch userFiles = findUserFilesFolder(store, drives);
    state.userFilesFolder = userFiles.folder;
    if (!userFiles.found) state.userFilesFolderFound = false;
}

}  // namespace modshelf::host
