#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "support/TempDir.h"

namespace modshelf::test {

// A Wine prefix of a test's own in a temporary folder, with Wine run in it
// the way tests need it: quiet, offering no downloads, adding no menu entries.
class WineTestPrefix {
public:
    // A prefix made by wineboot, its server ended; null when Wine is missing.
    static std::unique_ptr<WineTestPrefix> boot();

    // The environment to put before a shell command run in the prefix.
    std::string environment() const;
    // Runs a shell command in the prefix; its exit status.
    int run(const std::string& command) const;
    // Runs a shell command in the prefix; its standard output.
    std::string output(const std::string& command) const;
    // Ends every Wine program of the prefix and waits for its server to end.
    void stopServer() const;
    // Waits for the server to end by itself, as it does after the last program.
    void waitForServerToEnd() const { run("wineserver -w"); }
    // Waits until a server for the prefix runs (or not); false on time-out.
    bool waitForServer(bool running,
                       std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    const std::filesystem::path& path() const { return dir_.path(); }

private:
    TempDir dir_;
};

// `text` quoted for the shell.
std::string shellQuoted(const std::string& text);

}  // namespace modshelf::test
