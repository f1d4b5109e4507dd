#pragma once

#include <QTreeWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "core/app/AppState.h"
#include "gui/ModshelfView.h"

namespace modshelf::host {
class DriveMap;
}

namespace modshelf::gui {

struct GuiContext;

// The left-hand pane: Scrivel's two folders, the drives (expandable into
// their folders) and the seventeen workspaces. Selecting a node decides what
// the list shows and how, and keeps the selection state the rest of the
// program reads (AppState::nodeKind and currentFolder).
//
// Creation runs the start-up steps: the workspace labels, the host folders,
// the fill, and the selection of "Scrivel Resource Folder", which announces
// that folder to the other views. The list must therefore be known to the
// document before the tree is constructed.
class CDriveView : public QTreeWidget, public ModshelfView {
    Q_OBJECT
public:
    CDriveView(GuiContext& context, QWidget* parent = nullptr);
    ~CDriveView() override;

    // CommandTarget
    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;
    // ModshelfView: the tree takes no announcements from the list.
    void onUpdate(ModshelfView* sender) override;
    QWidget* widget() override { return this; }

    // The folder a node stands for; sets AppState::nodeKind as a side effect.
    std::string nodePath(QTreeWidgetItem* item);
    // Sets the main window's title and asks the list to show the current folder.
    void refreshTitleAndList();
    // Sets the type filter preset for the node kind and announces the folder.
    void refreshList(const std::string& folder);

    // The three flags that accompany the node kind.
    bool numberedWorkspaceSelected() const;
    bool allModulesSelected() const;
    bool currentSettingsSelected() const;

    // The node of workspace slot 0..16 (<01>..<15>, <A>, <C>), or null.
    QTreeWidgetItem* workspaceItem(int slot) const;
    // The node last clicked, and its label (renaming reads and writes both).
    QTreeWidgetItem* clickedItem() const { return clickedItem_; }
    const std::string& clickedLabel() const { return clickedLabel_; }
    void setClickedLabel(const std::string& label) { clickedLabel_ = label; }

    // A top-level node by its label (ignoring case), or null.
    QTreeWidgetItem* findTopLevel(const std::string& label) const;

    // The click handling of the left and the right button, at a point in the
    // viewport's coordinates.
    void nodeClicked(const QPoint& viewportPos);

    // The local folder a drive or folder node lists, without touching the
    // selection state.
    std::string folderOf(const QTreeWidgetItem* item) const;

    // How command 40142 shows a folder; the system's file manager unless
    // replaced (tests).
    using FolderOpener = std::function<void(const std::string& folder)>;
    void setFolderOpener(FolderOpener opener) { openFolder_ = std::move(opener); }
    // Who renames workspace `number` (1 to 15) for commands 40081 to 40095.
    using RenameHandler = std::function<void(int number)>;
    void setRenameHandler(RenameHandler handler) { rename_ = std::move(handler); }

    const host::DriveMap& drives() const { return *drives_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void startUp();
    void fill();
    void insertLabel(const std::string& label);
    void insertDrive(const std::string& label, const std::string& root, int kind);
    void selectionChangedTo(QTreeWidgetItem* item);
    void expandItem(QTreeWidgetItem* item);
    void collapseItem(QTreeWidgetItem* item);
    void refuseExpansion(QTreeWidgetItem* item);
    void setMainTitle(const std::string& title);
    void applyTextColour();

    GuiContext& context_;
    std::unique_ptr<host::DriveMap> ownDrives_;  // when the context brings none
    const host::DriveMap* drives_ = nullptr;
    FolderOpener openFolder_;
    RenameHandler rename_;
    bool shownOnce_ = false;
    bool changingExpansion_ = false;
    std::array<QTreeWidgetItem*, app::kWorkspaceSlots> workspaceItems_{};
    QTreeWidgetItem* clickedItem_ = nullptr;
    std::string clickedLabel_;
};

}  // namespace modshelf::gui
