#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace modshelf::host {

// One drive letter of a Wine prefix and the local folder it stands for.
struct Drive {
    char letter = 'C';           // upper case
    std::filesystem::path root;  // the local folder, without trailing separator ("/" for z:)
    bool present = false;        // the folder exists (a CD drive without a disc does not)

    // "C:\" as the tree labels it.
    std::string label() const { return std::string(1, letter) + ":\\"; }
};

// Turns Windows paths ("C:\Program Files (x86)\Scrivel\") into local ones.
// Built from a prefix's dosdevices links (c: -> ../drive_c, z: -> /, ...).
// Each path component is matched without regard to case, as Windows would:
// the first existing entry whose name equals it ignoring case is taken, an
// exact match preferred. Components that match nothing are kept as written.
class DriveMap {
public:
    DriveMap() = default;

    // Reads <prefix>/dosdevices. A missing folder gives an empty map.
    static DriveMap fromPrefix(const std::filesystem::path& prefix);

    // Adds or replaces a drive (tests, and platforms without dosdevices).
    void addDrive(char letter, const std::filesystem::path& root);

    // All drives, A to Z.
    const std::vector<Drive>& drives() const { return drives_; }
    const Drive* drive(char letter) const;

    // The local path of a Windows path, with '/' separators. A trailing
    // backslash becomes a trailing '/'. A path that is already local (starts
    // with '/') and a relative path (no drive) are returned with separators
    // turned; the empty text stays empty. nullopt: the drive letter is unknown.
    std::optional<std::string> toLocalPath(std::string_view windowsPath) const;

    // The Windows path of a local path under one of the drives (the deepest
    // root wins, so c: beats z:), or nullopt when no drive holds it.
    std::optional<std::string> toWindowsPath(std::string_view localPath) const;

    // A folder as the user reads it in titles: the Windows form that the tree
    // and Scrivel use when a drive holds it, the local path as it is otherwise.
    std::string displayPath(std::string_view localPath) const;

private:
    std::vector<Drive> drives_;
};

// Finds the entry of `folder` named `name` ignoring ASCII case; an exact
// match wins. nullopt when there is none or the folder cannot be read.
std::optional<std::string> findEntryNoCase(const std::filesystem::path& folder,
                                           std::string_view name);

}  // namespace modshelf::host
