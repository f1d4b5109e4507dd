#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/app/CliCommands.h"
#include "core/host/DriveMap.h"
#include "core/settings/MemorySettingsStore.h"
#include "support/TempDir.h"

namespace modshelf::test {

// A prefix in miniature: drive C: in a temporary folder with Scrivel's
// resource folder C:\Scrivel holding modules, and settings in memory.
class CliFixture : public ::testing::Test {
protected:
    CliFixture();

    // Writes a module with a Details row into the resource folder.
    void addModule(const std::string& fileName, const std::string& tabName,
                   const std::string& description = "A module");
    void setFlag(int workspace, const std::string& category, const std::string& tabName,
                 const std::string& text);
    std::string flag(int workspace, const std::string& category, const std::string& tabName);

    // Runs the command line; out and err hold what it printed.
    int run(const std::vector<std::string>& args);

    TempDir drive;
    std::filesystem::path resources;
    settings::MemorySettingsStore store;
    host::DriveMap drives;
    std::ostringstream out, err;
    bool hostRunning = false;
    bool hostCloses = true;
    int closeRequests = 0;
};

}  // namespace modshelf::test
