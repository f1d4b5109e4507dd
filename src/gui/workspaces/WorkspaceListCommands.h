#pragma once

#include <QObject>

#include "gui/CommandTarget.h"

namespace modshelf::gui {

struct GuiContext;
class CFileView;

// What the module list does for the workspaces: a ticked or cleared box in a
// numbered workspace stores the whole list into that workspace; "Activate
// Workspace 01" ... "15" and "Activate ALL Modules" write the list into
// Scrivel's activation keys; and the list's first fill seeds Scrivel's keys
// when Scrivel has none yet. It lives as long as the list (its parent).
class WorkspaceListCommands : public QObject, public CommandTarget {
    Q_OBJECT
public:
    WorkspaceListCommands(GuiContext& context, CFileView& list);

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

    // Stores the list's boxes into the selected numbered workspace. After a
    // failed save the list is filled again from the store, so that no box
    // shows a state that was not stored.
    void storeChecks();

    // The activation commands; give the number of values written.
    int activateWorkspace(int number);
    int activateAll();
    // "Undo Last Activation"; true when Scrivel's settings were put back.
    bool undoActivation();

private:
    GuiContext& context_;
    CFileView& list_;
    bool seeded_ = false;
};

// Gives the list its workspace commands (owned by the list).
WorkspaceListCommands* attachWorkspaceListCommands(GuiContext& context, CFileView& list);

}  // namespace modshelf::gui
