#include "core/app/ContextMenus.h"

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"

namespace modshelf::app {

namespace {

MenuItem item(int id, std::string title = {}) {
    return {MenuItem::Kind::Command, id, std::move(title), {}};
}
MenuItem separator() {
    return {MenuItem::Kind::Separator, 0, {}, {}};
}

void append(std::vector<MenuItem>& menu, std::initializer_list<MenuItem> items) {
    menu.insert(menu.end(), items.begin(), items.end());
}

void appendListExports(std::vector<MenuItem>& menu) {
    append(menu, {item(cmd::kExportTabDelimited), item(cmd::kExportEvenColumns),
                  item(cmd::kCopyListToClipboard)});
}

MenuItem activateAllItem() {
    return item(cmd::kActivateAll, "Activate ALL Scrivel Modules");
}

}  // namespace

std::vector<MenuItem> treeContextMenu(int nodeKind) {
    std::vector<MenuItem> menu;
    if (nodeKind == node::kAllModules) {
        append(menu, {activateAllItem(), separator()});
        appendListExports(menu);
        append(menu, {separator(), item(cmd::kRefreshList)});
    } else if (nodeKind == node::kCurrentSettings) {
        appendListExports(menu);
        append(menu, {separator(), item(cmd::kRefreshList), separator(), activateAllItem()});
    } else if (node::isNumberedWorkspace(nodeKind)) {
        append(menu, {item(cmd::activateWorkspace(nodeKind)), separator(),
                      item(cmd::renameWorkspace(nodeKind)), separator()});
        appendListExports(menu);
        append(menu, {separator(), item(cmd::kRefreshList), separator(), activateAllItem()});
    } else if (nodeKind == node::kResourceFolder || nodeKind == node::kUserFilesFolder ||
               nodeKind == node::kDriveOrFolder) {
        appendListExports(menu);
        append(menu, {separator(), item(cmd::kOpenExplorer), separator(), item(cmd::kRefreshList)});
    }
    return menu;
}

const std::vector<MenuItem>& listContextMenu() {
    static const std::vector<MenuItem> menu = [] {
        std::vector<MenuItem> m;
        append(m, {item(cmd::kFileProperties), separator(), item(cmd::kExportPropertiesToFile),
                   item(cmd::kCopyPropertiesToClipboard), separator(), item(cmd::kRefreshList),
                   separator()});
        appendListExports(m);
        append(m, {separator(), item(cmd::kPrint), item(cmd::kPrintPreview), item(cmd::kPrintSetup),
                   separator(), item(cmd::kActivateAll)});
        return m;
    }();
    return menu;
}

}  // namespace modshelf::app
