#include "core/settings/TreeSettingsStore.h"

#include <algorithm>
#include <ctime>

namespace modshelf::settings {

TreeSettingsStore::Location TreeSettingsStore::locate(RegRoot root, const std::string& path) {
    return {&branch(root), path};
}

void TreeSettingsStore::touch(KeyNode& node) { node.modified = static_cast<std::int64_t>(std::time(nullptr)); }

Status TreeSettingsStore::createKey(RegRoot root, const std::string& path) {
    beforeAccess();
    auto loc = locate(root, path);
    if (loc.tree->find(loc.path)) return kSuccess;
    KeyNode* node = &loc.tree->root();
    for (const auto& part : splitKeyPath(loc.path)) {
        if (KeyNode* next = node->findSubkey(part)) {
            node = next;
        } else {
            node = &node->subkey(part);
            touch(*node);
        }
    }
    return changed();
}

Status TreeSettingsStore::openKey(RegRoot root, const std::string& path) {
    beforeAccess();
    auto loc = locate(root, path);
    return loc.tree->find(loc.path) ? kSuccess : kFileNotFound;
}

Status TreeSettingsStore::queryValue(RegRoot root, const std::string& path,
                                     const std::string& name, RegValue& out) {
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
    KeyNode* key = loc.tree->find(loc.path);
    if (!key) return kFileNotFound;
    key->setValue(name, value);
    touch(*key);
    return changed();
}

Status TreeSettingsStore::deleteValue(RegRoot root, const std::string& path,
                                      const std::string& name) {
    beforeAccess();
    auto loc = locate(root, path);
    KeyNode* key = loc.tree->find(loc.path);
    if (!key || !key->removeValue(name)) return kFileNotFound;
    touch(*key);
    return changed();
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
    if (splitKeyPath(loc.path).empty()) return kAccessDenied;  // a root cannot be deleted
    const KeyNode* key = loc.tree->find(loc.path);
    if (!key) return kFileNotFound;
    if (!key->subkeys.empty()) return kAccessDenied;
    loc.tree->remove(loc.path);
    return changed();
}

}  // namespace modshelf::settings
