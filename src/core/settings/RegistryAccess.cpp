#include "core/settings/RegistryAccess.h"

#include <iostream>

namespace modshelf::settings {

std::string GetRegString(SettingsStore& store, RegRoot root, const std::string& keyPath,
                         const std::string& valueName) {
    std::string result;
    QuietSaves quiet(store);  // creating the missing key is not the user's write
    RegistryKey key(store);
    if (key.Create(root, keyPath) == kSuccess) key.QueryString(valueName, result);
    return result;
}

std::uint32_t GetRegDword(SettingsStore& store, RegRoot root, const std::string& keyPath,
                          const std::string& valueName, std::uint32_t defaultValue) {
    std::uint32_t result = defaultValue;
    QuietSaves quiet(store);  // creating the missing key is not the user's write
    RegistryKey key(store);
    if (key.Create(root, keyPath) == kSuccess) key.QueryDword(valueName, result);
    return result;
}

Status SetRegString(SettingsStore& store, const std::string& keyPath, const std::string& valueName,
                    const std::string& text) {
    SettingsOperation operation(store);  // a new key and its value are saved together
    RegistryKey key(store);
    Status status = key.Create(RegRoot::CurrentUser, keyPath);
    if (status == kSuccess) key.SetString(valueName, text);
    return status;
}

Status SetRegDword(SettingsStore& store, const std::string& keyPath, const std::string& valueName,
                   std::uint32_t number) {
    SettingsOperation operation(store);  // a new key and its value are saved together
    RegistryKey key(store);
    Status status = key.Create(RegRoot::CurrentUser, keyPath);
    if (status == kSuccess) key.SetDword(valueName, number);
    return status;
}

bool DeleteKeyTree(SettingsStore& store, RegRoot root, const std::string& keyPath) {
    return DeleteKeyTree(store, root, keyPath, std::cout);
}

namespace {

bool deleteTree(SettingsStore& store, RegRoot root, std::string path, std::ostream& diagnostics) {
    if (store.deleteKey(root, path) == kSuccess) return true;

    Status opened = store.openKey(root, path);
    if (opened == kFileNotFound) {
        diagnostics << "Key not found.\n";
        return true;
    }
    if (opened != kSuccess) {
        diagnostics << "Error opening key.\n";
        return false;
    }
    if (path.back() != '\\') path += '\\';

    // Index 0 is always the next remaining child, since each one is deleted.
    std::string child;
    while (store.enumKey(root, path, 0, child) == kSuccess) {
        if (!deleteTree(store, root, path + child, diagnostics)) break;
    }
    path.pop_back();
    return store.deleteKey(root, path) == kSuccess;
}

}  // namespace

bool DeleteKeyTree(SettingsStore& store, RegRoot root, const std::string& keyPath,
                   std::ostream& diagnostics) {
    // An empty path names the root itself: deleting it would empty the hive.
    if (keyPath.find_first_not_of('\\') == std::string::npos) return false;
    SettingsOperation operation(store);  // one save for the whole tree
    const bool gone = deleteTree(store, root, keyPath, diagnostics);
    // A failed save leaves the tree where it was.
    return operation.commit() == kSuccess && gone;
}

}  // namespace modshelf::settings
