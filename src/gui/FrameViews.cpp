#include "gui/FrameViews.h"

#include "gui/host/SqliteEditorCommands.h"
#include "gui/menus/ContextMenus.h"
#include "gui/printing/ListPrintCommands.h"
#include "gui/reports/ReportListCommands.h"
#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"
#include "gui/views/ListSearchBar.h"
#include "gui/views/MissingFolderBar.h"
#include "gui/workspaces/WorkspaceListCommands.h"
#include "gui/workspaces/WorkspaceRenameCommand.h"
#include "gui/workspaces/WorkspaceViewCommands.h"

namespace modshelf::gui {

FrameViews programViews() {
    return {
        [](GuiContext& context, QWidget* parent) -> ModshelfView* {
            auto* list = new CFileView(context, parent);
            attachWorkspaceListCommands(context, *list);
            attachListPrintCommands(context, *list);
            attachListContextMenu(*list);
            attachSqliteEditorCommands(context, *list);
            attachListSearch(context, *list);
            attachMissingFolderBar(context, *list);
            attachWorkspaceViews(context, *list);
            attachReportListCommands(context, *list);
            return list;
        },
        [](GuiContext& context, QWidget* parent) -> ModshelfView* {
            auto* tree = new CDriveView(context, parent);
            attachWorkspaceRename(context, *tree);
            attachTreeContextMenu(context, *tree);
            return tree;
        },
    };
}

}  // namespace modshelf::gui
