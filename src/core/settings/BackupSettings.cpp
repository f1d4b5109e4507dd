#include "core/settings/BackupSettings.h"

#include <filesystem>
#include <system_error>

#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "core/settings/BackupFiles.h"
#include "core/settings/RegistryXmlExport.h"
#include "core/settings/XmlWriter.h"

namespace modshelf::settings {

namespace {

namespace mb = dialogs::mb;

void notice(BackupEnvironment& env, const std::string& caption, const std::string& text,
            int countdownSeconds = 0) {
    env.prompter.messageBox(text, caption, mb::kOk,
                            dialogs::standardParams(true, countdownSeconds));
}

}  // namespace

BackupOutcome BackupSettings(BackupEnvironment& env) {
    const int answer = env.prompter.messageBox(
        "Do you wish to EXPORT Modshelf\nsettings and Workspaces to a file?", " EXPORT Settings ?",
        mb::kYesNoCancel | mb::kIconQuestion, dialogs::standardParams(false));
    if (answer != dialogs::id::kYes) return BackupOutcome::NotAsked;

    const std::string proposed = proposedBackupFile(programFolder(env.programPath), "Modshelf");
    const auto chosen = env.files.chooseBackupFile(proposed);
    if (!chosen || chosen->empty()) return BackupOutcome::NotAsked;
    const std::string& path = *chosen;
    const std::string partial = path + ".partial";

    bool exported = false;
    bool cancelled = false;
    bool written = false;
    {
        XmlWriter writer(partial);
        writer.WriteStartTag(XmlElement("registry"));
        if (env.busy) env.busy(true);
        RegistryXmlExport context{env.store, writer, env.cancel};
        exported = ExportRegistryTree(context, kBackupKey);
        cancelled = context.cancelled;
        if (env.busy) env.busy(false);
        writer.WriteEndTag("registry");
        written = writer.Close();
    }

    std::error_code error;
    if (cancelled || !exported || !written) {
        std::filesystem::remove(partial, error);
        if (cancelled) {
            notice(env, " Export Cancelled",
                   "The export was cancelled; no export file was written :\n\n" + path);
            return BackupOutcome::Cancelled;
        }
        notice(env, " Export Failed",
               std::string(written ? "Modshelf could not read all of its settings"
                                   : "The export file could not be written") +
                   ", so no export file was made :\n\n" + path);
        return BackupOutcome::Failed;
    }
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        notice(env, " Export File Not Found", "The export file was not found :\n\n" + path);
        return BackupOutcome::Failed;
    }

    if (env.pause) env.pause(500);
    if (std::filesystem::exists(path, error)) {
        notice(env, " Export File Created", "The export file was successfully created :\n\n" + path,
               5);
        return BackupOutcome::Written;
    }
    notice(env, " Export File Not Found", "The export file was not found :\n\n" + path);
    return BackupOutcome::Failed;
}

}  // namespace modshelf::settings
