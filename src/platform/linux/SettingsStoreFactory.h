#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "core/settings/SettingsStore.h"
#include "platform/linux/WineServerProbe.h"

namespace modshelf::platform {

struct OpenedSettingsStore {
    std::unique_ptr<settings::SettingsStore> store;
    // A notice for the user, given once: the first time the settings go to
    // the private folder. Empty otherwise.
    std::string noticeText;
    // The Wine prefix, or the private folder, that holds the settings.
    std::filesystem::path path;
    bool inWinePrefix = false;
};

// Opens the settings of the Wine prefix ($WINEPREFIX, else ~/.wine) when the
// prefix exists with its user.reg; otherwise a store of the same format in a
// private folder under the user's data folder, which Modshelf makes itself.
// A prefix is never created.
OpenedSettingsStore openSettingsStore();

// The same with every location given, for tests.
OpenedSettingsStore openSettingsStore(const std::filesystem::path& prefix,
                                      const std::filesystem::path& privateFolder,
                                      std::shared_ptr<WineServerProbe> serverProbe);

// $XDG_DATA_HOME/modshelf, else ~/.local/share/modshelf.
std::filesystem::path privateSettingsFolder();

}  // namespace modshelf::platform
