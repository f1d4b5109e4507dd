#pragma once

#include <cstddef>
#include <string>

#include "core/settings/RegistryKey.h"
#include "core/settings/SettingsStore.h"

namespace modshelf::workspaces {

// The rules of renaming a numbered workspace (1 to 15). The dialog shows the
// texts; everything decided here is testable without a window.
struct RenameRequest {
    int number = 0;         // 1 to 15
    std::string nodeLabel;  // the tree node's current label, e.g. "<07> Workspace 07"
};

// "07" for 7.
std::string workspaceId(int number);

// What the dialog shows when it opens.
std::string renameInitialName(const std::string& nodeLabel);
std::string renameWindowTitle(int number);
std::string renameLabelText(int number);

// The longest name the next start can read back: titles are read through a
// buffer of 200 bytes that also holds the terminating NUL. Bytes, not letters:
// a Cyrillic letter takes two.
inline constexpr std::size_t kMaxWorkspaceNameBytes = settings::RegistryKey::kStringBufferSize - 1;
// True when the trimmed name is longer than the next start could read.
bool renameNameTooLong(const std::string& typedName);
std::string nameTooLongText(const std::string& typedName);
inline constexpr const char* kNameTooLongCaption = " Workspace Name Too Long";

// The OK button: trims the typed name, stores it as the workspace's title and
// gives the new node label ("<07> " + name). The status is that of the write
// and its save; a name that is too long is refused (kInvalidParameter) and
// nothing is written. A failed save is not passed to the store's listener:
// `error` says why, for the rename's own message.
struct RenameResult {
    std::string newLabel;
    settings::Status status = settings::kSuccess;
    std::string error;
};
RenameResult applyRename(settings::SettingsStore& store, int number, const std::string& typedName);
std::string renameFailedText(int number, const std::string& error);
inline constexpr const char* kRenameFailedCaption = " Workspace Not Renamed";

// After OK: true when the tree and the notice should change, false when the
// name was emptied (the label is then a bare prefix such as "<07> ").
bool renameChangesLabel(const std::string& newLabel);

std::string renamedNoticeText(int number);
inline constexpr const char* kRenamedNoticeCaption = " Workspace Renamed";

}  // namespace modshelf::workspaces
