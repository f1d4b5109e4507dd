#include <gtest/gtest.h>

#include <QTableView>
#include <QTest>
#include <map>

#include "ViewFixture.h"
#include "core/app/CommandIds.h"
#include "core/settings/RegistryAccess.h"
#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"
#include "gui/views/ViewIcons.h"

using namespace modshelf;
using namespace modshelf::gui;
namespace cmd = modshelf::app::cmd;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> topLabels(const CDriveView& tree) {
    std::vector<std::string> labels;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        labels.push_back(tree.topLevelItem(i)->text(0).toStdString());
    return labels;
}

std::vector<std::string> childLabels(const QTreeWidgetItem* item) {
    std::vector<std::string> labels;
    for (int i = 0; i < item->childCount(); ++i)
        labels.push_back(item->child(i)->text(0).toStdString());
    return labels;
}

QTreeWidgetItem* childNamed(QTreeWidgetItem* item, const std::string& name) {
    for (int i = 0; i < item->childCount(); ++i)
        if (item->child(i)->text(0).toStdString() == name) return item->child(i);
    return nullptr;
}

bool sameImage(const QIcon& a, const QIcon& b) {
    return a.pixmap(16, 16).toImage() == b.pixmap(16, 16).toImage();
}

class DriveViewTest : public ::testing::Test {
protected:
    void create() {
        fixture.createViews();
        fixture.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.window.get()));
    }
    CDriveView& tree() { return *fixture.tree; }
    CFileView& list() { return *fixture.list; }

    void click(QTreeWidgetItem* item, Qt::MouseButton button = Qt::LeftButton) {
        ASSERT_NE(item, nullptr);
        tree().scrollToItem(item);
        QTest::mouseClick(tree().viewport(), button, {}, tree().visualItemRect(item).center());
    }
    // Offers the update to both views through the document, as the frame does.
    CommandState routed(int id) {
        CommandState state;
        EXPECT_TRUE(fixture.document.routeUpdateToAllViews(nullptr, id, state)) << id;
        return state;
    }
    std::string title() const { return fixture.window->windowTitle().toStdString(); }

    test::ViewFixture fixture;
};

}  // namespace

TEST_F(DriveViewTest, TopLevelNodesInOrderWithTheResourceFolderSelectedAndListed) {
    create();
    std::vector<std::string> expected = {"Scrivel Resource Folder", "Scrivel User Files Folder",
                                         "C:\\", "<A>  ALL Scrivel Modules",
                                         "<C>  Current Scrivel Settings"};
    for (int n = 1; n <= 15; ++n) {
        char label[32];
        std::snprintf(label, sizeof label, "<%02d> Workspace %02d", n, n);
        expected.push_back(label);
    }
    EXPECT_EQ(topLabels(tree()), expected);

    EXPECT_EQ(tree().currentItem(), tree().topLevelItem(0));
    EXPECT_EQ(fixture.state.nodeKind, app::node::kResourceFolder);
    const std::string resource = fixture.resourceFolder().string() + "/";
    EXPECT_EQ(fixture.state.resourceFolder, resource);
    EXPECT_EQ(fixture.state.currentFolder, resource);
    // Titles show the Windows form, in the start title's case.
    EXPECT_EQ(title(), fixture.state.titlePrefix + "C:\\program files (x86)\\scrivel\\*.*");
    EXPECT_EQ(list().model().rowCount(), 6);
    EXPECT_EQ(fixture.state.fileCount, 6u);

    // Workspace nodes are remembered by slot; the drive lists drive_c.
    EXPECT_EQ(tree().workspaceItem(app::kSlotAll), tree().topLevelItem(3));
    EXPECT_EQ(tree().workspaceItem(14)->text(0), "<15> Workspace 15");
    EXPECT_EQ(tree().folderOf(tree().topLevelItem(2)), fixture.driveC().string() + "/");
    EXPECT_EQ(tree().topLevelItem(2)->childCount(), 1);  // its placeholder
    EXPECT_TRUE(sameImage(tree().topLevelItem(0)->icon(0), viewIcon(ViewIcon::HostFolder)));
}

TEST_F(DriveViewTest, SelectingWorkspace02ShowsItsFlagsTitleAndCommands) {
    const std::string ws2 = "Software\\Quorvel\\Modshelf\\Workspace2";
    settings::SetRegString(fixture.store, ws2, "WorkspaceTitle", "  Study  ");
    settings::SetRegString(fixture.store, ws2 + "\\Bibles", "KJV", "True");
    settings::SetRegString(fixture.store, ws2 + "\\Bibles", "WEB", "False");
    settings::SetRegString(fixture.store, ws2 + "\\Commentaries", "MHC", "TRUE");
    settings::SetRegString(fixture.store, ws2 + "\\Dictionaries", "Easton", "yes");
    create();

    QTreeWidgetItem* ws = tree().workspaceItem(1);
    ASSERT_NE(ws, nullptr);
    EXPECT_EQ(ws->text(0), "<02> Study");
    click(ws);

    EXPECT_EQ(fixture.state.nodeKind, 2);
    EXPECT_TRUE(tree().numberedWorkspaceSelected());
    EXPECT_EQ(title(), fixture.state.titlePrefix + "<02> Study");
    EXPECT_EQ(tree().clickedLabel(), "<02> Study");
    EXPECT_EQ(fixture.state.currentFolder, fixture.state.resourceFolder);

    // The workspace preset: Bibles, commentaries and dictionaries only.
    const auto& filter = fixture.state.typeFilter;
    EXPECT_TRUE(filter.only());
    EXPECT_FALSE(filter.all());
    EXPECT_TRUE(filter.shows(modules::ModuleKind::Bible));
    EXPECT_FALSE(filter.shows(modules::ModuleKind::Devotional));

    std::map<std::string, bool> boxes;
    for (const auto& row : list().model().rows()) boxes[row.record.fileName] = row.checked;
    EXPECT_EQ(
        boxes,
        (std::map<std::string, bool>{
            {"easton.dctx", false}, {"kjv.bblx", true}, {"mhc.cmtx", true}, {"web.bblx", false}}));
    EXPECT_EQ(fixture.state.activeCount, 2u);

    // Only the rename and activate commands of workspace 02.
    for (int n = 1; n <= 15; ++n) {
        EXPECT_EQ(routed(cmd::renameWorkspace(n)).enabled, n == 2) << n;
        EXPECT_EQ(routed(cmd::activateWorkspace(n)).enabled, n == 2) << n;
    }
    EXPECT_TRUE(routed(cmd::kActivateAll).enabled);
    EXPECT_FALSE(routed(cmd::kOpenExplorer).enabled);
    // The filter menu shows the preset and cannot change it.
    EXPECT_FALSE(routed(cmd::kFilterBibles).enabled);
    EXPECT_TRUE(routed(cmd::kFilterBibles).checked);
    EXPECT_TRUE(routed(cmd::kFilterOnly).checked);
}

TEST_F(DriveViewTest, BoxesChangeOnlyInNumberedWorkspaces) {
    create();
    std::vector<std::pair<int, bool>> heard;
    list().setCheckChangedHandler([&](int row, bool checked) { heard.push_back({row, checked}); });

    click(tree().workspaceItem(2));  // <03>
    ModuleListModel& model = list().model();
    ASSERT_GT(model.rowCount(), 0);
    QModelIndex first = model.index(0, 0);
    EXPECT_TRUE(model.flags(first) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(model.setData(first, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(heard, (std::vector<std::pair<int, bool>>{{0, true}}));
    EXPECT_EQ(fixture.state.activeCount, 1u);

    // <A>: every box checked and counted, none can change.
    click(tree().workspaceItem(app::kSlotAll));
    EXPECT_EQ(fixture.state.nodeKind, app::node::kAllModules);
    EXPECT_EQ(fixture.state.activeCount, fixture.state.fileCount);
    first = model.index(0, 0);
    EXPECT_EQ(first.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_FALSE(model.setData(first, Qt::Unchecked, Qt::CheckStateRole));
    const QRect cell = list().detailsView()->visualRect(first);
    QTest::mouseClick(list().detailsView()->viewport(), Qt::LeftButton, {},
                      QPoint(cell.left() + 10, cell.center().y()));
    EXPECT_EQ(first.data(Qt::CheckStateRole).toInt(), Qt::Checked);

    // <C>: the host's keys decide, and the boxes stay put too.
    click(tree().workspaceItem(app::kSlotCurrent));
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_EQ(heard.size(), 1u);
}

TEST_F(DriveViewTest, SelectingADriveListsItWithEveryKindAndOffersTheFileManager) {
    create();
    click(tree().workspaceItem(4));  // a workspace first, so the preset changes back
    std::vector<std::string> opened;
    tree().setFolderOpener([&](const std::string& folder) { opened.push_back(folder); });

    QTreeWidgetItem* drive = tree().findTopLevel("c:\\");
    click(drive);
    EXPECT_EQ(fixture.state.nodeKind, app::node::kDriveOrFolder);
    const std::string root = fixture.driveC().string() + "/";
    EXPECT_EQ(fixture.state.currentFolder, root);
    EXPECT_EQ(title(), fixture.state.titlePrefix + "C:\\*.*");
    EXPECT_TRUE(fixture.state.typeFilter.all());
    EXPECT_FALSE(fixture.state.typeFilter.only());

    for (int n = 1; n <= 15; ++n) {
        EXPECT_FALSE(routed(cmd::renameWorkspace(n)).enabled) << n;
        EXPECT_FALSE(routed(cmd::activateWorkspace(n)).enabled) << n;
    }
    EXPECT_TRUE(routed(cmd::kActivateAll).enabled);
    EXPECT_TRUE(routed(cmd::kOpenExplorer).enabled);
    EXPECT_TRUE(fixture.document.routeCommandToAllViews(nullptr, cmd::kOpenExplorer));
    EXPECT_EQ(opened, std::vector<std::string>{root});

    // The user files node lists with every kind as well.
    click(tree().topLevelItem(1));
    EXPECT_EQ(fixture.state.nodeKind, app::node::kUserFilesFolder);
    EXPECT_EQ(fixture.state.fileCount, 1u);
    EXPECT_EQ(fixture.state.activeCount, 0u);
}

TEST_F(DriveViewTest, ExpandingListsSubfoldersSortedAndRefusesEmptyOnes) {
    create();
    QTreeWidgetItem* drive = tree().findTopLevel("C:\\");
    drive->setExpanded(true);
    EXPECT_EQ(childLabels(drive),
              (std::vector<std::string>{"empty", "Program Files (x86)", "users", "windows"}));
    // Expanding changes the list only when the node is selected.
    EXPECT_EQ(fixture.state.nodeKind, app::node::kResourceFolder);

    QTreeWidgetItem* empty = childNamed(drive, "empty");
    EXPECT_EQ(empty->childCount(), 0);  // no button: it has no subfolder
    QTreeWidgetItem* windows = childNamed(drive, "windows");
    ASSERT_EQ(windows->childCount(), 1);  // the placeholder
    windows->setExpanded(true);
    EXPECT_EQ(childLabels(windows), std::vector<std::string>{"system32"});
    QTreeWidgetItem* system32 = childNamed(windows, "system32");
    EXPECT_EQ(system32->childCount(), 0);
    system32->setExpanded(true);
    EXPECT_FALSE(system32->isExpanded());

    // The resource folder shows the host image when met on its drive.
    QTreeWidgetItem* programs = childNamed(drive, "Program Files (x86)");
    programs->setExpanded(true);
    QTreeWidgetItem* scrivel = childNamed(programs, "Scrivel");
    ASSERT_NE(scrivel, nullptr);
    EXPECT_TRUE(sameImage(scrivel->icon(0), viewIcon(ViewIcon::HostFolder)));
    EXPECT_FALSE(sameImage(childNamed(drive, "users")->icon(0), viewIcon(ViewIcon::HostFolder)));

    // A folder node's path and kind; a folder named like a workspace is a folder.
    fs::create_directories(fixture.driveC() / "windows" / "<01> fake");
    windows->setExpanded(false);
    EXPECT_EQ(windows->childCount(), 1);
    windows->setExpanded(true);
    QTreeWidgetItem* fake = childNamed(windows, "<01> fake");
    ASSERT_NE(fake, nullptr);
    EXPECT_EQ(tree().nodePath(fake), (fixture.driveC() / "windows" / "<01> fake").string());
    EXPECT_EQ(fixture.state.nodeKind, app::node::kDriveOrFolder);

    // Selecting a folder lists it (collapsing "windows" replaced its children).
    system32 = childNamed(windows, "system32");
    click(system32);
    EXPECT_EQ(fixture.state.currentFolder,
              (fixture.driveC() / "windows" / "system32").string() + "/");
    EXPECT_EQ(fixture.state.fileCount, 0u);

    // Collapsing a drive keeps its button.
    drive->setExpanded(false);
    EXPECT_EQ(drive->childCount(), 1);
}

TEST_F(DriveViewTest, WithoutScrivelsFoldersTheTreeStartsWithTheDrives) {
    for (const char* name : {"kjv.bblx", "web.bblx"}) fs::remove(fixture.resourceFolder() / name);
    create();
    EXPECT_FALSE(fixture.state.resourceFolderFound);
    EXPECT_EQ(topLabels(tree()).front(), "C:\\");
    EXPECT_EQ(tree().topLevelItemCount(), 18);
    EXPECT_EQ(fixture.state.nodeKind, app::node::kNone);
    for (int n = 1; n <= 15; ++n) EXPECT_FALSE(routed(cmd::renameWorkspace(n)).enabled) << n;
    EXPECT_FALSE(routed(cmd::kOpenExplorer).enabled);
    EXPECT_EQ(list().model().rowCount(), 0);
}

// A folder's name is bytes: one that is not UTF-8 is browsed and listed all
// the same, under its own name.
TEST_F(DriveViewTest, FoldersWhoseNamesAreNotUtf8AreBrowsedAndListed) {
    const std::string name = "caf\xe9 \xff";
    const fs::path folder = fixture.driveC() / "windows" / name;
    fs::create_directories(folder / "inner");
    test::writeModule(folder / "old.bblx", "Old", "OLD");
    create();
    tree().findTopLevel("C:\\")->setExpanded(true);
    QTreeWidgetItem* windows = childNamed(tree().findTopLevel("C:\\"), "windows");
    windows->setExpanded(true);
    QTreeWidgetItem* odd = nullptr;
    for (int i = 0; i < windows->childCount(); ++i)
        if (windows->child(i)->text(0).startsWith(QStringLiteral("caf"))) odd = windows->child(i);
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(tree().nodePath(odd), folder.string());
    odd->setExpanded(true);
    EXPECT_EQ(childLabels(odd), std::vector<std::string>{"inner"});

    click(odd);
    EXPECT_EQ(fixture.state.currentFolder, folder.string() + "/");
    ASSERT_EQ(list().model().rowCount(), 1);
    EXPECT_EQ(list().model().row(0).record.tabName, "OLD");
}
