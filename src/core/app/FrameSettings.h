#pragma once

#include <cstdint>
#include <optional>

#include "core/app/WindowPos.h"

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::app {

struct AppState;

// Where Modshelf keeps its own settings, below HKEY_CURRENT_USER.
inline constexpr const char* kSettingsRootKey = "Software\\Quorvel\\Modshelf";
inline constexpr const char* kSettingsKey = "Software\\Quorvel\\Modshelf\\Settings";
// Scrivel's own settings; Modshelf writes only its tab style there.
inline constexpr const char* kHostSettingsKey =
    "Software\\VB and VBA Program Settings\\Scrivel\\Settings";

// The bookkeeping values written at every start, which a settings backup
// must carry: "CurrentVersion", "ExportSet", "ImportSet", "Workspaces" and the
// two "WorkspaceName" values. Saved together.
void writeStartupValues(settings::SettingsStore& store, const AppState& state);

// "WindowPos": nothing when absent or unusable.
std::optional<WindowPos> readWindowPos(settings::SettingsStore& store);
void writeWindowPos(settings::SettingsStore& store, const WindowPos& pos);

// "StayOnTop", with the current state as the default when absent.
std::uint32_t readStayOnTop(settings::SettingsStore& store, std::uint32_t current);
// Flips state.stayOnTop and stores it. True when the window must now stay on top.
bool toggleStayOnTop(settings::SettingsStore& store, AppState& state);
// The menu check of "Stay on Top": set for 1, cleared for 0, left alone otherwise.
std::optional<bool> stayOnTopCheck(std::uint32_t state);

// Scrivel's "Tab Style": "1" one scrollable row of module tabs, "0" several rows.
void writeTabStyle(settings::SettingsStore& store, bool singleRow);
// True when the stored value is exactly "1".
bool isSingleTabRow(settings::SettingsStore& store);

}  // namespace modshelf::app
