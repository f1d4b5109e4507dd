#include "core/host/HostStartHint.h"

#include <gtest/gtest.h>

#include "core/app/AppState.h"
#include "core/host/DriveMap.h"

namespace modshelf::host {
namespace {

// The notice names the places searched when the folder is missing, and the
// program tried, in the Windows form the user knows, when the start failed.
TEST(HostStartHint, SaysWhatIsMissingAndWhereModshelfLooked) {
    DriveMap drives;
    drives.addDrive('C', "/home/ann/.wine/drive_c");
    app::AppState state;
    state.resourceFolderFound = false;
    state.resourceFolder = " ";
    const std::string missing = hostStartFailureText(state, drives);
    for (const char* part : {"its folder was not found", "\"Resources Path\"", "\"Path\"",
                             "program files folder", "C:\\Program Files (x86)\\Scrivel\\"})
        EXPECT_NE(missing.find(part), std::string::npos) << part;

    state.resourceFolderFound = true;
    state.resourceFolder = "/home/ann/.wine/drive_c/Program Files (x86)/Scrivel/";
    const std::string failed = hostStartFailureText(state, drives);
    EXPECT_NE(failed.find("C:\\Program Files (x86)\\Scrivel\\Scrivel.exe"), std::string::npos)
        << failed;
}

}  // namespace
}  // namespace modshelf::host
