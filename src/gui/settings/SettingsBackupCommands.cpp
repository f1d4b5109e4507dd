#include "gui/settings/SettingsBackupCommands.h"

#include <QApplication>
#include <QProcess>
#include <QThread>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/app/InstanceMarker.h"
#include "core/settings/BackupSettings.h"
#include "core/settings/RestoreSettings.h"
#include "gui/GuiContext.h"
#include "gui/settings/EscapeKeyCancel.h"

namespace modshelf::gui {

namespace {

void showBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace

SettingsBackupCommands::SettingsBackupCommands(GuiContext& context, WindowSource mainWindow,
                                               std::string programPath)
    : context_(context), mainWindow_(std::move(mainWindow)), programPath_(std::move(programPath)) {}

bool SettingsBackupCommands::handleCommand(int id) {
    if (id == app::cmd::kBackupSettings) {
        backup();
        return true;
    }
    if (id == app::cmd::kRestoreSettings) {
        restore();
        return true;
    }
    return false;
}

bool SettingsBackupCommands::updateCommand(int id, CommandState& state) {
    if (id != app::cmd::kBackupSettings && id != app::cmd::kRestoreSettings) return false;
    state.enabled = true;
    return true;
}

settings::BackupFileChooser& SettingsBackupCommands::files() {
    if (files_) return *files_;
    dialogs_.setParent(mainWindow_ ? mainWindow_() : nullptr);
    return dialogs_;
}

void SettingsBackupCommands::backup() {
    // Escape is watched while the export runs, not in the questions and dialogs.
    EscapeKeyCancel escape;
    settings::BackupEnvironment env{
        context_.store, context_.prompter, files(), programPath_, &escape, {}, {}};
    env.busy = [&escape](bool busy) {
        showBusy(busy);
        escape.setWatching(busy);
    };
    env.pause = [this](int ms) {
        if (pauses_) QThread::msleep(static_cast<unsigned long>(ms));
    };
    settings::BackupSettings(env);
}

bool SettingsBackupCommands::startNewCopy() {
    if (restarter_) return restarter_();
    return QProcess::startDetached(QString::fromStdString(programPath_), {});
}

void SettingsBackupCommands::restore() {
    settings::RestoreEnvironment env{
        context_.store,
        context_.prompter,
        files(),
        context_.state.settingsRestored,
        [this] {
            if (context_.instanceMarker) context_.instanceMarker->close();
        },
        programPath_,
        showBusy,
        {},
        [this] { return startNewCopy(); },
        [this] {
            if (QWidget* window = mainWindow_ ? mainWindow_() : nullptr) window->close();
        }};
    env.pause = [this](int ms) {
        if (pauses_) QThread::msleep(static_cast<unsigned long>(ms));
    };
    settings::RestoreSettings(env);
}

}  // namespace modshelf::gui
