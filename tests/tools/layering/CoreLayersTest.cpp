#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "IncludeLayers.h"

using modshelf::test::coreIncludeFaults;
using modshelf::test::includedHeaders;
using modshelf::test::includeFault;
using modshelf::test::kCoreLayers;

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace

TEST(CoreLayers, IncludeLinesAreReadInBothForms) {
    const std::string source =
        "#include \"core/app/AppState.h\"\n"
        "  #  include <QString>\n"
        "#include<vector>\n"
        "// #include \"core/gone/Commented.h\"\n"
        "#define include \"not/an/include.h\"\n"
        "#pragma once\n"
        "#include \"core/host/Unclosed.h";
    EXPECT_EQ(includedHeaders(source),
              (std::vector<std::string>{"core/app/AppState.h", "QString", "vector"}));
}

TEST(CoreLayers, AFolderReachesOnlyItselfAndTheFoldersBelowIt) {
    struct Case {
        std::string folder, header;
        bool allowed;
    };
    const std::vector<Case> cases = {
        {"app", "core/reports/ListExport.h", true},
        {"app", "core/text/AsciiText.h", true},
        {"settings", "core/settings/SettingsStore.h", true},
        {"settings", "core/dialogs/Prompter.h", true},
        {"modules", "core/host/HostInterface.h", true},
        {"settings", "core/app/AppState.h", false},
        {"host", "core/app/AppState.h", false},
        {"reports", "core/app/CommandIds.h", false},
        {"dialogs", "core/settings/SettingsStore.h", false},
        {"host", "core/modules/ModuleKind.h", false},
        {"text", "core/tree/NodeKinds.h", false},
        {"app", "core/newfolder/Thing.h", false},
        {"newfolder", "core/text/AsciiText.h", false},
        {"app", "core/Loose.h", false},
        {"modules", "platform/linux/AtomicFile.h", false},
        {"modules", "platform/Platform.h", false},
        {"app", "gui/CMainFrame.h", false},
        {"app", "QString", false},
        {"app", "QtCore/QObject", false},
        {"app", "sqlite3.h", true},
        {"modules", "dirent.h", false},
        {"host", "sys/stat.h", false},
        {"modules", "unistd.h", false},
        {"host", "X11/Xlib.h", false},
        {"host", "filesystem", true},
        {"app", "queue", true},
        {"app", "vector", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(includeFault(c.folder, c.header).empty(), c.allowed)
            << c.folder << " including " << c.header << ": " << includeFault(c.folder, c.header);
}

TEST(CoreLayers, EveryCoreFolderHasItsPlace) {
    const std::filesystem::path core = std::filesystem::path(MODSHELF_SOURCE_DIR) / "src" / "core";
    std::vector<std::string> unplaced;
    for (const auto& entry : std::filesystem::directory_iterator(core)) {
        if (!entry.is_directory()) continue;
        const std::string name = entry.path().filename().string();
        if (std::find(kCoreLayers.begin(), kCoreLayers.end(), name) == kCoreLayers.end())
            unplaced.push_back(name);
    }
    EXPECT_TRUE(unplaced.empty()) << joined(unplaced);
}

TEST(CoreLayers, NoCoreSourceIncludesAFolderAboveIt) {
    int filesSeen = 0;
    const std::vector<std::string> faults =
        coreIncludeFaults(std::filesystem::path(MODSHELF_SOURCE_DIR) / "src" / "core", filesSeen);
    EXPECT_GT(filesSeen, 100) << "the scan must see core's sources";
    EXPECT_TRUE(faults.empty()) << joined(faults);
}
