#include "ActiveModules.h"

#include <fstream>
#include <system_error>

#include "core/host/HostInterface.h"
#include "core/settings/SettingsStore.h"

namespace modshelf::scrivelsim {

using settings::RegRoot;

std::vector<ActiveModule> readActiveModules(settings::SettingsStore& store) {
    std::vector<ActiveModule> result;
    for (std::string_view category :
         {host::kBiblesSubkey, host::kCommentariesSubkey, host::kDictionariesSubkey}) {
        const std::string key = std::string(host::kHostResourceKey) + "\\" + std::string(category);
        if (store.openKey(RegRoot::CurrentUser, key) != settings::kSuccess) continue;
        std::string name;
        settings::RegValue value;
        for (std::uint32_t index = 0;
             store.enumValue(RegRoot::CurrentUser, key, index, name, value) == settings::kSuccess;
             ++index) {
            if (name.empty()) continue;
            if (settings::equalsNoCase(value.text(), std::string(host::kActiveText)))
                result.push_back({std::string(category), name});
        }
    }
    return result;
}

bool writeReport(const std::filesystem::path& file, const std::vector<ActiveModule>& modules) {
    std::filesystem::path partial = file;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        for (const ActiveModule& module : modules) out << module.reportLine() << '\n';
        out.flush();
        if (!out) return false;
    }
    std::error_code error;
    std::filesystem::rename(partial, file, error);
    return !error;
}

}  // namespace modshelf::scrivelsim
