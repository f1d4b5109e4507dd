#include "DemoRegistry.h"

#include <array>
#include <map>

#include "core/host/HostInterface.h"
#include "core/modules/ModuleKind.h"

namespace modshelf::demo {

namespace {

using settings::KeyNode;
using settings::RegValue;

// Seconds between 1601-01-01 and 1970-01-01, the two epochs of key times.
constexpr std::uint64_t kFileTimeEpochOffset = 11644473600ULL;

void stampKeys(KeyNode& node, std::int64_t seconds) {
    node.modified = seconds;
    node.fileTime = (static_cast<std::uint64_t>(seconds) + kFileTimeEpochOffset) * 10000000ULL;
    for (KeyNode& child : node.subkeys) stampKeys(child, seconds);
}

void setText(settings::RegistryTree& tree, std::string_view keyPath, const std::string& name,
             const std::string& text) {
    tree.findOrCreate(std::string(keyPath)).setValue(name, RegValue::fromString(text));
}

// Tab names per activation category of the modules Scrivel itself would show:
// listed (not hidden, not in a subfolder) and carrying a usable tab name.
std::map<modules::ActivationCategory, std::vector<std::string>> tabNamesByCategory(
    const std::vector<DemoFile>& files) {
    std::map<modules::ActivationCategory, std::vector<std::string>> result;
    for (const DemoFile& file : files) {
        if (file.isHidden() || file.relativePath.find('/') != std::string::npos) continue;
        if (!file.tabName || file.tabName->empty() || *file.tabName == host::kEmptyFieldText) {
            continue;
        }
        if (file.form != FileForm::Module && file.form != FileForm::WalModule) continue;
        if (file.details == DetailsShape::NoTable || file.details == DetailsShape::EmptyTable) {
            continue;
        }
        auto category = modules::activationCategory(modules::classify(file.fileName()));
        if (category == modules::ActivationCategory::None) continue;
        auto& names = result[category];
        bool seen = false;
        for (const auto& name : names) seen = seen || settings::equalsNoCase(name, *file.tabName);
        if (!seen) names.push_back(*file.tabName);
    }
    return result;
}

constexpr std::array<modules::ActivationCategory, 3> kCategories = {
    modules::ActivationCategory::Bibles, modules::ActivationCategory::Commentaries,
    modules::ActivationCategory::Dictionaries};

}  // namespace

std::string documentsFolderWindowsPath(const std::string& userName) {
    return "C:\\users\\" + userName + "\\Documents";
}

DemoHives buildDemoHives(const std::string& userName, const std::vector<DemoFile>& resourceModules,
                         std::int64_t keyTime) {
    DemoHives hives{settings::newWineHive(settings::HiveBranch::CurrentUser, "win64"),
                    settings::newWineHive(settings::HiveBranch::LocalMachine, "win64")};
    auto& user = hives.user.tree;
    auto& system = hives.system.tree;
    const std::string documents = documentsFolderWindowsPath(userName);

    // Wine spells the key "Software"; lookups ignore case, so both spellings find it.
    system.findOrCreate("Software\\Microsoft\\Windows\\CurrentVersion");
    setText(system, host::kProgramFilesKey, std::string(host::kProgramFilesDirValue),
            kDemoProgramFilesDir);
    setText(system, host::kProgramFilesKey, "ProgramFilesDir (x86)", kDemoProgramFilesX86Dir);
    setText(system, host::kProgramFilesKey, "CommonFilesDir",
            std::string(kDemoProgramFilesDir) + "\\Common Files");
    setText(system, "Software\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner", userName);

    setText(user, host::kShellFoldersKey, std::string(host::kPersonalValue), documents);
    setText(user, host::kShellFoldersKey, "Desktop", "C:\\users\\" + userName + "\\Desktop");
    setText(user, host::kShellFoldersKey, "AppData",
            "C:\\users\\" + userName + "\\AppData\\Roaming");

    setText(user, host::kHostSettingsKey, std::string(host::kResourcesPathValue),
            std::string(host::kDefaultHostFolder));
    setText(user, host::kHostSettingsKey, std::string(host::kPathValue),
            documents + "\\" + std::string(host::kUserFilesSubfolder) + "\\");
    setText(user, host::kHostSettingsKey, std::string(host::kTabStyleValue),
            std::string(host::kTabStyleOneRow));

    // Scrivel's own activation flags: the first modules of each category, a
    // few of them hidden, and one flag left behind by a module that is gone.
    const auto tabNames = tabNamesByCategory(resourceModules);
    for (auto category : kCategories) {
        const std::string key = std::string(host::kHostResourceKey) + "\\" +
                                std::string(modules::categoryKeyName(category));
        user.findOrCreate(key);
        auto found = tabNames.find(category);
        if (found == tabNames.end()) continue;
        for (std::size_t i = 0; i < found->second.size() && i < 8; ++i) {
            setText(user, key, found->second[i],
                    std::string(i % 3 == 2 ? host::kInactiveText : host::kActiveText));
        }
    }
    setText(user,
            std::string(host::kHostResourceKey) + "\\" +
                std::string(modules::categoryKeyName(modules::ActivationCategory::Bibles)),
            "OLDV", std::string(host::kInactiveText));

    // A workspace the user has named and ticked some modules in.
    setText(user, kDemoWorkspaceKey, "WorkspaceTitle", kDemoWorkspaceTitle);
    for (auto category : kCategories) {
        const std::string key =
            std::string(kDemoWorkspaceKey) + "\\" + std::string(modules::categoryKeyName(category));
        user.findOrCreate(key);
        auto found = tabNames.find(category);
        if (found == tabNames.end()) continue;
        for (std::size_t i = 0; i < found->second.size() && i < 4; ++i) {
            setText(user, key, found->second[i],
                    std::string(i % 2 == 0 ? host::kActiveText : host::kInactiveText));
        }
    }

    stampKeys(user.root(), keyTime);
    stampKeys(system.root(), keyTime);
    return hives;
}

}  // namespace modshelf::demo
