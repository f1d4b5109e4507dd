#include <gtest/gtest.h>

#include <filesystem>

#include "core/host/DriveMap.h"
#include "gui/views/DriveKinds.h"
#include "support/TempDir.h"

using namespace modshelf;
using namespace modshelf::gui;
namespace fs = std::filesystem;

TEST(DriveKinds, EachLetterGetsTheKindOfWhatItPointsTo) {
    test::TempDir prefix;
    const fs::path devices = prefix.path() / "dosdevices";
    fs::create_directories(prefix.path() / "drive_c");
    fs::create_directories(devices);
    fs::create_directory_symlink("../drive_c", devices / "c:");
    fs::create_directory_symlink("/", devices / "z:");
    // A CD drive whose disc is out: the mount point is missing, the device
    // link says what it is.
    fs::create_directory_symlink("/media/cdrom-modshelf-test", devices / "d:");
    fs::create_symlink("/dev/sr0", devices / "d::");
    // A stick that is not plugged in, and a link to nowhere in particular.
    fs::create_directory_symlink("/media/usbstick-modshelf-test", devices / "e:");
    fs::create_directory_symlink("/nonexistent-modshelf-test/folder", devices / "f:");

    const host::DriveMap map = host::DriveMap::fromPrefix(prefix.path());
    const std::vector<DriveEntry> drives = treeDrives(map, prefix.path());
    ASSERT_EQ(drives.size(), 5u);
    EXPECT_EQ(drives[0].label, "C:\\");
    EXPECT_EQ(drives[0].kind, DriveKind::Fixed);
    EXPECT_EQ(drives[1].label, "D:\\");
    EXPECT_EQ(drives[1].kind, DriveKind::Optical);
    EXPECT_EQ(drives[2].label, "E:\\");
    EXPECT_EQ(drives[2].kind, DriveKind::Removable);
    EXPECT_EQ(drives[3].label, "F:\\");
    EXPECT_EQ(drives[3].kind, DriveKind::NoRoot);
    EXPECT_EQ(drives[4].label, "Z:\\");
    EXPECT_EQ(drives[4].root, fs::path("/"));
}

TEST(DriveKinds, WithoutAPrefixTheSystemRootsAreListed) {
    test::TempDir nowhere;
    const host::DriveMap empty = host::DriveMap::fromPrefix(nowhere.path());
    const std::vector<DriveEntry> drives = treeDrives(empty, nowhere.path());
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().label, "/");
    EXPECT_EQ(drives.front().root, fs::path("/"));
}
