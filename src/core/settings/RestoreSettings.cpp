#include "core/settings/RestoreSettings.h"

#include <filesystem>
#include <system_error>

#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "core/settings/BackupFiles.h"
#include "core/settings/RegistryXmlImport.h"

namespace modshelf::settings {

namespace {

namespace mb = dialogs::mb;

constexpr const char* kUnchanged = "\n\nYour settings have not been changed.";

void notice(RestoreEnvironment& env, const std::string& caption, const std::string& text) {
    env.prompter.messageBox(text, caption, mb::kOk, dialogs::standardParams(true));
}

void damaged(RestoreEnvironment& env, const std::string& path, const std::string& why = {}) {
    notice(env, " Import File Damaged ?",
           "The import file may be damaged or corrupted :\n\n" + path + why + kUnchanged);
}

// Tells the user why a file was not taken. The settings are untouched.
void reportRefusal(RestoreEnvironment& env, const std::string& path,
                   const RegistryXmlImport& read) {
    using Problem = RegistryXmlImport::Problem;
    const std::string line = std::to_string(read.line);
    switch (read.problem) {
        case Problem::ParseError:
            env.prompter.plainMessage(read.detail, "Modshelf");
            notice(env, " Import Process Failed",
                   std::string("The import process failed to complete properly.") + kUnchanged);
            break;
        case Problem::ForeignKey:
            notice(env, " Import File Refused",
                   "The import file holds settings that are not Modshelf's own :\n\n" +
                       read.detail + "\n\nNothing was imported." + kUnchanged);
            break;
        case Problem::BadValue:
            damaged(env, path,
                    "\n\nThe value \"" + read.detail + "\" in line " + line + " cannot be read.");
            break;
        case Problem::Incomplete:
            damaged(env, path,
                    "\n\nThe file ends in line " + line + " before its last key is closed.");
            break;
        case Problem::NoSettings:
        case Problem::None:
            damaged(env, path, "\n\nThe file holds no Modshelf settings.");
            break;
    }
}

}  // namespace

RestoreOutcome RestoreSettings(RestoreEnvironment& env) {
    const int answer = env.prompter.messageBox(
        "Do you wish to IMPORT Modshelf\nsettings and Workspaces from a file?"
        "\n\nNote that Modshelf must be closed\nand restarted to show any changes.",
        " IMPORT Settings ?", mb::kYesNoCancel | mb::kIconQuestion, dialogs::standardParams(false));
    if (answer != dialogs::id::kYes) return RestoreOutcome::NotAsked;

    const std::string proposed = proposedBackupFile(programFolder(env.programPath), "Modshelf.xml");
    const auto chosen = env.files.chooseRestoreFile(proposed);
    if (!chosen || chosen->empty()) return RestoreOutcome::NotAsked;
    const std::string& path = *chosen;

    if (!hasXmlExtension(path)) {
        notice(env, " Wrong Extension on Import File",
               "The XML import file has the wrong extension :\n\n" + path);
        return RestoreOutcome::Refused;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        notice(env, " Import File Not Found", "The import file was not found :\n\n" + path);
        return RestoreOutcome::Refused;
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxBackupFileSize) {
        damaged(env, path, "\n\nThe file is far larger than any Modshelf backup.");
        return RestoreOutcome::Refused;
    }
    const auto missing = missingBackupMarkers(path);
    if (!missing) {
        notice(env, " Import File Not Readable", "The import file could not be read :\n\n" + path);
        return RestoreOutcome::Refused;
    }
    if (!missing->empty()) {
        damaged(env, path);
        return RestoreOutcome::Refused;
    }

    // Read and check the whole file before anything is written.
    if (env.busy) env.busy(true);
    RegistryXmlImport read;
    std::string failure;
    const bool applied = ImportRegistryXml(env.store, path, kBackupKey, read, failure);
    if (env.busy) env.busy(false);
    if (!read.ok()) {
        reportRefusal(env, path, read);
        return RestoreOutcome::Refused;
    }
    if (!applied) {
        notice(env, " Import Process Failed",
               "The import process failed to complete properly.\n\n" + failure + kUnchanged);
        return RestoreOutcome::Failed;
    }

    // The restart: free the marker for the new copy, tell the user, keep the
    // restored placement from being overwritten at close, start the new copy
    // and end this one.
    if (env.releaseInstance) env.releaseInstance();
    notice(env, " Import completed OK",
           "The import process was completed properly."
           "\n\nNote that Modshelf must now be closed and"
           "\nthen restarted to show any import changes."
           "\n\nModshelf will be right back in just a second...");
    env.settingsRestored = true;
    if (env.pause) env.pause(500);
    if (env.startNewCopy && !env.startNewCopy())
        notice(env, " Modshelf Not Restarted",
               "Modshelf could not start itself again.\n\nPlease start Modshelf yourself: "
               "your settings were restored and will show when it starts.");
    if (env.closeMainWindow) env.closeMainWindow();
    return RestoreOutcome::Restored;
}

}  // namespace modshelf::settings
