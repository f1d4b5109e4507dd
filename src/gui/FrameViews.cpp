#include "gui/FrameViews.h"

#include "gui/reports/ReportListCommands.h"
#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"
#include "gui/workspaces/WorkspaceListCommands.h"
#include "gui/workspaces/WorkspaceRenameCommand.h"

namespace modshelf::gui {

FrameViews programViews() {
    return {
        [](GuiContext& context, QWidget* parent) -> ModshelfView* {
            auto* list = new CFileView(context, parent);
            attachWorkspaceListCommands(context, *list);
            attachReportListCommands(context, *list);
            return list;
        },
        [](GuiContext& context, QWidget* parent) -> ModshelfView* {
            auto* tree = new CDriveView(context, parent);
            attachWorkspaceRename(context, *tree);
            return tree;
        },
    };
}

}  // namespace modshelf::gui
