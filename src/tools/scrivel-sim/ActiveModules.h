#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::scrivelsim {

// One module that Scrivel's activation keys make active.
struct ActiveModule {
    std::string category;  // "Bibles", "Commentaries" or "Dictionaries"
    std::string tabName;

    // "Bibles\KJV": the form of the report file.
    std::string reportLine() const { return category + "\\" + tabName; }
};

// Reads Scrivel's Bibles, Commentaries and Dictionaries keys, in that order,
// as Scrivel does when it starts: a value whose text is "true" in any case is
// active; anything else is not.
std::vector<ActiveModule> readActiveModules(settings::SettingsStore& store);

// Writes one report line per module, replacing the file in one step so that a
// reader never sees half of it. False when it could not be written.
bool writeReport(const std::filesystem::path& file, const std::vector<ActiveModule>& modules);

}  // namespace modshelf::scrivelsim
