#include "core/settings/TreeSettingsStore.h"

#include <algorithm>
#include <chrono>

namespace modshelf::settings {

TreeSettingsStore::Location TreeSettingsStore::locate(RegRoot root, const std::string& path) {
    return {&branch(root), path};
}

void touchKey(KeyNode& node) {
    // FILETIME counts 100-ns ticks from 1601-01-01; Unix time starts 11644473600 s later.
    constexpr std::uint64_t kTicksPerSecond = 10'000'000;
    constexpr std::uint64_t kSeconds1601To1970 = 11'644'473'600;
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks =
        std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count() / 100;
    node.modified = static_cast<std::int64_t>(ticks / kTicksPerSecond);
    node.fileTime = static_cast<std::uint64_t>(ticks) + kSeconds1601To1970 * kTicksPerSecond;
}

Status applyTreeChange(RegistryTree& tree, const TreeChange& change, bool& changed) {
    changed = false;
    switch (change.kind) {
        case TreeChange::Kind::CreateKey: {
            KeyNode* node = &tree.root();
            for (const auto& part : splitKeyPath(change.path)) {
                if (KeyNode* next = node->findSubkey(part)) {
                    node = next;
                } else {
                    node = &node->subkey(part);
                    touchKey(*node);
                    changed = true;
                }
            }
            return kSuccess;
        }
        case TreeChange::Kind::SetValue: {
            KeyNode* key = tree.find(change.path);
            if (!key) return kFileNotFound;
            // Writing what is already stored changes nothing, so nothing is saved.
            if (const NamedValue* old = key->findValue(change.name);
                old && old->value == change.value)
                return kSuccess;
            key->setValue(change.name, change.value);
            touchKey(*key);
            changed = true;
            return kSuccess;
        }
        case TreeChange::Kind::DeleteValue: {
            KeyNode* key = tree.find(change.path);
            if (!key || !key->removeValue(change.name)) return kFileNotFound;
            touchKey(*key);
            changed = true;
            return kSuccess;
        }
        case TreeChange::Kind::DeleteKey: {
            auto parts = splitKeyPath(change.path);
            if (parts.empty()) return kAccessDenied;  // a root stays
            const std::string child = parts.back();
            parts.pop_back();
            KeyNode* parent = &tree.root();
            for (const auto& part : parts) {
                parent = parent->findSubkey(part);
                if (!parent) return kFileNotFound;
            }
            const KeyNode* key = parent->findSubkey(child);
            if (!key) return kFileNotFound;
            if (!key->subkeys.empty()) return kAccessDenied;
            parent->removeSubkey(child);
            touchKey(*parent);
            changed = true;
            return kSuccess;
        }
    }
    return kInvalidParameter;
}

Status TreeSettingsStore::change(TreeChange change) {
    bool differs = false;
    Status status = applyTreeChange(*change.tree, change, differs);
    if (status != kSuccess || !differs) return status;
    recordChange(change);
    return changed();
}

Status TreeSettingsStore::createKey(RegRoot root, const std::string& path) {
    beforeAccess();
    auto loc = locate(root, path);
    return change({TreeChange::Kind::CreateKey, loc.tree, loc.path, {}, {}});
}

Status TreeSettingsStore::openKey(RegRoot root, const std::string& path) {
    beforeAccess();
    auto loc = locate(root, path);
    return loc.tree->find(loc.path) ? kSuccess : kFileNotFound;
}

Status TreeSettingsStore::queryValue(RegRoot root, const std::string& path, const std::string& name,
                                     RegValue& out) {
    beforeAccess();
    auto loc = locate(root, path);
    const KeyNode* key = loc.tree->find(loc.path);
    if (!key) return kFileNotFound;
    const NamedValue* value = key->findValue(name);
    if (!value) return kFileNotFound;
    out = value->value;
    return kSuccess;
}

Status TreeSettingsStore::setValue(RegRoot root, const std::string& path, const std::string& name,
                                   const RegValue& value) {
    beforeAccess();
    auto loc = locate(root, path);
    return change({TreeChange::Kind::SetValue, loc.tree, loc.path, name, value});
}

Status TreeSettingsStore::deleteValue(RegRoot root, const std::string& path,
                                      const std::string& name) {
    beforeAccess();
    auto loc = locate(root, path);
    return change({TreeChange::Kind::DeleteValue, loc.tree, loc.path, name, {}});
}

Status TreeSettingsStore::enumKey(RegRoot root, const std::string& path, std::uint32_t index,
                                  std::string& name) {
    beforeAccess();
    auto loc = locate(root, path);
    const KeyNode* key = loc.tree->find(loc.path);
    if (!key) return kFileNotFound;
    if (index >= key->subkeys.size()) return kNoMoreItems;
    name = key->subkeys[index].name;
    return kSuccess;
}

Status TreeSettingsStore::enumValue(RegRoot root, const std::string& path, std::uint32_t index,
                                    std::string& name, RegValue& value) {
    beforeAccess();
    auto loc = locate(root, path);
    const KeyNode* key = loc.tree->find(loc.path);
    if (!key) return kFileNotFound;
    if (index >= key->values.size()) return kNoMoreItems;
    name = key->values[index].name;
    value = key->values[index].value;
    return kSuccess;
}

Status TreeSettingsStore::enumValues(RegRoot root, const std::string& path,
                                     std::vector<RegNamedValue>& values) {
    beforeAccess();
    values.clear();
    auto loc = locate(root, path);
    const KeyNode* key = loc.tree->find(loc.path);
    if (!key) return kFileNotFound;
    values.reserve(key->values.size());
    for (const auto& v : key->values) values.push_back({v.name, v.value});
    return kSuccess;
}

Status TreeSettingsStore::queryInfo(RegRoot root, const std::string& path, RegKeyInfo& info) {
    beforeAccess();
    auto loc = locate(root, path);
    const KeyNode* key = loc.tree->find(loc.path);
    if (!key) return kFileNotFound;
    info = RegKeyInfo{};
    info.subKeys = static_cast<std::uint32_t>(key->subkeys.size());
    info.values = static_cast<std::uint32_t>(key->values.size());
    for (const auto& k : key->subkeys)
        info.maxSubKeyLength = std::max<std::uint32_t>(info.maxSubKeyLength, k.name.size());
    for (const auto& v : key->values) {
        info.maxValueNameLength = std::max<std::uint32_t>(info.maxValueNameLength, v.name.size());
        info.maxValueLength = std::max<std::uint32_t>(info.maxValueLength, v.value.data.size());
    }
    return kSuccess;
}

Status TreeSettingsStore::deleteKey(RegRoot root, const std::string& path) {
    beforeAccess();
    auto loc = locate(root, path);
    return change({TreeChange::Kind::DeleteKey, loc.tree, loc.path, {}, {}});
}

}  // namespace modshelf::settings
