#include "platform/linux/WinePrefixSettingsStore.h"

#include <sys/stat.h>

#include <algorithm>

#include "core/settings/RegEditFile.h"
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
    if (hive.live || identify(hive.file) == hive.identity) return;
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

WineServerStatus WinePrefixSettingsStore::probeServer() {
    WineServerStatus server;
    if (options_.serverProbe) server = options_.serverProbe->probe(folder_);
    serverRunning_ = server.running;
    if (server.running && options_.liveRegistry)
        options_.liveRegistry->useServerFolder(server.serverDir);
    lastProbe_ = std::chrono::steady_clock::now();
    probedOnce_ = true;
    return server;
}

std::string WinePrefixSettingsStore::rootKeyName(const Hive& hive) const {
    return hive.root == RegRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

bool WinePrefixSettingsStore::readLive(Hive& hive, std::string& error) {
    std::string text;
    settings::RegistryTree tree;
    if (!options_.liveRegistry->exportKey(rootKeyName(hive), text, error) ||
        !settings::parseRegEdit(text, rootKeyName(hive), tree, error))
        return false;
    settings::RegistryTree& target = branch(hive.root);
    target = std::move(tree);
    for (const auto& change : pending_) {
        if (change.tree != &target) continue;
        bool changed = false;
        settings::applyTreeChange(target, change, changed);
    }
    hive.live = true;
    hive.readable = true;
    return true;
}

void WinePrefixSettingsStore::beforeAccess() {
    // Within one operation the files are looked at once: thousands of reads
    // and writes of one activation or restore need not each stat the hives,
    // and the save looks again before it writes.
    if (inOperation()) {
        if (checkedOperation_ == operationSerial()) return;
        checkedOperation_ = operationSerial();
    }
    if (options_.liveRegistry && options_.serverProbe) {
        const auto now = std::chrono::steady_clock::now();
        if (!probedOnce_ || now - lastProbe_ >= options_.recheckInterval) {
            // Only the user's branch is read from the server: the machine's
            // values that we read (folders) do not change while Wine runs,
            // and its export is large.
            Hive& user = hives_[0];
            std::string error;
            if (probeServer().running) {
                if (!readLive(user, error) && user.live) {
                    user.live = false;
                    user.identity = {};
                }
            } else if (user.live) {
                // The server has saved at its exit; the file is current again.
                user.live = false;
                user.identity = {};
            }
        }
    }
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
    for (auto& hive : hives_) {
        hive.live = false;
        load(hive);
    }
    std::string error;
    if (serverRunning_ && options_.liveRegistry) readLive(hives_[0], error);
}

namespace {

std::string describeChange(const std::string& root, const settings::TreeChange& change) {
    std::string key = root + (change.path.empty() ? "" : "\\" + change.path);
    switch (change.kind) {
        case settings::TreeChange::Kind::CreateKey:
            return "the key " + key;
        case settings::TreeChange::Kind::DeleteKey:
            return "the removal of the key " + key;
        case settings::TreeChange::Kind::SetValue:
            return "\"" + change.name + "\" in " + key;
        case settings::TreeChange::Kind::DeleteValue:
            return "the removal of \"" + change.name + "\" from " + key;
    }
    return key;
}

// Whether `actual` (the key as Wine holds it, or null) shows what `expected`
// (the key as we hold it, or null) says the change should have left.
bool arrived(const settings::TreeChange& change, const settings::KeyNode* expected,
             const settings::KeyNode* actual) {
    using Kind = settings::TreeChange::Kind;
    if (change.kind == Kind::CreateKey || change.kind == Kind::DeleteKey)
        return (expected != nullptr) == (actual != nullptr);
    const settings::NamedValue* want = expected ? expected->findValue(change.name) : nullptr;
    const settings::NamedValue* got = actual ? actual->findValue(change.name) : nullptr;
    if (!want || !got) return want == got;
    return want->value == got->value;
}

}  // namespace

Status WinePrefixSettingsStore::saveLive(std::string& message) {
    std::vector<settings::RegEditChange> edits;
    for (const auto& change : pending_) {
        const Hive* hive = hiveOf(change.tree);
        if (!hive) continue;
        settings::RegEditChange edit;
        edit.kind = static_cast<settings::RegEditChange::Kind>(change.kind);
        edit.keyPath = rootKeyName(*hive) + (change.path.empty() ? "" : "\\" + change.path);
        edit.name = change.name;
        edit.value = change.value;
        edits.push_back(std::move(edit));
    }
    const std::string intro = "Wine is running for the prefix \"" + folder_.string() +
                              "\", so Modshelf hands its changes to Wine. ";
    std::string error;
    if (!options_.liveRegistry->import(settings::regEditText(edits), error)) {
        message = intro + error + "\n\nThe change was not saved.";
        rollBack();
        return settings::kWriteFault;
    }

    // Wine's importer reports success even for lines it skipped, so every
    // change is read back.
    settings::RegistryTree userNow;
    bool haveUser = false;
    std::vector<std::string> missing;
    for (const auto& change : pending_) {
        const Hive* hive = hiveOf(change.tree);
        if (!hive) continue;
        const settings::KeyNode* expected = change.tree->find(change.path);
        const settings::KeyNode* actual = nullptr;
        settings::RegistryTree keyNow;
        if (hive->root == RegRoot::CurrentUser) {
            if (!haveUser) {
                std::string text;
                if (!options_.liveRegistry->exportKey(rootKeyName(*hive), text, error) ||
                    !settings::parseRegEdit(text, rootKeyName(*hive), userNow, error)) {
                    message = intro + "Its registry could not be read back: " + error +
                              "\n\nWhether the change was saved is not known.";
                    rollBack();
                    return settings::kWriteFault;
                }
                haveUser = true;
            }
            actual = userNow.find(change.path);
        } else {
            const std::string key =
                rootKeyName(*hive) + (change.path.empty() ? "" : "\\" + change.path);
            std::string text, ignored;
            if (options_.liveRegistry->exportKey(key, text, ignored) &&
                settings::parseRegEdit(text, key, keyNow, ignored))
                actual = &keyNow.root();
        }
        if (!arrived(change, expected, actual))
            missing.push_back(describeChange(rootKeyName(*hive), change));
    }
    if (!missing.empty()) {
        message = intro + "Wine did not take ";
        const std::size_t shown = std::min<std::size_t>(missing.size(), 8);
        for (std::size_t i = 0; i < shown; ++i)
            message +=
                (i == 0 ? "" : (i + 1 == shown && shown == missing.size() ? " and " : ", ")) +
                missing[i];
        if (shown < missing.size())
            message += " and " + std::to_string(missing.size() - shown) + " more";
        message += ".\n\nThese settings were not saved.";
        rollBack();
        return settings::kWriteFault;
    }

    if (haveUser) {
        branch(RegRoot::CurrentUser) = std::move(userNow);
        hives_[0].live = true;
    }
    for (auto& hive : hives_) hive.dirty = false;
    pending_.clear();
    return settings::kSuccess;
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
        const WineServerStatus server = probeServer();
        if (server.running) return saveWhileRunning(server, message);
    }
    return saveFiles(message);
}

Status WinePrefixSettingsStore::saveWhileRunning(const WineServerStatus& server,
                                                 std::string& message) {
    if (options_.liveRegistry) return saveLive(message);
    message = "Wine is running for the prefix \"" + folder_.string() + "\"" +
              (server.pid > 0 ? " (wineserver, process " + std::to_string(server.pid) + ")"
                              : std::string()) +
              ", so the change could not be saved.\n\nWhile Wine runs it keeps the "
              "registry in memory and would overwrite the change later. Close the Wine "
              "programs of this prefix and try again.";
    rollBack();
    return settings::kSharingViolation;
}

Status WinePrefixSettingsStore::saveFiles(std::string& message) {
    // A server that started between our look and the rename would load the
    // old file and later save it over ours.
    const bool guard = options_.guardServerStart && options_.serverProbe;
    ServerStartLock startLock;
    if (guard) {
        pid_t holder = 0;
        if (!startLock.acquire(folder_, holder)) {
            WineServerStatus server = probeServer();
            if (!server.running) {  // it ended in the meantime; it holds its lock no more
                server.running = serverRunning_ = true;
                server.pid = holder > 0 ? holder : 0;
            }
            return saveWhileRunning(server, message);
        }
    }
    for (auto& hive : hives_) {
        if (!hive.dirty) continue;
        if (hive.live) {
            // The tree came from a server that has ended since: start again
            // from the file it saved.
            hive.live = false;
            hive.identity = {};
        }
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
    startLock.release();
    if (guard) {
        // A server that found its lock elsewhere (another TMPDIR) was not held
        // off; if one runs now, it may hold the old values, so it gets the
        // changes as well.
        if (const WineServerStatus server = probeServer(); server.running)
            return saveWhileRunning(server, message);
    }
    pending_.clear();
    return settings::kSuccess;
}

}  // namespace modshelf::platform
