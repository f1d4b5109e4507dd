#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/modules/ModuleDetails.h"
#include "core/modules/TypeFilter.h"

namespace modshelf::app {

// Kinds of tree node. 1 to 15 are the numbered workspaces.
namespace node {
inline constexpr int kNone = -1;
inline constexpr int kResourceFolder = 16;
inline constexpr int kUserFilesFolder = 17;
inline constexpr int kDriveOrFolder = 18;
inline constexpr int kAllModules = 19;       // <A>
inline constexpr int kCurrentSettings = 20;  // <C>
inline constexpr bool isNumberedWorkspace(int kind) {
    return kind >= 1 && kind <= 15;
}
inline constexpr bool isWorkspace(int kind) {
    return isNumberedWorkspace(kind) || kind == kAllModules || kind == kCurrentSettings;
}
}  // namespace node

// The seventeen workspaces are addressed by slot: 0 to 14 are <01> to <15>,
// 15 is <A> and 16 is <C>.
inline constexpr int kWorkspaceSlots = 17;
inline constexpr int kSlotAll = 15;
inline constexpr int kSlotCurrent = 16;
// The slot of a workspace node kind, or -1 for a folder node.
inline constexpr int workspaceSlot(int nodeKind) {
    if (node::isNumberedWorkspace(nodeKind)) return nodeKind - 1;
    if (nodeKind == node::kAllModules) return kSlotAll;
    if (nodeKind == node::kCurrentSettings) return kSlotCurrent;
    return -1;
}

// Program-wide state that lives for the whole run and is shared by the views.
// Nothing here is saved except through the settings store.
struct AppState {
    AppState();

    std::string programVersion = "V.3.37";
    std::string titlePrefix = " Modshelf for Scrivel - ";

    std::array<std::string, kWorkspaceSlots> workspaceDisplayName;
    std::array<std::string, kWorkspaceSlots> workspaceFolder;

    std::string resourceFolder;
    std::string userFilesFolder;
    bool resourceFolderFound = true;
    bool userFilesFolderFound = true;

    std::string currentFolder;
    int nodeKind = node::kNone;
    std::string selectedModulePath;

    std::uint32_t stayOnTop = 0;
    bool settingsRestored = false;

    // The status bar's counts from the latest fill of the list.
    std::uint32_t fileCount = 0;
    std::uint32_t activeCount = 0;
    // Rows the list's search leaves visible; empty while there is no search.
    std::optional<std::uint32_t> shownCount;

    std::string helpFilePath;

    // Which module kinds the list shows; reset by every tree selection.
    modules::TypeFilter typeFilter;
    // The latest module read for a report or export.
    modules::ModuleDetails moduleDetails;
};

}  // namespace modshelf::app
