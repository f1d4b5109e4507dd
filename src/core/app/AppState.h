#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/host/HostFolderState.h"
#include "core/modules/ModuleDetails.h"
#include "core/modules/TypeFilter.h"
#include "core/tree/NodeKinds.h"

namespace modshelf::app {

// The tree's node kinds and workspace slots, under the names the views use.
namespace node = tree::node;
using tree::kSlotAll;
using tree::kSlotCurrent;
using tree::kWorkspaceSlots;
using tree::workspaceSlot;

// Program-wide state that lives for the whole run and is shared by the views.
// Nothing here is saved except through the settings store. Scrivel's folders
// are the host part of it, which the host subsystem fills and reads.
struct AppState : host::HostFolderState {
    AppState();

    std::string programVersion = "V.3.37";
    std::string titlePrefix = " Modshelf for Scrivel - ";

    std::array<std::string, kWorkspaceSlots> workspaceDisplayName;
    std::array<std::string, kWorkspaceSlots> workspaceFolder;

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
