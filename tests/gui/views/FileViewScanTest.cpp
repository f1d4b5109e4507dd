// The list's scan runs beside the window: a folder of slow or hostile modules
// neither freezes it nor keeps it from being cancelled.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QElapsedTimer>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "ViewFixture.h"
#include "gui/MainStatusBar.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"

using namespace modshelf;
using namespace modshelf::gui;
namespace fs = std::filesystem;

namespace {

void writeView(const fs::path& file, const std::string& view) {
    fs::remove(file);
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, view.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// Each read of this module spends its whole work budget.
const std::string kSlowView =
    "CREATE VIEW Details AS WITH RECURSIVE n(i) AS (VALUES(1) UNION ALL SELECT i+1 FROM n) "
    "SELECT i,i,i FROM n WHERE i<0;";

class FileViewScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture.state.nodeKind = app::node::kResourceFolder;
        fixture.state.currentFolder = fixture.resourceFolder().string();
        for (const auto& entry : fs::directory_iterator(fixture.resourceFolder()))
            fs::remove(entry.path());
    }
    // The views start on the (empty) resource folder; the tests then fill it
    // and refill.
    void createViews() {
        fixture.createViews();
        statusBar = new MainStatusBar(fixture.window.get());
        fixture.window->layout()->addWidget(statusBar);
        fixture.window->show();
    }
    std::string tabNameOf(const std::string& name) const {
        for (const auto& row : fixture.list->model().rows())
            if (row.record.fileName == name) return row.record.tabName;
        return "<missing>";
    }

    test::ViewFixture fixture;
    MainStatusBar* statusBar = nullptr;
};

TEST_F(FileViewScanTest, HostileModuleIsListedEmptyWhileTheWindowKeepsWorking) {
    createViews();
    const fs::path folder = fixture.resourceFolder();
    writeView(folder / "endless.bblx", kSlowView);
    for (int i = 0; i < 40; ++i)
        fs::copy_file(folder / "endless.bblx", folder / ("slow" + std::to_string(i) + ".cmtx"));
    test::writeModule(folder / "kjv.bblx", "King James", "KJV");

    // The event loop turns while the modules are read.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longestGap = 0;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
        ++ticks;
    });
    ticker.start(5);
    int filled = 0;
    QObject::connect(fixture.list, &CFileView::filled, [&] { ++filled; });
    fixture.list->refill();
    ticker.stop();

    EXPECT_EQ(filled, 1);
    EXPECT_FALSE(fixture.list->scanning());
    EXPECT_EQ(fixture.list->model().rowCount(), 42);
    EXPECT_EQ(fixture.state.fileCount, 42u);
    EXPECT_EQ(tabNameOf("endless.bblx"), "");
    EXPECT_EQ(tabNameOf("kjv.bblx"), "KJV");
    EXPECT_GT(ticks, 0);
    EXPECT_LT(longestGap, 1000) << "the window stood still";
    EXPECT_FALSE(statusBar->scanProgressShown());
}

TEST_F(FileViewScanTest, LongScanShowsProgressAndCanBeCancelled) {
    createViews();
    const fs::path folder = fixture.resourceFolder();
    writeView(folder / "slow0.bblx", kSlowView);
    for (int i = 1; i < 3000; ++i)
        fs::copy_file(folder / "slow0.bblx", folder / ("slow" + std::to_string(i) + ".bblx"));

    bool progressSeen = false;
    int filled = 0;
    QObject::connect(fixture.list, &CFileView::filled, [&] { ++filled; });
    // Cancel as soon as the progress shows, with the status bar's button.
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!statusBar->scanProgressShown()) return;
        progressSeen = true;
        EXPECT_TRUE(statusBar->scanProgressBar()->format().startsWith("Reading modules: "));
        statusBar->scanCancelButton()->click();
    });
    watcher.start(10);
    fixture.list->refill();
    watcher.stop();

    EXPECT_TRUE(progressSeen);
    EXPECT_EQ(filled, 0) << "a cancelled scan is not a fill";
    EXPECT_FALSE(fixture.list->scanning());
    EXPECT_FALSE(statusBar->scanProgressShown());
    const int rows = fixture.list->model().rowCount();
    EXPECT_GT(rows, 0);
    EXPECT_LT(rows, 3000);
    EXPECT_EQ(fixture.state.fileCount, static_cast<std::uint32_t>(rows));

    // A refill after a cancel reads the folder whole.
    for (int i = 20; i < 3000; ++i) fs::remove(folder / ("slow" + std::to_string(i) + ".bblx"));
    fixture.list->refill();
    EXPECT_EQ(fixture.list->model().rowCount(), 20);
    EXPECT_EQ(filled, 1);
}

TEST_F(FileViewScanTest, ARefillDuringAScanReplacesIt) {
    createViews();
    const fs::path folder = fixture.resourceFolder();
    writeView(folder / "slow0.bblx", kSlowView);
    for (int i = 1; i < 1500; ++i)
        fs::copy_file(folder / "slow0.bblx", folder / ("slow" + std::to_string(i) + ".bblx"));
    fs::create_directory(fixture.userFilesFolder());
    test::writeModule(fixture.userFilesFolder() / "notes.bblx", "Notes", "NTS");

    int filled = 0;
    QObject::connect(fixture.list, &CFileView::filled, [&] { ++filled; });
    bool switched = false;
    QObject::connect(&fixture.list->model(), &QAbstractItemModel::rowsInserted, [&] {
        if (switched) return;
        switched = true;
        QTimer::singleShot(0, [&] {
            fixture.state.currentFolder = fixture.userFilesFolder().string();
            fixture.list->refill();
        });
    });
    fixture.list->refill();

    EXPECT_TRUE(switched);
    EXPECT_EQ(filled, 1);
    // The user files folder alone: its note and the fixture's other file.
    EXPECT_EQ(fixture.list->model().rowCount(), 2);
    EXPECT_EQ(fixture.state.fileCount, 2u);
    EXPECT_EQ(tabNameOf("notes.bblx"), "NTS");
    EXPECT_EQ(tabNameOf("slow0.bblx"), "<missing>");
}

}  // namespace
