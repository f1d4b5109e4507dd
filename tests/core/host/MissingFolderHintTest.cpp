#include "core/host/MissingFolderHint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/host/DriveMap.h"

namespace modshelf::host {
namespace {

const std::string kDriveC = "/prefix/drive_c";
const std::string kResources = kDriveC + "/Program Files (x86)/Scrivel/";
const std::string kNotes = kDriveC + "/users/demo/Documents/Scrivel/";

DriveMap driveC() {
    DriveMap drives;
    drives.addDrive('C', kDriveC);
    return drives;
}

HostFolderState foundBoth() {
    HostFolderState state;
    state.resourceFolder = kResources;
    state.userFilesFolder = kNotes;
    return state;
}

HostFolderState resourcesNotFound() {
    HostFolderState state;
    state.resourceFolder = " ";
    state.userFilesFolder = " ";
    state.resourceFolderFound = false;
    state.userFilesFolderFound = false;
    state.resourceFolderSearched = {"D:\\Bibles\\", "C:\\Program Files (x86)\\Scrivel\\"};
    return state;
}

// The parts a hint must hold, separated by '|'.
std::vector<std::string> parts(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t bar = text.find('|', start);
        if (bar == std::string::npos) bar = text.size();
        result.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return result;
}

TEST(MissingFolderHint, NamesWhatIsMissingAndWhere) {
    struct Case {
        const char* name;
        HostFolderState state;
        std::string listed;
        bool readable;
        std::string says;  // empty: no hint at all
    };
    const std::string resourcesShown = "C:\\Program Files (x86)\\Scrivel\\";
    const std::vector<Case> cases = {
        {"everything there", foundBoth(), kResources, true, ""},
        {"an empty folder is no fault", foundBoth(), kDriveC + "/empty/", true, ""},
        {"resource folder deleted since the start", foundBoth(), kResources, false,
         "Scrivel's folder " + resourcesShown + " is missing|F5"},
        {"the listed path without its separator", foundBoth(),
         kResources.substr(0, kResources.size() - 1), false, "Scrivel's folder|is missing"},
        {"notes folder deleted since the start", foundBoth(), kNotes, false,
         "Scrivel's notes folder C:\\users\\demo\\Documents\\Scrivel\\ is missing"},
        {"another folder gone", foundBoth(), kDriveC + "/Gone/", false,
         "The folder C:\\Gone\\ cannot be read"},
        {"a folder outside every drive keeps its path", foundBoth(), "/mnt/usb/", false,
         "The folder /mnt/usb/ cannot be read"},
        {"not found, the default folder listed", resourcesNotFound(), kResources, true,
         "Scrivel's folder was not found|*.bblx|D:\\Bibles\\ and " + resourcesShown +
             "|then press F5"},
        {"not found, nothing readable", resourcesNotFound(), " ", false,
         "Scrivel's folder was not found"},
        {"not found, nothing listed yet", resourcesNotFound(), "", true,
         "Scrivel's folder was not found"},
        {"not found, but the user browses elsewhere", resourcesNotFound(), kDriveC + "/windows/",
         true, ""},
    };
    const DriveMap drives = driveC();
    for (const Case& c : cases) {
        const std::string hint = missingFolderHint(c.state, c.listed, c.readable, drives);
        if (c.says.empty()) {
            EXPECT_EQ(hint, "") << c.name;
            continue;
        }
        EXPECT_EQ(hint.find('\n'), std::string::npos) << c.name << ": one line";
        for (const std::string& part : parts(c.says))
            EXPECT_NE(hint.find(part), std::string::npos) << c.name << ": " << hint;
    }
}

TEST(MissingFolderHint, WithoutAnySearchedPlaceTheDefaultIsNamed) {
    HostFolderState state = resourcesNotFound();
    state.resourceFolderSearched.clear();
    const std::string hint = missingFolderHint(state, " ", false, DriveMap());
    EXPECT_NE(hint.find("C:\\Program Files (x86)\\Scrivel\\"), std::string::npos) << hint;
}

}  // namespace
}  // namespace modshelf::host
