#pragma once

namespace modshelf::settings {
class SettingsStore;
}
namespace modshelf::dialogs {
class Prompter;
}
namespace modshelf::app {
struct AppState;
class InstanceMarker;
}  // namespace modshelf::app
namespace modshelf::host {
class HostControl;
class DriveMap;
}  // namespace modshelf::host

namespace modshelf::gui {

class CModshelfDoc;

// What the frame, the views and the dialogs share for the whole run.
struct GuiContext {
    settings::SettingsStore& store;
    dialogs::Prompter& prompter;
    app::AppState& state;
    host::HostControl* host = nullptr;              // Scrivel's process: find, stop, start
    CModshelfDoc* document = nullptr;               // routing and update-all-views
    app::InstanceMarker* instanceMarker = nullptr;  // held while this copy runs
    const host::DriveMap* drives = nullptr;         // the prefix's drive letters
};

}  // namespace modshelf::gui
