#include "core/modules/FolderLister.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/modules/DetailsCache.h"
#include "core/modules/ModuleScan.h"

namespace modshelf::modules {
namespace {

// Folders held in memory: what a real folder cannot easily give a test, such
// as a file that Wine marks hidden on a file system without user attributes.
class MemoryFolderLister : public FolderLister {
public:
    static constexpr std::int64_t kListedAtNs = 1'000'000'000'000'000'000;

    struct File {
        std::string name;
        std::uint64_t size = 0;
        bool hidden = false;
    };

    void add(const std::string& folder, const std::vector<File>& files) {
        folders_[folder] = files;
    }

    FolderListing listFiles(const std::string& folder, bool readHidden,
                            std::size_t /*expectedFiles*/) const override {
        ++listings;
        FolderListing listing;
        const auto found = folders_.find(folder);
        if (found == folders_.end()) return listing;
        listing.readable = true;
        listing.listedAtNs = kListedAtNs;  // long after every file's time
        std::uint64_t inode = 1;
        for (const File& file : found->second) {
            FileStamp stamp;
            stamp.size = file.size;
            stamp.inode = inode++;
            listing.addFile(file.name, stamp, 0, readHidden && file.hidden);
        }
        return listing;
    }

    bool hiddenByWine(const std::string& path) const override {
        hiddenAsked.insert(path);
        for (const auto& [folder, files] : folders_)
            for (const File& file : files)
                if (folder + file.name == path) return file.hidden;
        return false;
    }

    mutable int listings = 0;
    mutable std::set<std::string> hiddenAsked;

private:
    std::map<std::string, std::vector<File>> folders_;
};

// Installs a lister for one test and puts the previous one back.
class ListerFixture : public ::testing::Test {
protected:
    void SetUp() override { previous_ = installFolderLister(lister_); }
    void TearDown() override { installFolderLister(previous_); }

    std::shared_ptr<MemoryFolderLister> lister_ = std::make_shared<MemoryFolderLister>();

private:
    std::shared_ptr<const FolderLister> previous_;
};

std::vector<std::string> names(const ScanResult& result) {
    std::vector<std::string> listed;
    for (const ModuleRow& row : result.rows) listed.push_back(row.record.fileName);
    return listed;
}

using FolderListerTest = ListerFixture;

TEST_F(FolderListerTest, TheScanListsOnceAndLeavesOutWhatWineHides) {
    lister_->add(
        "/virtual/",
        {{"notes.txt", 10}, {"Secret.txt", 20, true}, {"readme.txt", 30}, {"kjv.bblx-wal", 0}});
    const ScanResult result = scanFolder("/virtual", TypeFilter(), CheckRule());
    EXPECT_TRUE(result.folderReadable);
    EXPECT_EQ(names(result), (std::vector<std::string>{"kjv.bblx-wal", "notes.txt", "readme.txt"}));
    EXPECT_EQ(lister_->listings, 1) << "one call lists the whole folder";
    EXPECT_EQ(lister_->hiddenAsked.count("/virtual/Secret.txt"), 1u);
}

TEST_F(FolderListerTest, AFolderTheListerCannotReadGivesNoRows) {
    const ScanResult result = scanFolder("/gone/", TypeFilter(), CheckRule());
    EXPECT_FALSE(result.folderReadable);
    EXPECT_TRUE(result.rows.empty());
}

TEST_F(FolderListerTest, AnUnchangedFileIsNotAskedAgainWhetherItIsHidden) {
    lister_->add("/virtual/", {{"a.txt", 1}, {"b.txt", 2, true}});
    DetailsCache cache;
    ScanOptions options;
    options.cache = &cache;
    options.settleNs = 0;
    EXPECT_EQ(names(scanFolder("/virtual/", TypeFilter(), CheckRule(), options)),
              (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(lister_->hiddenAsked.size(), 2u);
    lister_->hiddenAsked.clear();
    lister_->add("/virtual/", {{"a.txt", 1}, {"b.txt", 2, true}, {"c.txt", 3}});
    EXPECT_EQ(names(scanFolder("/virtual/", TypeFilter(), CheckRule(), options)),
              (std::vector<std::string>{"a.txt", "c.txt"}));
    EXPECT_EQ(lister_->hiddenAsked, (std::set<std::string>{"/virtual/c.txt"}))
        << "only the new file is asked";
}

TEST(FolderListing, AddedFilesKeepTheirNamesAndSideFiles) {
    FolderListing listing;
    listing.readable = true;
    struct Case {
        std::string name;
        bool side;
    };
    const std::vector<Case> cases = {{"kjv.bblx", false},    {"kjv.bblx-wal", true},
                                     {"kjv.bblx-shm", true}, {"web.bblx-journal", true},
                                     {"wal.bblx", false},    {"x-walrus", false}};
    for (const Case& c : cases) listing.addFile(c.name, {}, 0, false);
    ASSERT_EQ(listing.files.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(listing.name(listing.files[i]), cases[i].name);
        EXPECT_EQ(std::string(listing.cName(listing.files[i])), cases[i].name);
        EXPECT_EQ(listing.hasSideFile(cases[i].name), cases[i].side) << cases[i].name;
    }
}

TEST(FolderListerInstall, ScanningWithoutAListerFailsLoudly) {
    const std::shared_ptr<const FolderLister> previous = installFolderLister(nullptr);
    EXPECT_THROW(folderLister(), std::logic_error);
    installFolderLister(previous);
    EXPECT_NO_THROW(folderLister());
}

}  // namespace
}  // namespace modshelf::modules
