#include <gtest/gtest.h>

#include "core/app/AppState.h"
#include "core/app/FrameSettings.h"
#include "core/app/FrameTexts.h"
#include "core/app/HelpPaths.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "support/TempDir.h"

namespace modshelf::app {
namespace {

using settings::RegRoot;

TEST(FrameSettings, StartupValuesAreWrittenInOneSave) {
    settings::MemorySettingsStore store;
    AppState state;
    const int before = store.saveCount();
    writeStartupValues(store, state);
    EXPECT_EQ(store.saveCount(), before + 1);
    EXPECT_EQ(settings::GetRegString(store, RegRoot::CurrentUser, "Software\\Quorvel\\Modshelf",
                                     "CurrentVersion"),
              "V.3.37");
    for (const char* name : {"ExportSet", "ImportSet"})
        EXPECT_EQ(settings::GetRegDword(store, RegRoot::CurrentUser, kSettingsKey, name, 0), 1u)
            << name;
    EXPECT_EQ(settings::GetRegDword(store, RegRoot::CurrentUser, kSettingsKey, "Workspaces", 0),
              15u);
    EXPECT_EQ(settings::GetRegString(store, RegRoot::CurrentUser,
                                     "Software\\Quorvel\\Modshelf\\WorkspaceA", "WorkspaceName"),
              "WorkspaceA");
    EXPECT_EQ(settings::GetRegString(store, RegRoot::CurrentUser,
                                     "Software\\Quorvel\\Modshelf\\WorkspaceC", "WorkspaceName"),
              "WorkspaceC");
}

TEST(FrameSettings, WindowPosRoundTripsAndBadTextIsIgnored) {
    settings::MemorySettingsStore store;
    EXPECT_FALSE(readWindowPos(store));
    writeWindowPos(store, WindowPos{2, 3, -1, -1, -1, -1, 10, 20, 610, 420});
    const auto pos = readWindowPos(store);
    ASSERT_TRUE(pos);
    EXPECT_EQ(pos->right, 610);
    settings::SetRegString(store, kSettingsKey, "WindowPos", "10:20:30");
    EXPECT_FALSE(readWindowPos(store));
}

TEST(FrameSettings, StayOnTopTogglesAndStores) {
    settings::MemorySettingsStore store;
    AppState state;
    EXPECT_EQ(readStayOnTop(store, state.stayOnTop), 0u);
    EXPECT_TRUE(toggleStayOnTop(store, state));
    EXPECT_EQ(state.stayOnTop, 1u);
    EXPECT_EQ(readStayOnTop(store, 0), 1u);
    EXPECT_FALSE(toggleStayOnTop(store, state));
    EXPECT_EQ(readStayOnTop(store, 1), 0u);
    // Any other stored number counts as "on" for the toggle and leaves the mark alone.
    state.stayOnTop = 7;
    EXPECT_FALSE(stayOnTopCheck(7));
    EXPECT_FALSE(toggleStayOnTop(store, state));
    EXPECT_EQ(state.stayOnTop, 0u);
    EXPECT_EQ(stayOnTopCheck(1), std::optional<bool>(true));
    EXPECT_EQ(stayOnTopCheck(0), std::optional<bool>(false));
}

TEST(FrameSettings, TabStyleIsSingleRowOnlyForExactlyOne) {
    settings::MemorySettingsStore store;
    EXPECT_FALSE(isSingleTabRow(store));
    writeTabStyle(store, true);
    EXPECT_EQ(settings::GetRegString(store, RegRoot::CurrentUser, kHostSettingsKey, "Tab Style"),
              "1");
    EXPECT_TRUE(isSingleTabRow(store));
    writeTabStyle(store, false);
    EXPECT_EQ(settings::GetRegString(store, RegRoot::CurrentUser, kHostSettingsKey, "Tab Style"),
              "0");
    EXPECT_FALSE(isSingleTabRow(store));
    settings::SetRegString(store, kHostSettingsKey, "Tab Style", "1 ");
    EXPECT_FALSE(isSingleTabRow(store));
}

TEST(FrameTexts, StatusPaneShowsActiveCountOnlyForWorkspaces) {
    EXPECT_EQ(statusPaneText(1234567, 1000, true), " Files 1,234,567 : Active 1,000");
    EXPECT_EQ(statusPaneText(1234567, 1000, false), " Files 1,234,567");
    EXPECT_EQ(statusPaneText(0, 0, true), " Files 0 : Active 0");
    EXPECT_EQ(statusPaneText(4294967295u, 999, false), " Files 4,294,967,295");
    EXPECT_EQ(statusPaneText(1234, 5, true, 12u), " Files 12 of 1,234 : Active 5");
}

TEST(FrameTexts, StartTitle) {
    const std::string prefix = " Modshelf for Scrivel - ";
    EXPECT_EQ(startTitle(prefix, "C:\\PROGRAM FILES (X86)\\Scrivel\\"),
              " Modshelf for Scrivel - C:\\program files (x86)\\scrivel\\*.*");
    EXPECT_EQ(startTitle(prefix, "c:\\Scrivel"), " Modshelf for Scrivel - C:\\scrivel\\*.*");
    // Local folders keep their case: another spelling names another folder.
    EXPECT_EQ(startTitle(prefix, "/home/Ann/Scrivel/"),
              " Modshelf for Scrivel - /home/Ann/Scrivel/*.*");
    EXPECT_EQ(startTitle(prefix, "/home/Ann/Scrivel"),
              " Modshelf for Scrivel - /home/Ann/Scrivel/*.*");
}

TEST(HelpPaths, FileNameIsLowerCasedAndTheFolderKeepsItsCase) {
    EXPECT_EQ(helpFilePathFor("C:\\Program Files\\Quorvel\\Modshelf.EXE"),
              "C:\\Program Files\\Quorvel\\modshelf.chm");
    EXPECT_EQ(helpFilePathFor("/opt/Quorvel/Modshelf"), "/opt/Quorvel/modshelf.chm");
    EXPECT_EQ(helpFilePathFor("/home/ann/.local/bin/modshelf"),
              "/home/ann/.local/bin/modshelf.chm");
    EXPECT_EQ(helpFilePathFor("/x/My.Tools/Modshelf.bin"), "/x/My.Tools/modshelf.chm");
}

TEST(HelpPaths, OfflinePageBesideTheProgram) {
    EXPECT_EQ(offlinePagePathFor("C:\\Apps\\Modshelf.exe"), "C:\\Apps\\Modshelf.htm");
    EXPECT_EQ(offlinePagePathFor("/usr/lib/modshelf/modshelf"), "/usr/lib/modshelf/Modshelf.htm");
    EXPECT_EQ(offlinePagePathFor("modshelf"), "Modshelf.htm");
}

TEST(HelpPaths, HelpFolderBesideTheProgramOrInstalledButNeverTheSourceTree) {
    test::TempDir root;
    const auto program = root / "build" / "src";
    std::filesystem::create_directories(program);
    // A build folder inside the source tree must not lean on the pages there.
    std::filesystem::create_directories(root / "resources" / "help");
    test::writeFile(root / "resources" / "help" / "index.html", "<html></html>");
    EXPECT_FALSE(findHelpFolder(program));
    EXPECT_EQ(helpPagePath(program, "index.html"), program / "help" / "index.html");

    // Installed: bin/modshelf with share/modshelf/help.
    const auto bin = root / "usr" / "bin";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(root / "usr" / "share" / "modshelf" / "help");
    test::writeFile(root / "usr" / "share" / "modshelf" / "help" / "index.html", "<html></html>");
    ASSERT_TRUE(findHelpFolder(bin));
    EXPECT_EQ(*findHelpFolder(bin),
              (root / "usr" / "share" / "modshelf" / "help").lexically_normal());

    // The copy beside the program wins.
    std::filesystem::create_directories(bin / "help");
    test::writeFile(bin / "help" / "index.html", "<html></html>");
    EXPECT_EQ(helpPagePath(bin, "topics.html"), bin / "help" / "topics.html");
}

}  // namespace
}  // namespace modshelf::app
