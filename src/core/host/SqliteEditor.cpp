#include "core/host/SqliteEditor.h"

#include <cstdint>

#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "core/host/DriveMap.h"
#include "core/host/ProgramLauncher.h"
#include "core/settings/RegistryAccess.h"
#include "core/text/AsciiText.h"

namespace modshelf::host {

namespace {

constexpr const char* kSettingsKey = "Software\\Quorvel\\Modshelf\\Settings";
constexpr const char* kEditorValue = "SQLiteEditor";
// A selection this short cannot name a module file.
constexpr std::size_t kShortestModulePath = 7;

std::string collapseDoubledQuotes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') ++i;
    }
    return out;
}

}  // namespace

SqliteEditor::SqliteEditor(settings::SettingsStore& store, dialogs::Prompter& prompter,
                           System system)
    : store_(store), prompter_(prompter), system_(std::move(system)) {}

std::string SqliteEditor::editorPath() const {
    return settings::GetRegString(store_, settings::RegRoot::CurrentUser, kSettingsKey,
                                  kEditorValue);
}

bool SqliteEditor::configured() const {
    return !text::trimmed(editorPath()).empty();
}

void SqliteEditor::configure(const std::string& path) {
    settings::SetRegString(store_, kSettingsKey, kEditorValue, path);
}

std::optional<std::string> SqliteEditor::moduleArgument(const std::string& selectedModulePath) {
    std::string path = text::trimmed(collapseDoubledQuotes(selectedModulePath));
    if (path.size() < kShortestModulePath) return std::nullopt;
    return path;
}

bool SqliteEditor::open(const std::string& selectedModulePath) {
    const std::string editor = editorPath();
    if (editor.empty() || !system_.fileExists || !system_.fileExists(editor)) {
        prompter_.messageBox("SQLite editor not found :\n\n" + editor, " SQLite Editor Not Found",
                             dialogs::mb::kOk, dialogs::standardParams(true, 5));
        return false;
    }

    std::vector<std::string> arguments;
    if (std::optional<std::string> module = moduleArgument(selectedModulePath)) {
        // A Windows editor runs under Wine and understands only Windows paths.
        if (system_.drives && system_.isWindowsProgram && system_.isWindowsProgram(editor))
            if (auto windowsPath = system_.drives->toWindowsPath(*module)) *module = *windowsPath;
        // The path is one argument whatever it holds: no quoting is needed.
        arguments.push_back(*module);
    } else {
        const int answer = prompter_.messageBox(
            "No module is currently selected, so the SQLite\neditor will be opened without a "
            "module loaded.",
            " No Module Selected", dialogs::mb::kOkCancel, dialogs::standardParams(true, 7));
        // The countdown presses OK too.
        if ((static_cast<std::uint32_t>(answer) & ~dialogs::id::kTimeoutFlag) != dialogs::id::kOk)
            return false;
    }
    if (system_.launcher && system_.launcher->startDetached(editor, arguments)) return true;
    // Say so rather than leave the user waiting for a window that never comes
    // (a Windows editor without Wine, a file that is not a program).
    prompter_.messageBox("The SQLite editor could not be started :\n\n" + editor,
                         " SQLite Editor Not Started", dialogs::mb::kOk,
                         dialogs::standardParams(true, 5));
    return false;
}

}  // namespace modshelf::host
