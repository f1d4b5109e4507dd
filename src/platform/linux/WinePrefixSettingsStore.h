#pragma once

#include <sys/types.h>

#include <array>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/settings/TreeSettingsStore.h"
#include "core/settings/WineHive.h"
#include "platform/linux/WineRegistryTool.h"
#include "platform/linux/WineServerProbe.h"

namespace modshelf::platform {

// The settings store on the hive files of a Wine prefix: HKEY_CURRENT_USER is
// <folder>/user.reg, HKEY_LOCAL_MACHINE <folder>/system.reg. The other roots
// are reached the way Wine reaches them: HKEY_CLASSES_ROOT is
// HKEY_LOCAL_MACHINE\Software\Classes, HKEY_CURRENT_CONFIG is
// HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current, and
// HKEY_USERS\S-1-5-21-0-0-0-1000 is the current user; the rest of
// HKEY_USERS can be read (empty) but not changed, since no file keeps it.
//
// A save writes only the files whose branch changed, each replaced atomically.
// A file that someone else changed since it was read is read again (and the
// pending changes are made again on the fresh copy) before any access and
// before it is written, so nobody's edits are overwritten blindly.
//
// While a wineserver runs for the prefix, the files lag behind the registry it
// holds and it would write its own copy over ours. Then HKEY_CURRENT_USER is
// read from the server, and a save hands the pending changes to it and reads
// them back to make sure each one arrived; Wine saves them itself. Without a
// way to reach the server (no liveRegistry), such a save fails with a message
// that says so. Replacing a file, the store keeps a server from starting in
// the meantime and looks again afterwards, so a server that started anyway
// gets the changes too. A failed save returns the store to what the files
// (or the server) hold.
class WinePrefixSettingsStore : public settings::TreeSettingsStore {
public:
    struct Options {
        // A private folder may get its files on the first save; a Wine prefix
        // never does, since a file made by us could stop Wine using the prefix.
        bool createMissingFiles = false;
        // Checked before every save; null for a folder that Wine never uses.
        std::shared_ptr<WineServerProbe> serverProbe;
        // How changes reach a running server and how its state is read.
        std::shared_ptr<LiveRegistry> liveRegistry;
        // Holds off a server that starts while a file is replaced, and looks
        // for one afterwards.
        bool guardServerStart = true;
        // Reads look for a server at most this often; a save always looks.
        std::chrono::milliseconds recheckInterval{1000};
    };

    WinePrefixSettingsStore(std::filesystem::path folder, Options options);

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path hiveFile(settings::HiveBranch branch) const;

    // What was wrong with the files when they were last read (for example a
    // file that is not a Wine registry file); empty when nothing was.
    std::string loadProblems() const;

protected:
    Location locate(settings::RegRoot root, const std::string& path) override;
    void beforeAccess() override;
    void recordChange(const settings::TreeChange& change) override;
    settings::Status save(std::string& message) override;

    // Writes one hive file; tests put a failing disk in its place.
    virtual bool writeHiveFile(const std::filesystem::path& file, const std::string& text,
                               std::string& error);

private:
    struct FileIdentity {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        bool operator==(const FileIdentity& other) const;
    };

    struct Hive {
        settings::HiveBranch branch;
        settings::RegRoot root;
        std::filesystem::path file;
        std::vector<std::string> header;
        std::vector<std::string> orphanLines;
        FileIdentity identity;
        bool readable = true;  // false: the file exists but cannot be used; never written
        std::string problem;
        bool dirty = false;
        bool live = false;  // the tree came from the running server, not from the file
    };

    static FileIdentity identify(const std::filesystem::path& file);
    void load(Hive& hive);
    void refresh(Hive& hive);  // reads a changed file again and replays the pending changes
    Hive* hiveOf(const settings::RegistryTree* tree);
    void rollBack();
    std::string defaultArch() const;

    WineServerStatus probeServer();
    bool readLive(Hive& hive, std::string& error);
    settings::Status saveLive(std::string& message);
    settings::Status saveFiles(std::string& message);
    settings::Status saveWhileRunning(const WineServerStatus& server, std::string& message);
    std::string rootKeyName(const Hive& hive) const;

    std::filesystem::path folder_;
    Options options_;
    std::array<Hive, 2> hives_;
    std::vector<settings::TreeChange> pending_;
    bool memoryOnlyChange_ = false;  // a change below HKEY_USERS that no file keeps
    bool serverRunning_ = false;
    std::chrono::steady_clock::time_point lastProbe_{};
    bool probedOnce_ = false;
    std::uint64_t checkedOperation_ = 0;  // the operation whose files were looked at
};

}  // namespace modshelf::platform
