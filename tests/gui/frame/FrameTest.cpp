#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include "FrameFixture.h"
#include "core/app/CommandIds.h"
#include "core/app/FrameSettings.h"
#include "core/settings/RegistryAccess.h"
#include "gui/MainStatusBar.h"

namespace modshelf::gui::testing {
namespace {

using settings::RegRoot;
namespace cmd = app::cmd;

// "text=id" for commands, "-" for separators, ">title" for submenus.
std::vector<std::string> describe(const QMenu* menu) {
    std::vector<std::string> out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            out.push_back("-");
        else if (a->menu())
            out.push_back(">" + QString(a->text()).remove('&').toStdString());
        else
            out.push_back(QString(a->text()).remove('&').toStdString() + "=" +
                          std::to_string(a->data().toInt()));
    }
    return out;
}

QMenu* popup(CMainFrame& frame, int index) {
    return frame.menuBar()->actions().at(index)->menu();
}

using FrameMenus = FrameFixture;

TEST_F(FrameMenus, MenuBarHoldsThePopupsAndItemsInOrder) {
    auto frame = makeFrame();
    QStringList titles;
    for (QAction* a : frame->menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles,
              (QStringList{"&File", "&Workspace", "&View", "&Modules", "&Export", "&Help"}));

    EXPECT_EQ(describe(popup(*frame, 2)),
              (std::vector<std::string>{"Refresh Files List=40134",
                                        "-",
                                        "Display File Properties=211",
                                        "-",
                                        "Use List View=112",
                                        "Use Details View=113",
                                        "Use Large Icons View=110",
                                        "Use Small Icons View=111",
                                        "-",
                                        "Show List Gridlines=40135",
                                        "Display Long Label Tips=40138",
                                        "Allow Sorting by Column=40140",
                                        "Allow Dragging Columns=40137",
                                        "Allow Full Row Selection=40136",
                                        "-",
                                        "Show the Toolbar=59392",
                                        "Show the Status Bar=59393",
                                        "-",
                                        "Stay on Top=40141",
                                        "-",
                                        "Activate ALL Modules=40124"}));
    EXPECT_EQ(describe(popup(*frame, 4)),
              (std::vector<std::string>{"Export List to Tab-Delimited Text File=40023",
                                        "Export List to Text File with Even Columns=40024",
                                        "Export (Copy) List to Clipboard=40025", "-",
                                        "Export File Properties to Text File=40027",
                                        "Export (Copy) File Properties to Clipboard=40026", "-",
                                        "Export (Back Up) Modshelf Settings=40153",
                                        "Import (Restore) Modshelf Settings=40154"}));
    const QMenu* workspace = popup(*frame, 1);
    ASSERT_EQ(describe(workspace),
              (std::vector<std::string>{
                  ">Activate . . .", "-", ">Rename . . .", "-", "Compare with Current Settings=40161",
                  "Compare Workspaces=40162", "Undo Last Activation=40163",
                  "Workspace Matrix=40164", "-", "Find in List=40160", "Refresh Files List=40134"}));
    const auto activate = describe(workspace->actions().at(0)->menu());
    ASSERT_EQ(activate.size(), 17u);
    EXPECT_EQ(activate[4], "Activate Workspace 05=40105");

    // The accelerators sit on the actions, shown beside the menu text.
    EXPECT_EQ(frame->action(cmd::kHelpIndex)->shortcut(), QKeySequence(QStringLiteral("Alt+F1")));
    EXPECT_EQ(frame->action(cmd::kRefreshList)->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(frame->action(cmd::kOfflineHelp)->shortcut(),
              QKeySequence(QStringLiteral("Shift+F1")));
}

TEST_F(FrameMenus, ToolbarButtonsInOrderWithTooltipsAndImages) {
    auto frame = makeFrame();
    std::vector<int> ids;
    for (QAction* a : frame->toolBar()->actions())
        ids.push_back(a->isSeparator() ? 0 : a->data().toInt());
    ASSERT_EQ(ids.size(), 34u);
    EXPECT_EQ(std::vector<int>(ids.begin(), ids.begin() + 11),
              (std::vector<int>{40132, 40131, 40029, 0, 112, 113, 110, 111, 0, 40134, 0}));
    EXPECT_EQ(ids[32], 211);
    QAction* bibles = frame->action(cmd::kFilterBibles);
    EXPECT_EQ(bibles->toolTip(), " Bible Modules ");
    EXPECT_EQ(bibles->statusTip(), " Show (or hide) Bibles in the module list (toggle)");
    for (QAction* a : frame->toolBar()->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
        }
    }
}

TEST_F(FrameMenus, HoveredItemShowsItsPromptAndTheIdleMessageReturns) {
    auto frame = makeFrame();
    auto* bar = frame->mainStatusBar();
    EXPECT_EQ(bar->idleText(), QStringLiteral(" Modshelf for Scrivel . . . "));
    QStatusTipEvent tip(frame->action(cmd::kStayOnTop)->statusTip());
    QApplication::sendEvent(frame.get(), &tip);
    EXPECT_EQ(bar->currentMessage(),
              QStringLiteral(" Keep Modshelf on top of (or in front of) other windows"));
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(frame.get(), &none);
    EXPECT_TRUE(bar->currentMessage().isEmpty());
}

TEST_F(FrameMenus, CommandsNobodyHandlesAreDisabledWhenTheMenuOpens) {
    auto frame = makeFrame();
    list->handles(cmd::kExportTabDelimited, true);
    QMenu* exportMenu = popup(*frame, 4);
    emit exportMenu->aboutToShow();
    EXPECT_TRUE(frame->action(cmd::kExportTabDelimited)->isEnabled());
    EXPECT_FALSE(frame->action(cmd::kBackupSettings)->isEnabled());
    EXPECT_FALSE(frame->action(cmd::kCopyListToClipboard)->isEnabled());
    // No help pages are installed beside this program, but the commands still
    // answer: with the notice.
    emit popup(*frame, 5)->aboutToShow();
    EXPECT_TRUE(frame->action(cmd::kHelpContents)->isEnabled());
    EXPECT_FALSE(frame->action(cmd::kAbout)->isEnabled());
}

using FrameStatus = FrameFixture;

TEST_F(FrameStatus, CountsPaneShowsActiveOnlyForWorkspaces) {
    auto frame = makeFrame();
    state.fileCount = 1234567;
    state.activeCount = 1000;
    state.nodeKind = 5;
    frame->updateCommandUi();
    EXPECT_EQ(frame->mainStatusBar()->countsText(),
              QStringLiteral(" Files 1,234,567 : Active 1,000"));
    state.nodeKind = app::node::kAllModules;
    frame->updateCommandUi();
    EXPECT_EQ(frame->mainStatusBar()->countsText(),
              QStringLiteral(" Files 1,234,567 : Active 1,000"));
    state.nodeKind = app::node::kDriveOrFolder;
    frame->updateCommandUi();
    EXPECT_EQ(frame->mainStatusBar()->countsText(), QStringLiteral(" Files 1,234,567"));
    EXPECT_TRUE(frame->mainStatusBar()->countsEnabled());
}

TEST_F(FrameStatus, CountsPaneIsDisabledWithoutTheList) {
    auto frame = makeFrame(false);
    frame->updateCommandUi();
    EXPECT_FALSE(frame->mainStatusBar()->countsEnabled());
}

TEST_F(FrameStatus, ToolbarAndStatusBarToggle) {
    auto frame = makeFrame();
    frame->show();
    ASSERT_TRUE(frame->routeCommand(cmd::kShowStatusBar));
    EXPECT_TRUE(frame->statusBar()->isHidden());
    EXPECT_FALSE(frame->routeUpdate(cmd::kShowStatusBar).checked);
    frame->routeCommand(cmd::kShowStatusBar);
    EXPECT_FALSE(frame->statusBar()->isHidden());
    frame->routeCommand(cmd::kShowToolBar);
    EXPECT_TRUE(frame->toolBar()->isHidden());
    EXPECT_FALSE(frame->routeUpdate(cmd::kShowToolBar).checked);
    EXPECT_TRUE(frame->routeUpdate(cmd::kShowStatusBar).checked);
}

using FrameCreation = FrameFixture;

TEST_F(FrameCreation, ListIsCreatedFirstAndTheTreeIsTheLeftPane) {
    auto frame = makeFrame();
    ASSERT_EQ(document.views().size(), 2u);
    EXPECT_EQ(document.views()[0], list);
    EXPECT_EQ(document.views()[1], tree);
    EXPECT_EQ(frame->splitter()->widget(0), tree);
    EXPECT_EQ(frame->splitter()->widget(1), list);
    frame->resize(900, 600);
    frame->show();
    EXPECT_EQ(frame->splitter()->sizes().at(0), CMainFrame::kTreeWidth);
}

TEST_F(FrameCreation, StartupValuesAreWrittenAndTheStartTitleSet) {
    state.currentFolder = "C:\\PROGRAM FILES\\Scrivel\\";
    auto frame = makeFrame();
    EXPECT_EQ(
        settings::GetRegDword(store, RegRoot::CurrentUser, app::kSettingsKey, "Workspaces", 0),
        15u);
    EXPECT_EQ(settings::GetRegString(store, RegRoot::CurrentUser, app::kSettingsRootKey,
                                     "CurrentVersion"),
              "V.3.37");
    frame->show();
    EXPECT_EQ(frame->windowTitle(),
              QStringLiteral(" Modshelf for Scrivel - C:\\program files\\scrivel\\*.*"));
}

TEST_F(FrameCreation, TabStyleCommandsWriteScrivelsSetting) {
    auto frame = makeFrame();
    EXPECT_TRUE(frame->routeUpdate(cmd::kMultiTabRows).checked);
    EXPECT_FALSE(frame->routeUpdate(cmd::kSingleTabRow).checked);
    ASSERT_TRUE(frame->routeCommand(cmd::kSingleTabRow));
    EXPECT_EQ(
        settings::GetRegString(store, RegRoot::CurrentUser, app::kHostSettingsKey, "Tab Style"),
        "1");
    EXPECT_TRUE(frame->routeUpdate(cmd::kSingleTabRow).checked);
    EXPECT_FALSE(frame->routeUpdate(cmd::kMultiTabRows).checked);
    frame->action(cmd::kMultiTabRows)->trigger();
    EXPECT_EQ(
        settings::GetRegString(store, RegRoot::CurrentUser, app::kHostSettingsKey, "Tab Style"),
        "0");
}

TEST_F(FrameCreation, StayOnTopTogglesTheWindowAndTheStoredValue) {
    auto frame = makeFrame();
    EXPECT_FALSE(frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    frame->show();
    frame->action(cmd::kStayOnTop)->trigger();
    EXPECT_TRUE(frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(settings::GetRegDword(store, RegRoot::CurrentUser, app::kSettingsKey, "StayOnTop", 9),
              1u);
    emit popup(*frame, 2)->aboutToShow();
    EXPECT_TRUE(frame->action(cmd::kStayOnTop)->isChecked());
    frame.reset();

    // The next start stays on top from the beginning; a toggle turns it off.
    auto next = makeFrame();
    EXPECT_TRUE(next->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    next->routeCommand(cmd::kStayOnTop);
    EXPECT_FALSE(next->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(settings::GetRegDword(store, RegRoot::CurrentUser, app::kSettingsKey, "StayOnTop", 9),
              0u);
}

}  // namespace
}  // namespace modshelf::gui::testing
