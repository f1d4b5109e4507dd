// The drive map and the folder search over folders held in memory: Wine's
// dosdevices links and names that differ only in case, which real folders
// give only with effort (and not at all on a case-insensitive file system).

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/host/DriveMap.h"
#include "core/host/FolderAccess.h"
#include "core/host/HostFolders.h"

namespace modshelf::host {
namespace {

class MemoryFolderAccess : public FolderAccess {
public:
    enum class Kind { Folder, File, Link };
    struct Entry {
        Kind kind = Kind::Folder;
        std::string target;  // links only
    };

    // Adds an entry and the folders above it; folders list in the order added.
    void add(const std::string& path) { add(path, Entry{}); }
    void add(const std::string& path, Entry entry) {
        const std::size_t slash = path.rfind('/');
        if (slash != std::string::npos && slash > 0) {
            const std::string parent = path.substr(0, slash);
            if (!entries_.count(parent)) add(parent);
            order_[parent].push_back(path.substr(slash + 1));
        }
        entries_[path] = std::move(entry);
    }
    void link(const std::string& path, const std::string& target) {
        add(path, {Kind::Link, target});
    }
    void unreadable(const std::string& folder) { unreadable_.push_back(folder); }

    std::optional<std::vector<std::string>> entryNames(const std::string& folder) const override {
        const std::string path = trimmed(folder);
        for (const std::string& closed : unreadable_)
            if (closed == path) return std::nullopt;
        if (!isFolder(path)) return std::nullopt;
        const auto found = order_.find(resolved(path));
        return found == order_.end() ? std::vector<std::string>{} : found->second;
    }
    bool entryExists(const std::string& path) const override {
        return entries_.count(trimmed(path)) != 0;
    }
    bool isFolder(const std::string& path) const override {
        const auto found = entries_.find(resolved(trimmed(path)));
        return found != entries_.end() && found->second.kind == Kind::Folder;
    }
    std::optional<std::string> linkTarget(const std::string& path) const override {
        const auto found = entries_.find(trimmed(path));
        if (found == entries_.end() || found->second.kind != Kind::Link) return std::nullopt;
        return found->second.target;
    }

private:
    static std::string trimmed(std::string path) {
        while (path.size() > 1 && path.back() == '/') path.pop_back();
        return path;
    }
    // Follows an absolute link standing for the whole path (enough here).
    std::string resolved(const std::string& path) const {
        const auto found = entries_.find(path);
        if (found != entries_.end() && found->second.kind == Kind::Link &&
            found->second.target.front() == '/')
            return found->second.target;
        return path;
    }

    std::map<std::string, Entry> entries_;
    std::map<std::string, std::vector<std::string>> order_;
    std::vector<std::string> unreadable_;
};

class DriveMapMemoryTest : public ::testing::Test {
protected:
    void SetUp() override { previous_ = installFolderAccess(access_); }
    void TearDown() override { installFolderAccess(previous_); }

    MemoryFolderAccess& access() { return *access_; }

private:
    std::shared_ptr<MemoryFolderAccess> access_ = std::make_shared<MemoryFolderAccess>();
    std::shared_ptr<const FolderAccess> previous_;
};

TEST_F(DriveMapMemoryTest, OnlyDriveLinksAndDriveFoldersBecomeDrives) {
    access().add("/p/drive_c");
    access().add("/media/usb");
    access().add("/p/dosdevices");
    access().link("/p/dosdevices/c:", "../drive_c");
    access().link("/p/dosdevices/u:", "/media/usb");
    access().link("/p/dosdevices/e:", "/nonexistent-cdrom");
    access().link("/p/dosdevices/d::", "/dev/sr0");  // the raw device
    access().link("/p/dosdevices/com1", "/dev/ttyS0");
    access().add("/p/dosdevices/f:");  // a folder standing for the drive
    access().add("/p/dosdevices/g:", {MemoryFolderAccess::Kind::File, ""});
    access().link("/p/dosdevices/1:", "/tmp");

    const DriveMap map = DriveMap::fromPrefix("/p");
    struct Expected {
        char letter;
        std::string root;
        bool present;
    };
    const std::vector<Expected> expected = {
        {'C', "/p/drive_c", true},
        {'E', "/nonexistent-cdrom", false},
        {'F', "/p/dosdevices/f:", true},
        {'U', "/media/usb", true},
    };
    ASSERT_EQ(map.drives().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(map.drives()[i].letter, expected[i].letter);
        EXPECT_EQ(map.drives()[i].root, expected[i].root) << expected[i].letter;
        EXPECT_EQ(map.drives()[i].present, expected[i].present) << expected[i].letter;
    }
}

TEST_F(DriveMapMemoryTest, EachComponentIsFoundIgnoringCaseAnExactNameFirst) {
    access().add("/p/drive_c/Program Files (x86)/Scrivel");
    access().add("/p/drive_c/Program Files (x86)/scrivel");
    access().add("/p/drive_c/users/Demo/Documents");
    access().add("/p/drive_c/windows");
    access().unreadable("/p/drive_c/windows");
    DriveMap map;
    map.addDrive('c', "/p/drive_c");
    struct Case {
        std::string windows, local;
    };
    const std::vector<Case> cases = {
        {"C:\\program files (x86)\\scrivel\\", "/p/drive_c/Program Files (x86)/scrivel/"},
        {"C:\\PROGRAM FILES (X86)\\Scrivel", "/p/drive_c/Program Files (x86)/Scrivel"},
        {"C:\\Program Files (x86)\\SCRIVEL", "/p/drive_c/Program Files (x86)/Scrivel"},
        {"c:\\USERS\\demo\\documents\\", "/p/drive_c/users/Demo/Documents/"},
        // A folder that cannot be read keeps the rest as written.
        {"C:\\Windows\\System32", "/p/drive_c/windows/System32"},
        {"C:\\missing\\Deeper", "/p/drive_c/missing/Deeper"},
    };
    for (const Case& c : cases) EXPECT_EQ(map.toLocalPath(c.windows), c.local) << c.windows;
}

TEST_F(DriveMapMemoryTest, AFolderSearchMatchesTheNamesOfAReadableFolder) {
    access().add("/p/Scrivel/KJV.BBLX", {MemoryFolderAccess::Kind::File, ""});
    access().add("/p/Scrivel/readme.txt", {MemoryFolderAccess::Kind::File, ""});
    access().add("/p/Closed");
    access().unreadable("/p/Closed");
    EXPECT_TRUE(folderHasMatch("/p/Scrivel/", "*.bblx"));
    EXPECT_FALSE(folderHasMatch("/p/Scrivel/", "*.not"));
    EXPECT_FALSE(folderHasMatch("/p/Closed/", "*"));
    EXPECT_FALSE(folderHasMatch("/p/Nowhere/", "*"));
}

TEST(FolderAccessInstall, UsingItWithoutOneFailsLoudly) {
    const std::shared_ptr<const FolderAccess> previous = installFolderAccess(nullptr);
    EXPECT_THROW(folderAccess(), std::logic_error);
    EXPECT_THROW(DriveMap::fromPrefix("/p"), std::logic_error);
    installFolderAccess(previous);
    EXPECT_NO_THROW(folderAccess());
}

}  // namespace
}  // namespace modshelf::host
