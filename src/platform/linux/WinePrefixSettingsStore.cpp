#include "platform/linux/WinePrefixSettingsStore.h"

#include <sys/stat.h>

#include "platform/linux/AtomicFile.h"

namespace modshelf::platform {

using settings::HiveBranch;
using settings::RegRoot;
using settings::Status;

namespace {

constexpr const char* kCurrentUserSid = "S-1-5-21-0-0-0-1000";

std::string joinBelow(const std::string& base, const std::string& path) {
    if (path.empty()) return base;
    return base + "\\" + path;
}

}  // namespace

bool WinePrefixSettingsStore::FileIdentity::operator==(const FileIdentity& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec;
}

WinePrefixSettingsStore::WinePrefixSettingsStore(std::filesystem::path folder, Options options)
    : folder_(std::move(folder)), options_(std::move(options)) {
    hives_[0].branch = HiveBranch::CurrentUser;
    hives_[0].root = RegRoot::CurrentUser;
    hives_[0].file = folder_ / "user.reg";
    hives_[1].branch = HiveBranch::LocalMachine;
    hives_[1].root = RegRoot::LocalMachine;
    hives_[1].file = folder_ / "system.reg";
    for (auto& hive : hives_) load(hive);
}

std::filesystem::path WinePrefixSettingsStore::hiveFile(HiveBranch branch) const {
    return branch == HiveBranch::CurrentUser ? hives_[0].file : hives_[1].file;
}

std::string WinePrefixSettingsStore::loadProblems() const {
    std::string problems;
    for (const auto& hive : hives_) {
        if (hive.problem.empty()) continue;
        if (!problems.empty()) problems += "\n\n";
        problems += hive.problem;
    }
    return problems;
}

WinePrefixSettingsStore::FileIdentity WinePrefixSettingsStore::identify(
    const std::filesystem::path& file) {
    FileIdentity identity;
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return identity;
    identity.exists = true;
    identity.device = st.st_dev;
    identity.inode = st.st_ino;
    identity.size = st.st_size;
    identity.modified = st.st_mtim;
    return identity;
}

std::string WinePrefixSettingsStore::defaultArch() const {
    for (const auto& hive : hives_) {
        for (const auto& line : hive.header)
            if (line.starts_with("#arch=")) return line.substr(6);
    }
    return {};
}

void WinePrefixSettingsStore::load(Hive& hive) {
    settings::RegistryTree& tree = branch(hive.root);
    hive.readable = true;
    hive.problem.clear();
    hive.dirty = false;
    // The identity is taken before reading: a change made while we read is
    // then noticed at the next access.
    hive.identity = identify(hive.file);

    std::string text, error;
    if (!hive.identity.exists) {
        tree = settings::RegistryTree{};
        hive.header = settings::newWineHive(hive.branch, defaultArch()).header;
        hive.orphanLines.clear();
        return;
    }
    settings::WineHive parsed;
    if (!readWholeFile(hive.file, text, error) || !settings::parseWineHive(text, parsed, error)) {
        tree = settings::RegistryTree{};
        hive.header.clear();
        hive.orphanLines.clear();
        hive.readable = false;
        hive.problem = "The settings file \"" + hive.file.string() +
                       "\" cannot be used, so Modshelf leaves it as it is. " + error;
        return;
    }
    tree = std::move(parsed.tree);
    hive.header = std::move(parsed.header);
    hive.orphanLines = std::move(parsed.orphanLines);
}

void WinePrefixSettingsStore::refresh(Hive& hive) {
    if (identify(hive.file) == hive.identity) return;
    const bool wasDirty = hive.dirty;
    load(hive);
    settings::RegistryTree& tree = branch(hive.root);
    for (const auto& change : pending_) {
        if (change.tree != &tree) continue;
        bool changed = false;
        settings::applyTreeChange(tree, change, changed);
    }
    hive.dirty = wasDirty;
}

WinePrefixSettingsStore::Hive* WinePrefixSettingsStore::hiveOf(const settings::RegistryTree* tree) {
    for (auto& hive : hives_)
        if (&branch(hive.root) == tree) return &hive;
    return nullptr;
}

settings::TreeSettingsStore::Location WinePrefixSettingsStore::locate(RegRoot root,
                                                                      const std::string& path) {
    switch (root) {
        case RegRoot::ClassesRoot:
            return {&branch(RegRoot::LocalMachine), joinBelow("Software\\Classes", path)};
        case RegRoot::CurrentConfig:
            return {&branch(RegRoot::LocalMachine),
                    joinBelow("System\\CurrentControlSet\\Hardware Profiles\\Current", path)};
        case RegRoot::Users: {
            auto parts = settings::splitKeyPath(path);
            if (!parts.empty() && settings::equalsNoCase(parts.front(), kCurrentUserSid)) {
                std::string rest;
                for (std::size_t i = 1; i < parts.size(); ++i) rest = joinBelow(rest, parts[i]);
                if (rest.starts_with("\\")) rest.erase(0, 1);
                return {&branch(RegRoot::CurrentUser), rest};
            }
            return {&branch(RegRoot::Users), path};
        }
        default:
            return {&branch(root), path};
    }
}

void WinePrefixSettingsStore::beforeAccess() {
    for (auto& hive : hives_) refresh(hive);
}

void WinePrefixSettingsStore::recordChange(const settings::TreeChange& change) {
    Hive* hive = hiveOf(change.tree);
    if (!hive) {
        memoryOnlyChange_ = true;
        return;
    }
    hive->dirty = true;
    pending_.push_back(change);
}

bool WinePrefixSettingsStore::writeHiveFile(const std::filesystem::path& file,
                                            const std::string& text, std::string& error) {
    return writeFileAtomically(file, text, error);
}

void WinePrefixSettingsStore::rollBack() {
    pending_.clear();
    memoryOnlyChange_ = false;
    branch(RegRoot::Users) = settings::RegistryTree{};
    for (auto& hive : hives_) load(hive);
}

Status WinePrefixSettingsStore::save(std::string& message) {
    if (memoryOnlyChange_) {
        message = "Modshelf keeps only HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of the prefix \"" +
                  folder_.string() + "\"; the change below HKEY_USERS could not be saved.";
        rollBack();
        return settings::kAccessDenied;
    }
    bool anyDirty = false;
    for (const auto& hive : hives_) anyDirty = anyDirty || hive.dirty;
    if (!anyDirty) {
        pending_.clear();
        return settings::kSuccess;
    }

    if (options_.serverProbe) {
        const WineServerStatus server = options_.serverProbe->probe(folder_);
        if (server.running) {
            message = "Wine is running for the prefix \"" + folder_.string() + "\"" +
                      (server.pid > 0 ? " (wineserver, process " + std::to_string(server.pid) + ")"
                                      : std::string()) +
                      ", so the change could not be saved.\n\nWhile Wine runs it keeps the "
                      "registry in memory and would overwrite the change later. Close the Wine "
                      "programs of this prefix and try again.";
            rollBack();
            return settings::kSharingViolation;
        }
    }

    for (auto& hive : hives_) {
        if (!hive.dirty) continue;
        refresh(hive);
        if (!hive.readable) {
            message = hive.problem + "\n\nThe change could not be saved.";
            rollBack();
            return settings::kWriteFault;
        }
        if (!hive.identity.exists && !options_.createMissingFiles) {
            message = "The settings file \"" + hive.file.string() +
                      "\" does not exist, and Modshelf does not create files in a Wine prefix. "
                      "The change could not be saved.";
            rollBack();
            return settings::kFileNotFound;
        }
        const std::string text =
            settings::serializeWineHive(hive.header, branch(hive.root), hive.orphanLines);
        std::string error;
        if (!writeHiveFile(hive.file, text, error)) {
            message = "Modshelf could not save its settings to \"" + hive.file.string() + "\". " +
                      error + "\n\nThe change was not saved.";
            rollBack();
            return settings::kWriteFault;
        }
        hive.identity = identify(hive.file);
        hive.dirty = false;
    }
    pending_.clear();
    return settings::kSuccess;
}

}  // namespace modshelf::platform
