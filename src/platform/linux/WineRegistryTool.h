#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace modshelf::platform {

// The registry as a running wineserver holds it. While a server runs for a
// prefix, the hive files lag behind it (it saves every 30 seconds and at
// exit) and it writes its own copy over any edit made to them, so reads and
// writes must go through Wine.
class LiveRegistry {
public:
    virtual ~LiveRegistry() = default;

    // The key and everything below it as regedit export text (UTF-8), for
    // example key "HKEY_CURRENT_USER". False with the reason in `error`.
    virtual bool exportKey(const std::string& key, std::string& text, std::string& error) = 0;

    // Applies regedit text (UTF-8). Wine's importer skips lines it cannot use
    // and still reports success, so callers read back what they wrote.
    virtual bool import(const std::string& text, std::string& error) = 0;

    // The folder of the server that runs now. Wine finds its server through
    // TMPDIR, so a server started with another TMPDIR is reached only when
    // our Wine programs are given the same one.
    virtual void useServerFolder(const std::filesystem::path& /*serverDir*/) {}
};

// Runs Wine's own "reg" program in the prefix. Each call is one short Wine
// process (about 0.15 s while the server runs).
class WineRegistryTool : public LiveRegistry {
public:
    explicit WineRegistryTool(std::filesystem::path prefix,
                              std::chrono::milliseconds timeout = std::chrono::seconds(60));

    bool exportKey(const std::string& key, std::string& text, std::string& error) override;
    bool import(const std::string& text, std::string& error) override;
    void useServerFolder(const std::filesystem::path& serverDir) override {
        serverDir_ = serverDir;
    }

private:
    bool runReg(const std::vector<std::string>& arguments, std::string& error);

    std::filesystem::path prefix_;
    std::filesystem::path serverDir_;
    std::chrono::milliseconds timeout_;
};

std::shared_ptr<LiveRegistry> wineRegistryTool(const std::filesystem::path& prefix);

// The environment for a Wine program of ours in the prefix: ours, with the
// prefix, the TMPDIR under which the running server (serverDir, may be empty)
// is found, Wine's debug output off, and no downloads or menu entries should
// Wine have to update the prefix.
std::vector<std::string> wineEnvironment(const std::filesystem::path& prefix,
                                         const std::filesystem::path& serverDir);

}  // namespace modshelf::platform
