#include "gui/workspaces/WorkspaceRenameCommand.h"

#include <QTreeWidgetItem>
#include <string>

#include "core/app/AppState.h"
#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "core/workspaces/WorkspaceRename.h"
#include "core/workspaces/WorkspaceStore.h"
#include "gui/GuiContext.h"
#include "gui/views/CDriveView.h"
#include "gui/workspaces/RenameWorkspaceDialog.h"

namespace modshelf::gui {

void renameWorkspace(GuiContext& context, CDriveView& tree, int number) {
    if (!app::node::isNumberedWorkspace(number)) return;
    const int slot = number - 1;
    QTreeWidgetItem* node = tree.workspaceItem(slot);
    // The node's own text is the current name: earlier renames of this run
    // are there, not in the start-up labels.
    const std::string label =
        node ? node->text(0).toStdString() : context.state.workspaceDisplayName[slot];
    tree.setClickedLabel(label);

    const std::string newLabel =
        runRenameWorkspace(context.store, context.prompter, number, label, tree.window());
    if (newLabel.empty()) {
        tree.setClickedLabel(label);
        return;
    }
    tree.setClickedLabel(newLabel);
    if (QTreeWidgetItem* renamed = tree.workspaceItem(workspaces::slotOfLabel(newLabel)))
        renamed->setText(0, QString::fromStdString(newLabel));
    tree.refreshTitleAndList();

    context.prompter.messageBox(workspaces::renamedNoticeText(number),
                                workspaces::kRenamedNoticeCaption, dialogs::mb::kOk,
                                dialogs::standardParams(true, 3));
}

void attachWorkspaceRename(GuiContext& context, CDriveView& tree) {
    tree.setRenameHandler(
        [&context, &tree](int number) { renameWorkspace(context, tree, number); });
}

}  // namespace modshelf::gui
