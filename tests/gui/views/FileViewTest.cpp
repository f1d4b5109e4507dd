#include <gtest/gtest.h>

#include <QHeaderView>
#include <QListView>
#include <QTableView>
#include <QTest>

#include "ViewFixture.h"
#include "core/app/CommandIds.h"
#include "core/modules/ListColumns.h"
#include "core/settings/RegistryAccess.h"
#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"
#include "gui/views/ListOptions.h"
#include "gui/views/ModuleListModel.h"

using namespace modshelf;
using namespace modshelf::gui;
namespace cmd = modshelf::app::cmd;
namespace fs = std::filesystem;

namespace {

const std::string kSettingsKey = "Software\\Quorvel\\Modshelf\\Settings";

std::vector<std::string> listedNames(const CFileView& view) {
    std::vector<std::string> names;
    for (const auto& row : view.model().rows()) names.push_back(row.record.fileName);
    return names;
}

void clickHeading(CFileView& view, int column) {
    QHeaderView* header = view.detailsView()->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

int rowOf(const CFileView& view, const std::string& name) {
    const auto names = listedNames(view);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i);
    return -1;
}

class FileViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeSizedFile(fixture.resourceFolder() / "big.dat", 100000);
        test::writeSizedFile(fixture.resourceFolder() / "zero.dat", 0);
        fixture.createViews();
        fixture.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.window.get()));
    }
    CFileView& list() { return *fixture.list; }
    CommandState update(int id) {
        CommandState state;
        EXPECT_TRUE(list().updateCommand(id, state)) << id;
        return state;
    }

    test::ViewFixture fixture;
};

}  // namespace

TEST_F(FileViewTest, StartsInDetailsWithTheResourceFolderListedByName) {
    EXPECT_EQ(list().viewMode(), CFileView::ViewMode::Details);
    EXPECT_EQ(list().listControl(), list().detailsView());
    EXPECT_EQ(listedNames(list()),
              (std::vector<std::string>{"big.dat", "daily.devx", "easton.dctx", "kjv.bblx",
                                        "mhc.cmtx", "readme.txt", "web.bblx", "zero.dat"}));
    EXPECT_EQ(fixture.state.fileCount, 8u);
    EXPECT_EQ(fixture.state.activeCount, 0u);
    EXPECT_TRUE(fixture.state.selectedModulePath.empty());

    // The headings, and cells made from the records.
    const ModuleListModel& model = list().model();
    EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "File Size");
    const int kjv = rowOf(list(), "kjv.bblx");
    EXPECT_EQ(model.cellText(kjv, 1), "Bible");
    EXPECT_EQ(model.cellText(kjv, 2), "KJV");
    EXPECT_EQ(model.cellText(kjv, 5), "King James Version");
    EXPECT_EQ(model.cellText(rowOf(list(), "big.dat"), 3), "100,000");
    EXPECT_EQ(model.cellText(rowOf(list(), "zero.dat"), 3), "0");
    EXPECT_EQ(model.cellText(rowOf(list(), "readme.txt"), 1), "");
    const auto sizeAlign = model.index(kjv, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_TRUE(sizeAlign & Qt::AlignRight);
    const auto typeAlign = model.index(kjv, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_TRUE(typeAlign & Qt::AlignHCenter);
    // The two file images: modules and other files differ.
    EXPECT_EQ(model.row(kjv).imageIndex(), 1);
    EXPECT_EQ(model.row(rowOf(list(), "readme.txt")).imageIndex(), 0);
}

TEST_F(FileViewTest, SortingTwiceByFileSizeThenByFileName) {
    clickHeading(list(), modules::kColFileSize);
    EXPECT_EQ(listedNames(list()).front(), "big.dat");
    EXPECT_EQ(listedNames(list()).back(), "zero.dat");
    clickHeading(list(), modules::kColFileSize);
    EXPECT_EQ(listedNames(list()).front(), "zero.dat");
    EXPECT_EQ(listedNames(list()).back(), "big.dat");
    clickHeading(list(), modules::kColFileName);
    EXPECT_EQ(listedNames(list()).front(), "big.dat");
    EXPECT_EQ(listedNames(list())[1], "daily.devx");
    // After the fill "File Name" was A to Z already, but another column came
    // between, so this click sorted A to Z again; the next one goes Z to A.
    clickHeading(list(), modules::kColFileName);
    EXPECT_EQ(listedNames(list()).front(), "zero.dat");
}

TEST_F(FileViewTest, TheFirstFileNameClickAfterAFillSortsZToA) {
    clickHeading(list(), modules::kColFileName);
    EXPECT_EQ(listedNames(list()).front(), "zero.dat");
}

TEST_F(FileViewTest, SortingOffLeavesRowsAndSortStateAlone) {
    ASSERT_TRUE(list().handleCommand(cmd::kSortByColumn));
    const auto before = listedNames(list());
    clickHeading(list(), modules::kColFileSize);
    EXPECT_EQ(listedNames(list()), before);
    EXPECT_EQ(list().sortState().nextDirection(modules::kColFileSize),
              modules::SortDirection::First);
    EXPECT_EQ(list().sortState().lastColumn(), modules::kColFileName);
}

TEST_F(FileViewTest, SelectionFollowsItsRowThroughASort) {
    const int kjv = rowOf(list(), "kjv.bblx");
    list().detailsView()->selectRow(kjv);
    clickHeading(list(), modules::kColFileSize);
    ASSERT_GE(list().selectedRow(), 0);
    EXPECT_EQ(list().model().row(list().selectedRow()).record.fileName, "kjv.bblx");
}

TEST_F(FileViewTest, ViewModesCheckTheirItemAndGreyTheOptions) {
    const int options[] = {cmd::kGridLines, cmd::kLabelTips, cmd::kSortByColumn, cmd::kDragColumns,
                           cmd::kFullRowSelect};
    for (int id : options) {
        EXPECT_TRUE(update(id).enabled) << id;
        EXPECT_TRUE(update(id).checked) << id;
    }
    EXPECT_TRUE(update(cmd::kDetailsMode).checked);

    const std::pair<int, CFileView::ViewMode> modes[] = {
        {cmd::kLargeIcons, CFileView::ViewMode::LargeIcons},
        {cmd::kSmallIcons, CFileView::ViewMode::SmallIcons},
        {cmd::kListMode, CFileView::ViewMode::List}};
    for (auto [command, mode] : modes) {
        ASSERT_TRUE(list().handleCommand(command));
        EXPECT_EQ(list().viewMode(), mode);
        EXPECT_EQ(list().listControl(), list().iconView());
        EXPECT_TRUE(update(command).checked);
        EXPECT_FALSE(update(cmd::kDetailsMode).checked);
        for (int id : options) {
            EXPECT_FALSE(update(id).enabled) << command << " " << id;
            EXPECT_TRUE(update(id).checked) << command << " " << id;
        }
    }
    EXPECT_EQ(list().iconView()->viewMode(), QListView::ListMode);
    EXPECT_EQ(list().iconView()->flow(), QListView::TopToBottom);

    ASSERT_TRUE(list().handleCommand(cmd::kDetailsMode));
    EXPECT_EQ(list().listControl(), list().detailsView());
    EXPECT_TRUE(update(cmd::kGridLines).enabled);
}

TEST_F(FileViewTest, OptionsAreStoredAsDwordsAndTakeEffect) {
    QTableView* table = list().detailsView();
    EXPECT_TRUE(table->showGrid());
    EXPECT_TRUE(table->horizontalHeader()->sectionsMovable());
    EXPECT_EQ(table->selectionBehavior(), QAbstractItemView::SelectRows);

    const std::pair<int, const char*> toggles[] = {{cmd::kGridLines, "GridLines"},
                                                   {cmd::kLabelTips, "LabelTips"},
                                                   {cmd::kSortByColumn, "AllowListSort"},
                                                   {cmd::kDragColumns, "DragdropCols"},
                                                   {cmd::kFullRowSelect, "FullRowSel"}};
    for (auto [command, name] : toggles) {
        ASSERT_TRUE(list().handleCommand(command));
        settings::RegValue value;
        ASSERT_EQ(
            fixture.store.queryValue(settings::RegRoot::CurrentUser, kSettingsKey, name, value),
            settings::kSuccess)
            << name;
        EXPECT_EQ(value, settings::RegValue::fromDword(0)) << name;
        EXPECT_FALSE(update(command).checked) << name;
    }
    EXPECT_FALSE(table->showGrid());
    EXPECT_FALSE(table->horizontalHeader()->sectionsMovable());
    EXPECT_EQ(table->selectionBehavior(), QAbstractItemView::SelectItems);
    // The refill after "FullRowSel" kept the folder listed.
    EXPECT_EQ(list().model().rowCount(), 8);

    ASSERT_TRUE(list().handleCommand(cmd::kGridLines));
    EXPECT_EQ(settings::GetRegDword(fixture.store, settings::RegRoot::CurrentUser, kSettingsKey,
                                    "GridLines", 7),
              1u);
    EXPECT_TRUE(table->showGrid());
}

TEST_F(FileViewTest, StoredOptionsAreReadAtCreation) {
    settings::SetRegDword(fixture.store, kSettingsKey, "GridLines", 0);
    settings::SetRegDword(fixture.store, kSettingsKey, "FullRowSel", 0);
    CFileView second(fixture.context);
    EXPECT_FALSE(second.detailsView()->showGrid());
    EXPECT_EQ(second.detailsView()->selectionBehavior(), QAbstractItemView::SelectItems);
    CommandState state;
    second.updateCommand(cmd::kGridLines, state);
    EXPECT_FALSE(state.checked);
    second.updateCommand(cmd::kLabelTips, state);
    EXPECT_TRUE(state.checked);
}

TEST_F(FileViewTest, AClickSelectsTheModuleAndAnEmptyClickOnlyClearsThePath) {
    QTableView* table = list().detailsView();
    const int kjv = rowOf(list(), "kjv.bblx");
    const QRect cell = table->visualRect(list().model().index(kjv, modules::kColDescription));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());

    const std::string folder = fixture.state.resourceFolder;
    EXPECT_EQ(fixture.state.selectedModulePath, folder + "kjv.bblx");
    const QString title = QString::fromStdString(fixture.state.titlePrefix + folder + "kjv.bblx");
    EXPECT_EQ(fixture.window->windowTitle(), title);

    // Below the last row: nothing selected, the title stays.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      QPoint(20, table->viewport()->height() - 3));
    EXPECT_TRUE(fixture.state.selectedModulePath.empty());
    EXPECT_EQ(fixture.window->windowTitle(), title);

    // A right click selects as well.
    const int web = rowOf(list(), "web.bblx");
    QTest::mouseClick(table->viewport(), Qt::RightButton, {},
                      table->visualRect(list().model().index(web, 0)).center());
    EXPECT_EQ(fixture.state.selectedModulePath, folder + "web.bblx");
}

TEST_F(FileViewTest, CheckBoxesStayPutOutsideNumberedWorkspaces) {
    ModuleListModel& model = list().model();
    const QModelIndex kjv = model.index(rowOf(list(), "kjv.bblx"), 0);
    EXPECT_FALSE(model.flags(kjv) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.setData(kjv, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(kjv.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(FileViewTest, LabelTipsOnlyForCellsThatDoNotFit) {
    QTableView* table = list().detailsView();
    const int kjv = rowOf(list(), "kjv.bblx");
    table->setColumnWidth(modules::kColDescription, 30);
    const QModelIndex description = list().model().index(kjv, modules::kColDescription);
    EXPECT_EQ(list().labelTip(description), "King James Version");
    table->setColumnWidth(modules::kColDescription, 400);
    EXPECT_TRUE(list().labelTip(description).isEmpty());
    table->setColumnWidth(modules::kColDescription, 30);
    ASSERT_TRUE(list().handleCommand(cmd::kLabelTips));
    EXPECT_TRUE(list().labelTip(description).isEmpty());
}

TEST_F(FileViewTest, SizingFitsContentWithinTheLimits) {
    test::writeSizedFile(fixture.resourceFolder() / (std::string(80, 'n') + ".txt"), 1);
    list().refill();
    QTableView* table = list().detailsView();
    EXPECT_EQ(table->columnWidth(modules::kColFileName), 190);
    EXPECT_GE(table->columnWidth(modules::kColFileSize), 25);
    EXPECT_LE(table->columnWidth(modules::kColDescription), 170);
    // "Module Type" fits at least its heading.
    EXPECT_GE(table->columnWidth(modules::kColModuleType),
              table->horizontalHeader()->sectionSizeHint(modules::kColModuleType));
}
