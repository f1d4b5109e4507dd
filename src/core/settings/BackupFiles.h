#pragma once

#include <optional>
#include <string>
#include <vector>

namespace modshelf::settings {

// The subtree that a backup carries and a restore replaces.
inline constexpr const char* kBackupKey = "HKEY_CURRENT_USER\\Software\\Quorvel\\Modshelf";

// The file dialogs of the backup and restore commands.
class BackupFileChooser {
public:
    virtual ~BackupFileChooser() = default;
    // The save dialog (asks before overwriting). Nothing when cancelled.
    virtual std::optional<std::string> chooseBackupFile(const std::string& proposed) = 0;
    // The open dialog (the file must exist). Nothing when cancelled.
    virtual std::optional<std::string> chooseRestoreFile(const std::string& proposed) = 0;
};

// The folder part of the program's path: the text before the last backslash,
// or else before the last slash; empty when there is neither.
std::string programFolder(const std::string& programPath);

// `fileName` in `folder` with one separator between them (a drive root's
// backslash is not doubled). Doubled separators are reduced to one, except a
// leading pair that names a network share.
std::string proposedBackupFile(const std::string& folder, const std::string& fileName);

// Whether the path ends in ".xml" without regard to case.
bool hasXmlExtension(const std::string& path);

// The names that the program writes at every start, so that every backup it
// makes holds them, in lower case.
const std::vector<std::string>& backupMarkers();

// The markers that no line of the file holds (compared in lower case).
// Nothing when the file cannot be read.
std::optional<std::vector<std::string>> missingBackupMarkers(const std::string& path);

}  // namespace modshelf::settings
