#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "gui/CommandTarget.h"

class QFileInfo;
class QWidget;

namespace modshelf::host {
class ProgramLauncher;
class SqliteEditor;
}  // namespace modshelf::host

namespace modshelf::gui {

struct GuiContext;
class CFileView;

// "Configure SQLite Editor" and "Open SQLite Editor" of the module list: the
// user picks an editor program once, then opens the selected module in it.
// It lives as long as the list (its parent).
class SqliteEditorCommands : public QObject, public CommandTarget {
    Q_OBJECT
public:
    // Asks for the editor program; nullopt when the user cancels.
    using ProgramChooser = std::function<std::optional<std::string>(QWidget* parent)>;

    SqliteEditorCommands(GuiContext& context, CFileView& list, host::ProgramLauncher& launcher);
    ~SqliteEditorCommands() override;

    void setProgramChooser(ProgramChooser chooser) { choose_ = std::move(chooser); }

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

private:
    host::SqliteEditor editor() const;

    GuiContext& context_;
    CFileView& list_;
    host::ProgramLauncher& launcher_;
    ProgramChooser choose_;
};

// Whether the editor dialog offers a file: a program of any name (Linux
// programs have no ".exe"), or a Windows program that runs through Wine.
bool isOfferedAsEditor(const QFileInfo& file);

// Gives the list its editor commands, starting programs as the shell would
// on the program's Wine prefix.
SqliteEditorCommands* attachSqliteEditorCommands(GuiContext& context, CFileView& list);

}  // namespace modshelf::gui
