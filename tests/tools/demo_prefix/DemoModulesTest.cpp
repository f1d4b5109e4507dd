#include "DemoModules.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <set>

#include "DetailsProbe.h"
#include "core/modules/ModuleDetails.h"
#include "core/modules/ModuleKind.h"
#include "support/TempDir.h"

namespace modshelf::demo {
namespace {

using modules::ModuleKind;
using probe::readDetailsRow;

std::int64_t modificationTime(const std::filesystem::path& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return -1;
    return info.st_mtim.tv_sec;
}

std::map<ModuleKind, int> kindCounts(const std::vector<DemoFile>& files) {
    std::map<ModuleKind, int> counts;
    for (const DemoFile& file : files) ++counts[modules::classify(file.fileName())];
    return counts;
}

TEST(DemoModulePlan, DefaultFolderHoldsEveryKindAndTheAwkwardFiles) {
    const auto files = planDemoModules({});
    const auto counts = kindCounts(files);
    for (const auto& row : modules::moduleKindTable()) {
        EXPECT_GT(counts.count(row.kind) ? counts.at(row.kind) : 0, 0) << row.extension;
    }
    // Bibles, commentaries and dictionaries make up the larger share.
    EXPECT_GT(counts.at(ModuleKind::Bible), counts.at(ModuleKind::Overlay));

    bool hidden = false, text = false, brace = false, upperCase = false, subfolder = false;
    for (const DemoFile& file : files) {
        hidden = hidden || file.isHidden();
        text = text || (file.form == FileForm::Text && file.fileName() == "readme.txt");
        brace = brace || file.fileName().find(".{") != std::string::npos;
        upperCase = upperCase || file.fileName().ends_with(".BBLX");
        subfolder = subfolder || file.relativePath.find('/') != std::string::npos;
    }
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(text);
    EXPECT_TRUE(brace);
    EXPECT_TRUE(upperCase);
    EXPECT_TRUE(subfolder);
}

TEST(DemoModulePlan, CountsAndKindsFollowTheOptions) {
    DemoModuleOptions options;
    options.count = 500;
    options.specialFiles = false;
    options.detailBearingOnly = true;
    const auto files = planDemoModules(options);
    ASSERT_EQ(files.size(), 500u);
    std::set<std::string> names;
    std::map<std::string, std::set<std::string>> tabsByExtension;
    for (const DemoFile& file : files) {
        EXPECT_TRUE(modules::readsDetails(modules::classify(file.fileName()))) << file.relativePath;
        EXPECT_TRUE(names.insert(file.relativePath).second) << "repeated " << file.relativePath;
        ASSERT_TRUE(file.tabName.has_value());
        // The tab name is a module's identity in the activation keys.
        EXPECT_TRUE(tabsByExtension[file.extension].insert(*file.tabName).second)
            << "repeated tab name " << *file.tabName;
    }
    EXPECT_EQ(tabsByExtension.size(), 6u);

    options.count = 0;
    EXPECT_TRUE(planDemoModules(options).empty());
    options.count = 3;
    options.detailBearingOnly = false;
    const auto few = planDemoModules(options);
    ASSERT_EQ(few.size(), 3u);
    EXPECT_EQ(modules::classify(few[0].fileName()), ModuleKind::Bible);
    EXPECT_EQ(modules::classify(few[1].fileName()), ModuleKind::Commentary);
}

TEST(DemoModulePlan, TimesAreFixedAndDistinct) {
    const auto first = planDemoModules({});
    const auto second = planDemoModules({});
    ASSERT_EQ(first.size(), second.size());
    std::set<std::int64_t> times;
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].relativePath, second[i].relativePath);
        EXPECT_EQ(first[i].modified, second[i].modified);
        EXPECT_EQ(first[i].comments, second[i].comments);
        times.insert(first[i].modified);
    }
    EXPECT_EQ(times.size(), first.size());
}

TEST(DemoModulePlan, CommentsLookLikeAWordProcessorsRtf) {
    const auto files = planDemoModules({});
    int withTables = 0, withHexEscapes = 0, plainText = 0;
    std::size_t longest = 0;
    for (const DemoFile& file : files) {
        if (!file.comments) continue;
        const std::string& text = *file.comments;
        if (text.find("{\\fonttbl") != std::string::npos &&
            text.find("{\\colortbl") != std::string::npos &&
            text.find("\\par") != std::string::npos) {
            ++withTables;
        }
        if (text.find("\\'e9") != std::string::npos) ++withHexEscapes;
        if (!text.empty() && text.front() != '{' && text != "-1") ++plainText;
        longest = std::max(longest, text.size());
    }
    EXPECT_GT(withTables, 5);
    EXPECT_GT(withHexEscapes, 5);
    EXPECT_GT(plainText, 0);
    EXPECT_GT(longest, 10000u);
}

class WrittenDemoFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new modshelf::test::TempDir;
        files_ = new std::vector<DemoFile>(writeDemoModules(folder_->path(), {}));
    }
    static void TearDownTestSuite() {
        delete files_;
        delete folder_;
    }
    static const std::filesystem::path& folder() { return folder_->path(); }
    static const std::vector<DemoFile>& files() { return *files_; }

private:
    static modshelf::test::TempDir* folder_;
    static std::vector<DemoFile>* files_;
};
modshelf::test::TempDir* WrittenDemoFolder::folder_ = nullptr;
std::vector<DemoFile>* WrittenDemoFolder::files_ = nullptr;

TEST_F(WrittenDemoFolder, OrdinaryModulesGiveTheirDetailsToAReadOnlyConnection) {
    const auto before = probe::listTree(folder());
    int checked = 0;
    for (const DemoFile& file : files()) {
        if (file.form != FileForm::Module || file.details != DetailsShape::Standard) continue;
        const auto row = readDetailsRow(folder() / file.relativePath);
        ASSERT_TRUE(row.hasRow) << file.relativePath;
        ASSERT_GE(row.columns.size(), 3u);
        EXPECT_EQ(row.columns[0], file.description) << file.relativePath;
        EXPECT_EQ(row.columns[1], file.tabName) << file.relativePath;
        EXPECT_EQ(row.columns[2], file.comments) << file.relativePath;
        ++checked;
    }
    EXPECT_GT(checked, 60);
    // Reading left nothing behind: no journal, -wal or -shm file.
    EXPECT_EQ(probe::listTree(folder()), before);
}

TEST_F(WrittenDemoFolder, AwkwardFilesAreWhatTheyClaimToBe) {
    EXPECT_FALSE(readDetailsRow(folder() / "Damaged Lexicon.dctx").opened);
    EXPECT_EQ(std::filesystem::file_size(folder() / "Damaged Lexicon.dctx"), 1024u);
    EXPECT_EQ(std::filesystem::file_size(folder() / "Download Incomplete.cmtx"), 0u);
    EXPECT_FALSE(readDetailsRow(folder() / "Sermon Outlines.cmtx").opened);

    const auto emptyTable = readDetailsRow(folder() / "Blank Atlas.mapx");
    EXPECT_TRUE(emptyTable.opened);
    EXPECT_FALSE(emptyTable.hasRow);

    const auto twoColumns = readDetailsRow(folder() / "Pocket Gospels.bblx");
    ASSERT_TRUE(twoColumns.hasRow);
    EXPECT_EQ(twoColumns.columns.size(), 2u);

    const auto minusOne = readDetailsRow(folder() / "Unnamed Draft.bblx");
    ASSERT_TRUE(minusOne.hasRow);
    EXPECT_EQ(minusOne.columns[0], "-1");
    EXPECT_EQ(minusOne.columns[1], "-1");
    const auto nullComments = readDetailsRow(folder() / "Notes Without Title.cmtx");
    ASSERT_TRUE(nullComments.hasRow);
    EXPECT_FALSE(nullComments.columns[2].has_value());

    const std::string readme = modshelf::test::readFile(folder() / "readme.txt");
    EXPECT_NE(readme.find("\r\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder() / ".Hidden Psalter.bblx"));
    EXPECT_TRUE(readDetailsRow(folder() / "Archive" / "Old Commentary.cmtx").hasRow);
    EXPECT_EQ(modules::classify("OLD SCOTS PSALTER.BBLX"), ModuleKind::Bible);
    EXPECT_TRUE(readDetailsRow(folder() / "OLD SCOTS PSALTER.BBLX").hasRow);
}

// The program's own reader sees what was planned, including the empty-field
// rules, for every file of the folder.
TEST_F(WrittenDemoFolder, TheModuleReaderSeesThePlannedDetails) {
    auto expected = [](const std::optional<std::string>& field) {
        return !field || *field == "-1" ? std::string() : *field;
    };
    for (const DemoFile& file : files()) {
        const auto details = modules::readModuleDetails((folder() / file.relativePath).string());
        const bool readable =
            (file.form == FileForm::Module || file.form == FileForm::WalModule) &&
            (file.details == DetailsShape::Standard || file.details == DetailsShape::TwoColumns);
        if (!readable) {
            EXPECT_EQ(details, modules::ModuleDetails{}) << file.relativePath;
            continue;
        }
        EXPECT_EQ(details.description, expected(file.description)) << file.relativePath;
        EXPECT_EQ(details.tabName, expected(file.tabName)) << file.relativePath;
        EXPECT_EQ(details.comments, expected(file.comments)) << file.relativePath;
    }
}

TEST_F(WrittenDemoFolder, WalModuleStaysInWalModeWithoutSideFiles) {
    const auto path = folder() / "Evening Psalms.devx";
    const std::string bytes = modshelf::test::readFile(path);
    ASSERT_GT(bytes.size(), 20u);
    EXPECT_EQ(bytes[18], 2);  // write and read versions 2: WAL
    EXPECT_EQ(bytes[19], 2);
    EXPECT_FALSE(std::filesystem::exists(folder() / "Evening Psalms.devx-wal"));
    EXPECT_FALSE(std::filesystem::exists(folder() / "Evening Psalms.devx-shm"));
    const auto row = readDetailsRow(path, true);
    ASSERT_TRUE(row.hasRow);
    EXPECT_EQ(row.columns[1], "EVP");
}

TEST_F(WrittenDemoFolder, FilesCarryTheirPlannedTimes) {
    for (const DemoFile& file : files()) {
        EXPECT_EQ(modificationTime(folder() / file.relativePath), file.modified)
            << file.relativePath;
    }
    EXPECT_EQ(modificationTime(folder() / "Archive"), files().back().modified);
    EXPECT_EQ(modificationTime(folder()), files().back().modified);
}

TEST_F(WrittenDemoFolder, RewritingReplacesFilesAndGivesTheSameBytes) {
    modshelf::test::TempDir other;
    const auto again = writeDemoModules(other.path(), {});
    ASSERT_EQ(again.size(), files().size());
    for (const DemoFile& file : files()) {
        EXPECT_EQ(modshelf::test::readFile(other.path() / file.relativePath),
                  modshelf::test::readFile(folder() / file.relativePath))
            << file.relativePath;
    }
    // Writing over an existing folder replaces each file rather than failing.
    modshelf::test::writeFile(other.path() / "KJV.bblx", "not a database");
    writeDemoModules(other.path(), {});
    EXPECT_EQ(modshelf::test::readFile(other.path() / "KJV.bblx"),
              modshelf::test::readFile(folder() / "KJV.bblx"));
}

TEST(DemoModuleBenchmarkFolder, TenThousandDetailBearingModules) {
    modshelf::test::TempDir folder;
    const auto files = writeDemoModules(folder.path(), benchmarkModuleOptions());
    ASSERT_EQ(files.size(), static_cast<std::size_t>(kBenchmarkModuleCount));

    std::size_t onDisk = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ASSERT_TRUE(entry.is_regular_file());
        EXPECT_TRUE(modules::readsDetails(modules::classify(entry.path().filename().string())));
        ++onDisk;
    }
    EXPECT_EQ(onDisk, files.size());
    // A sample across the folder is readable and matches the plan.
    for (std::size_t i = 0; i < files.size(); i += 997) {
        const auto row = readDetailsRow(folder.path() / files[i].relativePath);
        ASSERT_TRUE(row.hasRow) << files[i].relativePath;
        EXPECT_EQ(row.columns[1], files[i].tabName);
    }
}

}  // namespace
}  // namespace modshelf::demo
