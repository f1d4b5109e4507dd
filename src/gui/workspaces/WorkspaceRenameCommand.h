#pragma once

namespace modshelf::gui {

struct GuiContext;
class CDriveView;

// "Rename Workspace 01" ... "15": asks for the new name, stores it, puts it
// on the workspace's tree node, refreshes the title and the list, and
// confirms with a short notice. A cancelled dialog or an emptied name leaves
// the tree as it was (an emptied name gives the default name at the next
// start).
void renameWorkspace(GuiContext& context, CDriveView& tree, int number);

// Makes the tree's rename commands run renameWorkspace.
void attachWorkspaceRename(GuiContext& context, CDriveView& tree);

}  // namespace modshelf::gui
