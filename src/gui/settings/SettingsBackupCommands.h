#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "gui/CommandTarget.h"
#include "gui/settings/BackupFileDialogs.h"

namespace modshelf::gui {

struct GuiContext;

// "Export (Back Up) Modshelf Settings" and "Import (Restore) Modshelf
// Settings" at the application level. After a restore, this copy starts a new
// one (which reads the restored settings) and closes its main window.
class SettingsBackupCommands : public CommandTarget {
public:
    using WindowSource = std::function<QWidget*()>;
    using Restarter = std::function<bool()>;

    // mainWindow: the frame, once it exists. programPath: the program that a
    // restore starts again.
    SettingsBackupCommands(GuiContext& context, WindowSource mainWindow, std::string programPath);

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

    // For tests: other file dialogs, another way to start the new copy, and
    // no half-second pauses.
    void setFileChooser(settings::BackupFileChooser* files) { files_ = files; }
    void setRestarter(Restarter restarter) { restarter_ = std::move(restarter); }
    void setPauses(bool pause) { pauses_ = pause; }

private:
    void backup();
    void restore();
    settings::BackupFileChooser& files();
    bool startNewCopy();

    GuiContext& context_;
    WindowSource mainWindow_;
    std::string programPath_;
    BackupFileDialogs dialogs_;
    settings::BackupFileChooser* files_ = nullptr;
    Restarter restarter_;
    bool pauses_ = true;
};

}  // namespace modshelf::gui
