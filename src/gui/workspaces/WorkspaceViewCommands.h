#pragma once

#include <QObject>
#include <functional>

class QDialog;

#include "gui/CommandTarget.h"

namespace modshelf::gui {

struct GuiContext;
class CFileView;
class WorkspaceCompareDialog;
class WorkspaceMatrixDialog;

// The commands that show workspaces without changing Scrivel's settings:
// "Compare with Current Settings" (what activating the listed workspace would
// turn on and off), "Compare Workspaces" (any two) and the workspace matrix.
class WorkspaceViewCommands : public QObject, public CommandTarget {
    Q_OBJECT
public:
    WorkspaceViewCommands(GuiContext& context, CFileView& list);

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

    // Tests look at the dialogs before they are closed.
    using DialogShown = std::function<void(QDialog& dialog)>;
    void setDialogShown(DialogShown shown) { dialogShown_ = std::move(shown); }

    void compareWithCurrent();
    void compareWorkspaces();
    void showMatrix();

private:
    void run(QDialog& dialog);

    GuiContext& context_;
    CFileView& list_;
    DialogShown dialogShown_;
};

WorkspaceViewCommands* attachWorkspaceViews(GuiContext& context, CFileView& list);

}  // namespace modshelf::gui
