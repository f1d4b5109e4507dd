#include "DemoModules.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string_view>

#include "DemoCatalogue.h"
#include "DemoRtf.h"
#include "FileTimes.h"
#include "ModuleFileWriter.h"
#include "core/modules/ModuleKind.h"

namespace modshelf::demo {

namespace {

using modules::ModuleKind;

std::string_view extensionOf(ModuleKind kind) {
    return modules::extension(kind);
}

// After one module of each kind, the kinds follow this cycle, which gives
// Bibles, commentaries and dictionaries the larger share, as in a real folder.
constexpr ModuleKind kAllKindsCycle[] = {
    ModuleKind::Bible,       ModuleKind::Commentary, ModuleKind::Dictionary,
    ModuleKind::Bible,       ModuleKind::Commentary, ModuleKind::Dictionary,
    ModuleKind::Bible,       ModuleKind::Devotional, ModuleKind::Dictionary,
    ModuleKind::Commentary,  ModuleKind::Bible,      ModuleKind::Reference,
    ModuleKind::Topical,     ModuleKind::Graphics,   ModuleKind::Harmony,
    ModuleKind::ReadingPlan, ModuleKind::VerseList,  ModuleKind::Bible,
    ModuleKind::Commentary,  ModuleKind::Dictionary, ModuleKind::Illustrations,
    ModuleKind::MemoryVerse, ModuleKind::Overlay,    ModuleKind::VerseAnalysis,
    ModuleKind::PrayerList,  ModuleKind::Notes,      ModuleKind::Journal,
};
constexpr ModuleKind kDetailKindsCycle[] = {
    ModuleKind::Bible,      ModuleKind::Commentary, ModuleKind::Dictionary,
    ModuleKind::Bible,      ModuleKind::Commentary, ModuleKind::Dictionary,
    ModuleKind::Devotional, ModuleKind::Graphics,   ModuleKind::Harmony,
};

std::vector<ModuleKind> firstRound(bool detailBearingOnly) {
    std::vector<ModuleKind> kinds;
    for (const auto& row : modules::moduleKindTable()) {
        if (!detailBearingOnly || row.readsDetails) kinds.push_back(row.kind);
    }
    return kinds;
}

// Irregular but fixed gaps between file times: from seven hours to about four days.
std::int64_t gapAfter(int index) {
    return 3600LL * (7 + (index * 37) % 90);
}

DemoFile ordinaryModule(ModuleKind kind, int indexOfKind, int index) {
    const std::string extension(extensionOf(kind));
    NumberedTitle title = numberedTitle(extension, indexOfKind);
    DemoFile file;
    file.relativePath = title.fileStem + extension;
    file.extension = extension;
    file.comments = sampleComments(title.tabName, title.description, index);
    file.description = std::move(title.description);
    file.tabName = std::move(title.tabName);
    return file;
}

DemoFile special(std::string relativePath, std::string_view extension,
                 std::optional<std::string> description, std::optional<std::string> tabName,
                 std::optional<std::string> comments) {
    DemoFile file;
    file.relativePath = std::move(relativePath);
    file.extension = std::string(extension);
    file.description = std::move(description);
    file.tabName = std::move(tabName);
    file.comments = std::move(comments);
    return file;
}

std::vector<DemoFile> specialFiles() {
    const auto bible = extensionOf(ModuleKind::Bible);
    const auto commentary = extensionOf(ModuleKind::Commentary);
    const auto dictionary = extensionOf(ModuleKind::Dictionary);
    const auto devotional = extensionOf(ModuleKind::Devotional);
    std::vector<DemoFile> files;

    files.push_back(special(".Hidden Psalter.bblx", bible, "Psalter kept out of sight", "HPS",
                            sampleComments("HPS", "Psalter kept out of sight", 2)));

    DemoFile damaged = special("Damaged Lexicon.dctx", dictionary, "Damaged lexicon", "DLX", "");
    damaged.form = FileForm::Damaged;
    files.push_back(damaged);

    DemoFile empty = special("Download Incomplete.cmtx", commentary, {}, {}, {});
    empty.form = FileForm::ZeroLength;
    files.push_back(empty);

    DemoFile readme = special("readme.txt", "", {}, {}, {});
    readme.form = FileForm::Text;
    readme.text =
        "Scrivel modules\r\n"
        "===============\r\n\r\n"
        "Copy module files (.bblx, .cmtx, .dctx and the others) into this folder and\r\n"
        "restart Scrivel. Modules in subfolders are not read.\r\n";
    files.push_back(readme);

    files.push_back(special("Harmony.{Four Gospels in parallel columns}.harx",
                            extensionOf(ModuleKind::Harmony),
                            "The four Gospels side by side, with a table of events", "4GP",
                            sampleComments("4GP", "The four Gospels side by side", 1)));

    files.push_back(special("Unnamed Draft.bblx", bible, "-1", "-1", "-1"));
    files.push_back(special("Notes Without Title.cmtx", commentary, "-1", "QNT", std::nullopt));
    files.push_back(special("Padded Fields.dctx", dictionary, " -1", "PAD", "-1 "));
    files.push_back(special("OLD SCOTS PSALTER.BBLX", bible, "The Scottish Psalter (1650)", "OSP",
                            sampleComments("OSP", "The Scottish Psalter (1650)", 0)));

    DemoFile twoColumns =
        special("Pocket Gospels.bblx", bible, "Pocket Gospels: the four Gospels only", "PGO", {});
    twoColumns.details = DetailsShape::TwoColumns;
    files.push_back(twoColumns);

    DemoFile emptyTable =
        special("Blank Atlas.mapx", extensionOf(ModuleKind::Graphics), {}, {}, {});
    emptyTable.details = DetailsShape::EmptyTable;
    files.push_back(emptyTable);

    DemoFile noTable = special("Sermon Outlines.cmtx", commentary, {}, {}, {});
    noTable.details = DetailsShape::NoTable;
    files.push_back(noTable);

    files.push_back(special("Collected Sermons.devx", devotional,
                            "Collected Sermons: fifty-two sermons for the Lord's Day", "CSR",
                            longSampleComments("Collected Sermons for the Lord's Day")));

    DemoFile wal = special("Evening Psalms.devx", devotional, "Evening Psalms: a psalm a night",
                           "EVP", sampleComments("EVP", "Evening Psalms", 3));
    wal.form = FileForm::WalModule;
    files.push_back(wal);

    // A second module with an existing tab name: both share one activation flag.
    files.push_back(special("TSK Second Copy.cmtx", commentary,
                            "Treasury of Scripture Knowledge: a second copy", "TSK",
                            sampleComments("TSK", "Treasury of Scripture Knowledge", 2)));

    files.push_back(special("Archive/Old Commentary.cmtx", commentary,
                            "An old commentary kept in a subfolder", "OLC",
                            sampleComments("OLC", "An old commentary", 0)));
    return files;
}

void removeLeftovers(const std::filesystem::path& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        std::filesystem::path sibling = path;
        sibling += suffix;
        std::error_code ec;
        std::filesystem::remove(sibling, ec);
        if (ec)
            throw std::runtime_error("Cannot replace " + sibling.string() + ": " + ec.message());
    }
}

void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("Cannot write " + path.string());
}

// A module cut off after its first kilobyte: the database header is intact,
// the schema it points to is gone.
void writeDamagedModule(const std::filesystem::path& path, const DemoFile& file) {
    DemoFile whole = file;
    whole.form = FileForm::Module;
    writeModuleDatabase(path, whole);
    if (truncate(path.c_str(), 1024) != 0) {
        throw std::runtime_error("Cannot shorten " + path.string());
    }
}

}  // namespace

std::string DemoFile::fileName() const {
    auto slash = relativePath.rfind('/');
    return slash == std::string::npos ? relativePath : relativePath.substr(slash + 1);
}

std::vector<DemoFile> planDemoModules(const DemoModuleOptions& options) {
    const std::vector<ModuleKind> first = firstRound(options.detailBearingOnly);
    std::span<const ModuleKind> cycle = options.detailBearingOnly
                                            ? std::span<const ModuleKind>(kDetailKindsCycle)
                                            : std::span<const ModuleKind>(kAllKindsCycle);
    std::vector<DemoFile> files;
    files.reserve(static_cast<std::size_t>(std::max(options.count, 0)) + 20);
    int perKind[modules::kModuleKindCount] = {};
    for (int index = 0; index < options.count; ++index) {
        ModuleKind kind =
            index < static_cast<int>(first.size())
                ? first[static_cast<std::size_t>(index)]
                : cycle[static_cast<std::size_t>(index - first.size()) % cycle.size()];
        int& kindIndex = perKind[static_cast<int>(kind)];
        files.push_back(ordinaryModule(kind, kindIndex++, index));
    }
    if (options.specialFiles) {
        for (DemoFile& file : specialFiles()) files.push_back(std::move(file));
    }
    std::int64_t time = options.firstModified;
    for (std::size_t i = 0; i < files.size(); ++i) {
        files[i].modified = time;
        time += gapAfter(static_cast<int>(i));
    }
    return files;
}

std::vector<DemoFile> planUserFiles(std::int64_t firstModified) {
    struct UserFile {
        const char* name;
        ModuleKind kind;
        const char* tabName;
        const char* description;
    };
    static const UserFile kUserFiles[] = {
        {"My Study Notes.notx", ModuleKind::Notes, "MSN", "My study notes"},
        {"Sermon Notes.notx", ModuleKind::Notes, "SRN", "Notes taken during sermons"},
        {"Prayer Journal.jnlx", ModuleKind::Journal, "PJ", "Prayer journal"},
        {"Study Journal 2019.jnlx", ModuleKind::Journal, "SJ19", "Study journal, 2019"},
        {"Family Prayer List.prlx", ModuleKind::PrayerList, "FPL", "Family prayer list"},
        {"Favourite Verses.lstx", ModuleKind::VerseList, "FAV", "Favourite verses"},
        {"Memory Work.memx", ModuleKind::MemoryVerse, "MWK", "Verses being learnt"},
    };
    std::vector<DemoFile> files;
    std::int64_t time = firstModified;
    int index = 0;
    for (const UserFile& entry : kUserFiles) {
        DemoFile file =
            special(entry.name, extensionOf(entry.kind), entry.description, entry.tabName,
                    sampleComments(entry.tabName, entry.description, index));
        file.modified = time;
        time += gapAfter(index++) * 5;
        files.push_back(std::move(file));
    }
    return files;
}

void writeDemoFile(const std::filesystem::path& folder, const DemoFile& file) {
    const std::filesystem::path path = folder / file.relativePath;
    removeLeftovers(path);
    switch (file.form) {
        case FileForm::Module:
        case FileForm::WalModule:
            writeModuleDatabase(path, file);
            break;
        case FileForm::Damaged:
            writeDamagedModule(path, file);
            break;
        case FileForm::ZeroLength:
            writeBytes(path, "");
            break;
        case FileForm::Text:
            writeBytes(path, file.text);
            break;
    }
    setFileTime(path, file.modified);
}

void writeDemoFiles(const std::filesystem::path& folder, const std::vector<DemoFile>& files,
                    std::int64_t folderTime) {
    std::filesystem::create_directories(folder);
    for (const DemoFile& file : files) {
        const std::filesystem::path parent = (folder / file.relativePath).parent_path();
        if (parent != folder) std::filesystem::create_directories(parent);
        writeDemoFile(folder, file);
    }
    setFolderTimes(folder, folderTime);
}

std::vector<DemoFile> writeDemoModules(const std::filesystem::path& folder,
                                       const DemoModuleOptions& options) {
    std::vector<DemoFile> files = planDemoModules(options);
    std::int64_t folderTime = files.empty() ? options.firstModified : files.back().modified;
    writeDemoFiles(folder, files, folderTime);
    return files;
}

}  // namespace modshelf::demo
