#include "core/app/CliCommands.h"

#include <algorithm>
#include <filesystem>

#include "core/app/AppState.h"
#include "core/app/CliTable.h"
#include "core/dialogs/AutoAnswerPrompter.h"
#include "core/host/DriveMap.h"
#include "core/host/HostFolders.h"
#include "core/modules/ModuleScan.h"
#include "core/reports/FileProperties.h"
#include "core/settings/ReadOnlySettings.h"
#include "core/workspaces/NodeCheckRule.h"
#include "core/workspaces/WorkspaceActivation.h"
#include "core/workspaces/WorkspaceFlags.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::app {

namespace {

using Kind = CliTable::Kind;
using workspaces::ModuleFlag;

std::string twoDigits(int number) {
    return (number < 10 ? "0" : "") + std::to_string(number);
}

// The folder a command works on: a Windows path through the prefix's drives,
// a local path as it is.
std::optional<std::string> localFolder(const std::string& folder, const host::DriveMap& drives) {
    if (folder.size() >= 2 && folder[1] == ':') return drives.toLocalPath(folder);
    return folder;
}

std::optional<std::string> resourceFolder(settings::SettingsStore& store, CliEnvironment& env) {
    const host::FolderSearch found = host::findResourceFolder(store, env.drives);
    if (found.found) return found.folder;
    env.err << "modshelf: Scrivel's resource folder was not found: no Bible module in the folder "
               "that Scrivel's settings name, nor in "
            << host::defaultHostFolder(env.drives) << "\n";
    return std::nullopt;
}

modules::ScanResult scanWorkspace(settings::SettingsStore& store, const std::string& folder,
                                  int nodeKind) {
    modules::TypeFilter filter;
    filter.applyPresetFor(nodeKind);
    return modules::scanFolder(folder, filter, workspaces::checkRuleForNode(nodeKind, store));
}

int listWorkspaces(settings::SettingsStore& store, CliEnvironment& env,
                   CommandLine::Format format) {
    const std::vector<ModuleFlag> current = workspaces::readWorkspaceFlags(store, kSlotCurrent);
    CliTable table;
    table.columns = {{"No.", "number", Kind::Text},
                     {"Active", "active_modules", Kind::Number},
                     {"Current", "matches_scrivel", Kind::Flag},
                     {"Name", "name", Kind::Text}};
    for (int slot = 0; slot < 15; ++slot) {
        const std::vector<ModuleFlag> flags = workspaces::readWorkspaceFlags(store, slot);
        const bool matches = workspaces::compareActiveSets(flags, current).empty();
        const std::string name = workspaces::buildDisplayName(
            store, "", workspaces::workspaceKeyPath(slot), workspaces::defaultDisplayName(slot));
        table.rows.push_back({twoDigits(slot + 1),
                              std::to_string(workspaces::activeModules(flags).size()),
                              matches ? "1" : "0", name});
    }
    writeTable(env.out, table, format);
    return kExitSuccess;
}

int listModules(settings::SettingsStore& store, CliEnvironment& env, const CommandLine& line) {
    std::optional<std::string> folder;
    if (!line.folder.empty()) {
        folder = localFolder(line.folder, env.drives);
        if (!folder) {
            env.err << "modshelf: " << line.folder << ": the Wine prefix has no such drive\n";
            return kExitFailure;
        }
    } else {
        folder = resourceFolder(store, env);
        if (!folder) return kExitFailure;
    }
    const bool workspace = line.workspace != 0;
    modules::ScanResult scan;
    if (workspace) {
        scan = scanWorkspace(store, *folder, line.workspace);
    } else {
        modules::TypeFilter filter;
        filter.applyFolderPreset();
        scan = modules::scanFolder(*folder, filter, modules::CheckRule());
    }
    if (!scan.folderReadable) {
        std::error_code error;
        const bool exists = std::filesystem::is_directory(*folder, error);
        env.err << "modshelf: " << *folder << ": "
                << (exists ? "the folder cannot be read" : "no such folder") << "\n";
        return kExitFailure;
    }

    CliTable table;
    if (workspace) table.columns.push_back({"Active", "active", Kind::Flag});
    table.columns.insert(table.columns.end(), {{"File Name", "file_name", Kind::Text},
                                               {"Module Type", "module_type", Kind::Text},
                                               {"Tab Name", "tab_name", Kind::Text},
                                               {"File Size", "file_size", Kind::Size},
                                               {"Last Modified", "last_modified", Kind::FileTime},
                                               {"Description", "description", Kind::Text}});
    for (const modules::ModuleRow& row : scan.rows) {
        const modules::ModuleRecord& r = row.record;
        std::vector<std::string> cells;
        if (workspace) cells.push_back(row.checked ? "1" : "0");
        cells.insert(cells.end(), {r.fileName, r.moduleType, r.tabName, std::to_string(r.size),
                                   std::to_string(r.lastModified), r.description});
        table.rows.push_back(std::move(cells));
    }
    writeTable(env.out, table, line.format);
    return kExitSuccess;
}

int diffWorkspaces(settings::SettingsStore& store, CliEnvironment& env, const CommandLine& line) {
    auto slotOf = [](int operand) {
        return operand == CommandLine::kCurrentSettings ? kSlotCurrent : operand - 1;
    };
    auto nameOf = [](int operand) {
        return operand == CommandLine::kCurrentSettings ? std::string("C") : twoDigits(operand);
    };
    const workspaces::SetDifference difference =
        workspaces::compareActiveSets(workspaces::readWorkspaceFlags(store, slotOf(line.first)),
                                      workspaces::readWorkspaceFlags(store, slotOf(line.second)));
    CliTable table;
    table.columns = {{"Active in", "active_in", Kind::Text},
                     {"Not in", "not_in", Kind::Text},
                     {"Module Type", "module_type", Kind::Text},
                     {"Tab Name", "tab_name", Kind::Text}};
    auto add = [&](const std::vector<workspaces::ModuleRef>& modules, int in, int notIn) {
        for (const workspaces::ModuleRef& m : modules)
            table.rows.push_back(
                {nameOf(in), nameOf(notIn), workspaces::categoryTypeName(m.category), m.tabName});
    };
    add(difference.onlyInFirst, line.first, line.second);
    add(difference.onlyInSecond, line.second, line.first);
    writeTable(env.out, table, line.format);
    return kExitSuccess;
}

int activate(CliEnvironment& env, const CommandLine& line) {
    settings::SettingsStore& store = env.store;
    std::optional<std::string> folder;
    {
        settings::ReadOnlySettings reader(store);
        folder = resourceFolder(reader, env);
    }
    if (!folder) return kExitFailure;

    if (env.hostRunning && env.hostRunning()) {
        if (!line.closeScrivel) {
            env.err << "modshelf: Scrivel is running. It reads its module settings only when it "
                       "starts, and saves its own over them when it closes. Close Scrivel first, "
                       "or give --close-scrivel.\n";
            return kExitFailure;
        }
        if (!env.closeHost || !env.closeHost()) {
            env.err << "modshelf: Scrivel did not close, so nothing was activated.\n";
            return kExitFailure;
        }
    }

    const int nodeKind = line.allModules ? node::kAllModules : line.workspace;
    modules::ScanResult scan;
    {
        settings::ReadOnlySettings reader(store);
        scan = scanWorkspace(reader, *folder, nodeKind);
    }
    std::vector<workspaces::ListRow> rows;
    for (const modules::ModuleRow& row : scan.rows)
        rows.push_back({row.record.moduleType, row.record.tabName, row.checked});
    if (std::none_of(rows.begin(), rows.end(), workspaces::isActivationRow)) {
        env.err << "modshelf: " << *folder
                << " holds no Bible, commentary or dictionary with a tab name: nothing to "
                   "activate.\n";
        return kExitFailure;
    }

    // A command-line run asks nothing: the command itself is the user's yes.
    dialogs::AutoAnswerPrompter prompter(&env.out, &env.err);
    bool saveFailed = false;
    store.setSaveFailureListener([&](const std::string& message) {
        saveFailed = true;
        env.err << "modshelf: the settings could not be saved, so nothing was activated.\n"
                << message << '\n';
    });
    workspaces::WorkspaceActivation activation(store, prompter, nullptr);
    const std::string identifier = line.allModules ? "A" : twoDigits(line.workspace);
    const int written = activation.activateWorkspace(identifier, rows, {});
    store.setSaveFailureListener(nullptr);
    return written > 0 && !saveFailed ? kExitSuccess : kExitFailure;
}

int showModule(CliEnvironment& env, const CommandLine& line) {
    std::error_code error;
    const std::optional<std::string> file = localFolder(line.file, env.drives);
    if (!file || !std::filesystem::is_regular_file(*file, error)) {
        env.err << "modshelf: " << line.file << ": no such module file\n";
        return kExitFailure;
    }
    // The report the window saves to a file, with the terminal's line ends.
    const std::filesystem::path path(*file);
    std::string folder = path.parent_path().string();
    if (folder.empty()) folder = ".";
    const std::string name = path.filename().string();
    std::string text =
        reports::buildFileReport(folder + "/", {name, name}, reports::ReportUse::File).text;
    std::erase(text, '\r');
    env.out << text;
    if (!text.empty() && text.back() != '\n') env.out << '\n';
    return kExitSuccess;
}

}  // namespace

std::optional<int> runWithoutSystem(const CommandLine& line, std::ostream& out, std::ostream& err) {
    switch (line.action) {
        case CommandLine::Action::Help:
            out << usageText("modshelf");
            return kExitSuccess;
        case CommandLine::Action::Version:
            out << versionText();
            return kExitSuccess;
        case CommandLine::Action::Error:
            err << "modshelf: " << line.error << "\nTry 'modshelf --help' for more information.\n";
            return kExitUsage;
        default:
            return std::nullopt;
    }
}

int runCliCommand(const CommandLine& line, CliEnvironment& env) {
    if (std::optional<int> status = runWithoutSystem(line, env.out, env.err)) return *status;
    settings::ReadOnlySettings reader(env.store);
    switch (line.action) {
        case CommandLine::Action::Workspaces:
            return listWorkspaces(reader, env, line.format);
        case CommandLine::Action::List:
            return listModules(reader, env, line);
        case CommandLine::Action::Diff:
            return diffWorkspaces(reader, env, line);
        case CommandLine::Action::Show:
            return showModule(env, line);
        case CommandLine::Action::Activate:
            return activate(env, line);
        default:
            break;
    }
    return kExitUsage;
}

}  // namespace modshelf::app
