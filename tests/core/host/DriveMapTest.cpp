#include "core/host/DriveMap.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace modshelf::host {
namespace {

namespace fs = std::filesystem;

class DriveMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir / "drive_c/Program Files (x86)/Scrivel");
        fs::create_directories(dir / "drive_c/users/demo/Documents");
        fs::create_directories(dir / "dosdevices");
        fs::create_directory_symlink("../drive_c", dir / "dosdevices/c:");
        fs::create_directory_symlink("/", dir / "dosdevices/z:");
        fs::create_symlink("/dev/sr0", dir / "dosdevices/d::");  // raw device: no drive
        fs::create_directory_symlink("/nonexistent-cdrom", dir / "dosdevices/e:");
        map = DriveMap::fromPrefix(dir.path());
    }
    std::string local(const std::string& relative) const { return (dir / relative).string(); }

    test::TempDir dir;
    DriveMap map;
};

TEST_F(DriveMapTest, ReadsTheDriveLettersOfThePrefix) {
    ASSERT_EQ(map.drives().size(), 3u);
    EXPECT_EQ(map.drives()[0].letter, 'C');
    EXPECT_EQ(map.drives()[0].root, dir / "drive_c");
    EXPECT_TRUE(map.drives()[0].present);
    EXPECT_EQ(map.drives()[1].letter, 'E');
    EXPECT_FALSE(map.drives()[1].present);
    EXPECT_EQ(map.drives()[2].label(), "Z:\\");
    EXPECT_EQ(map.drives()[2].root, "/");
    EXPECT_EQ(map.drive('c'), &map.drives()[0]);
    EXPECT_EQ(map.drive('D'), nullptr);
    EXPECT_TRUE(DriveMap::fromPrefix(dir / "no-prefix").drives().empty());
}

TEST_F(DriveMapTest, MatchesEachComponentIgnoringCase) {
    EXPECT_EQ(map.toLocalPath("C:\\Program Files (x86)\\Scrivel\\"),
              local("drive_c/Program Files (x86)/Scrivel/"));
    EXPECT_EQ(map.toLocalPath("c:\\PROGRAM FILES (X86)\\scrivel"),
              local("drive_c/Program Files (x86)/Scrivel"));
    EXPECT_EQ(map.toLocalPath("C:/users/DEMO/documents/"), local("drive_c/users/demo/Documents/"));
    // What does not exist is kept as written.
    EXPECT_EQ(map.toLocalPath("C:\\Users\\Demo\\Missing\\Deeper\\"),
              local("drive_c/users/demo/Missing/Deeper/"));
    EXPECT_EQ(map.toLocalPath("C:\\users\\demo\\..\\demo\\.\\Documents"),
              local("drive_c/users/demo/Documents"));
    EXPECT_EQ(map.toLocalPath("C:\\"), local("drive_c/"));
    EXPECT_EQ(map.toLocalPath("C:"), local("drive_c/"));
    EXPECT_EQ(map.toLocalPath("Z:\\tmp\\"), "/tmp/");
}

TEST_F(DriveMapTest, OtherPathForms) {
    EXPECT_EQ(map.toLocalPath("Q:\\Scrivel\\"), std::nullopt);
    EXPECT_EQ(map.toLocalPath("\\\\server\\share\\Scrivel"), std::nullopt);
    EXPECT_EQ(map.toLocalPath(""), "");
    EXPECT_EQ(map.toLocalPath("/opt/scrivel/"), "/opt/scrivel/");
    EXPECT_EQ(map.toLocalPath("Scrivel\\"), "Scrivel/");
}

TEST_F(DriveMapTest, WindowsPathOfALocalFolderUsesTheDeepestDrive) {
    EXPECT_EQ(map.toWindowsPath(local("drive_c/Program Files (x86)/Scrivel/")),
              "C:\\Program Files (x86)\\Scrivel\\");
    EXPECT_EQ(map.toWindowsPath(local("drive_c")), "C:\\");
    EXPECT_EQ(map.toWindowsPath("/usr/share"), "Z:\\usr\\share");
    DriveMap cOnly;
    cOnly.addDrive('c', dir / "drive_c");
    EXPECT_EQ(cOnly.toWindowsPath("/usr/share"), std::nullopt);
}

// Titles name a folder as Windows programs do when a drive holds it; a folder
// outside every drive keeps its local path, spelling and all.
TEST_F(DriveMapTest, DisplayPathIsTheWindowsFormUnderADriveAndTheLocalPathElsewhere) {
    DriveMap cOnly;
    cOnly.addDrive('c', dir / "drive_c");
    const struct {
        const DriveMap* drives;
        std::string local;
        std::string shown;
    } cases[] = {
        {&cOnly, local("drive_c/Program Files (x86)/Scrivel/"),
         "C:\\Program Files (x86)\\Scrivel\\"},
        {&cOnly, local("drive_c/"), "C:\\"},
        {&cOnly, "/home/Ann/Scrivel/", "/home/Ann/Scrivel/"},
        {&map, "/home/Ann/Scrivel/", "Z:\\home\\Ann\\Scrivel\\"},
        {&cOnly, "C:\\Scrivel\\", "C:\\Scrivel\\"},  // already the Windows form
        {&cOnly, "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.drives->displayPath(c.local), c.shown) << c.local;
}

TEST(FindEntryNoCaseTest, PrefersTheExactName) {
    test::TempDir dir;
    fs::create_directory(dir / "Scrivel");
    fs::create_directory(dir / "scrivel");
    EXPECT_EQ(findEntryNoCase(dir.path(), "scrivel"), "scrivel");
    EXPECT_EQ(findEntryNoCase(dir.path(), "Scrivel"), "Scrivel");
    EXPECT_TRUE(findEntryNoCase(dir.path(), "SCRIVEL").has_value());
    EXPECT_EQ(findEntryNoCase(dir.path(), "other"), std::nullopt);
    EXPECT_EQ(findEntryNoCase(dir / "missing", "x"), std::nullopt);
}

}  // namespace
}  // namespace modshelf::host
