#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QTest>
#include <filesystem>
#include <string>

#include "ViewFixture.h"
#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "gui/views/CFileView.h"
#include "gui/views/MissingFolderBar.h"

using namespace modshelf;
using namespace modshelf::gui;
namespace cmd = modshelf::app::cmd;
namespace fs = std::filesystem;

namespace {

class MissingFolderBarTest : public ::testing::Test {
protected:
    void start() {
        fixture.createViews();
        bar = attachMissingFolderBar(fixture.context, *fixture.list);
        fixture.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.window.get()));
    }
    void refresh() { ASSERT_TRUE(fixture.list->handleCommand(cmd::kRefreshList)); }
    std::string shown() const { return bar->isVisible() ? bar->text().toStdString() : ""; }

    test::ViewFixture fixture;
    MissingFolderBar* bar = nullptr;
};

}  // namespace

TEST_F(MissingFolderBarTest, ScrivelsFolderGoneAndBackIsToldAtEachRefresh) {
    start();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(fixture.state.fileCount, 6u);

    fs::rename(fixture.resourceFolder(), fixture.driveC() / "moved");
    refresh();
    EXPECT_EQ(fixture.state.fileCount, 0u);
    const std::string hint = shown();
    EXPECT_NE(hint.find("Scrivel's folder C:\\Program Files (x86)\\Scrivel\\ is missing"),
              std::string::npos)
        << hint;
    // It stands above the rows, within the list.
    EXPECT_TRUE(fixture.list->isAncestorOf(bar));
    EXPECT_LT(bar->geometry().bottom(), fixture.list->listControl()->geometry().top());

    fs::rename(fixture.driveC() / "moved", fixture.resourceFolder());
    refresh();
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(fixture.state.fileCount, 6u);
}

TEST_F(MissingFolderBarTest, AFolderNotFoundAtTheStartNamesWhereModshelfLooked) {
    fs::remove_all(fixture.resourceFolder());
    start();
    EXPECT_FALSE(fixture.state.resourceFolderFound);
    const std::string hint = shown();
    EXPECT_NE(hint.find("Scrivel's folder was not found"), std::string::npos) << hint;
    EXPECT_NE(hint.find(fixture.resourceFolder().string()), std::string::npos)
        << "the Resources Path setting is named: " << hint;
    EXPECT_NE(hint.find("C:\\Program Files (x86)\\Scrivel\\"), std::string::npos) << hint;

    // F5 with nothing selected lists Scrivel's default folder, never the
    // program's working folder, and the hint stays.
    refresh();
    EXPECT_EQ(fixture.state.fileCount, 0u);
    EXPECT_EQ(shown(), hint);

    // Scrivel installed meanwhile: F5 finds its folder, the tree shows and
    // selects it, and the hint goes.
    test::writeModule(fixture.resourceFolder() / "kjv.bblx", "King James Version", "KJV");
    refresh();
    EXPECT_TRUE(fixture.state.resourceFolderFound);
    EXPECT_EQ(fixture.state.fileCount, 1u);
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(fixture.state.nodeKind, app::node::kResourceFolder);
    EXPECT_EQ(fixture.state.currentFolder, fixture.state.resourceFolder);
}
