#include "core/app/FrameSettings.h"

#include "core/app/AppState.h"
#include "core/settings/RegistryAccess.h"

namespace modshelf::app {

using settings::RegRoot;

void writeStartupValues(settings::SettingsStore& store, const AppState& state) {
    settings::SettingsOperation operation(store);
    settings::SetRegString(store, kSettingsRootKey, "CurrentVersion", state.programVersion);
    settings::SetRegDword(store, kSettingsKey, "ExportSet", 1);
    settings::SetRegDword(store, kSettingsKey, "ImportSet", 1);
    settings::SetRegDword(store, kSettingsKey, "Workspaces", 15);
    settings::SetRegString(store, std::string(kSettingsRootKey) + "\\WorkspaceA", "WorkspaceName",
                           "WorkspaceA");
    settings::SetRegString(store, std::string(kSettingsRootKey) + "\\WorkspaceC", "WorkspaceName",
                           "WorkspaceC");
    operation.commit();
}

std::optional<WindowPos> readWindowPos(settings::SettingsStore& store) {
    const std::string text =
        settings::GetRegString(store, RegRoot::CurrentUser, kSettingsKey, "WindowPos");
    if (text.empty()) return std::nullopt;
    return parseWindowPos(text);
}

void writeWindowPos(settings::SettingsStore& store, const WindowPos& pos) {
    settings::SetRegString(store, kSettingsKey, "WindowPos", formatWindowPos(pos));
}

std::uint32_t readStayOnTop(settings::SettingsStore& store, std::uint32_t current) {
    return settings::GetRegDword(store, RegRoot::CurrentUser, kSettingsKey, "StayOnTop", current);
}

bool toggleStayOnTop(settings::SettingsStore& store, AppState& state) {
    const std::uint32_t old = state.stayOnTop;
    state.stayOnTop = old != 0 ? 0 : 1;
    settings::SetRegDword(store, kSettingsKey, "StayOnTop", state.stayOnTop);
    return old == 0;
}

std::optional<bool> stayOnTopCheck(std::uint32_t state) {
    if (state == 1) return true;
    if (state == 0) return false;
    return std::nullopt;
}

void writeTabStyle(settings::SettingsStore& store, bool singleRow) {
    settings::SetRegString(store, kHostSettingsKey, "Tab Style", singleRow ? "1" : "0");
}

bool isSingleTabRow(settings::SettingsStore& store) {
    return settings::GetRegString(store, RegRoot::CurrentUser, kHostSettingsKey, "Tab Style") ==
           "1";
}

}  // namespace modshelf::app
