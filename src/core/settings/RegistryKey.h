#pragma once

#include <cstdint>
#include <string>

#include "core/settings/SettingsStore.h"

namespace modshelf::settings {

// Owns one open key of a SettingsStore for the span of one operation.
class RegistryKey {
public:
    explicit RegistryKey(SettingsStore& store) : store_(store) {}
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Records path as the name (whatever the outcome), then opens the key,
    // creating it and its missing parents. Call only on a closed object.
    Status Create(RegRoot root, const std::string& path);
    // As above, below an open key.
    Status Create(const RegistryKey& parent, const std::string& subPath);
    void Close();

    // Reads at most 4 bytes; out is unchanged on failure. The type is not checked.
    Status QueryDword(const std::string& valueName, std::uint32_t& out);
    // Reads into a 200-byte buffer: at most 199 characters. out is unchanged on
    // any failure, kMoreData for a longer value among them.
    Status QueryString(const std::string& valueName, std::string& out);
    // size: the buffer size on entry, the stored size on return.
    Status QueryBinary(const std::string& valueName, void* buffer, std::uint32_t& size);

    Status SetDword(const std::string& valueName, std::uint32_t number);
    Status SetString(const std::string& valueName, const std::string& text);
    Status SetBinary(const std::string& valueName, const void* bytes, std::uint32_t length);

    Status DeleteKey(const std::string& subKeyName);
    Status DeleteValue(const std::string& valueName);

    bool isOpen() const { return open_; }
    const std::string& name() const { return name_; }
    RegRoot root() const { return root_; }
    const std::string& path() const { return path_; }

    static constexpr std::uint32_t kStringBufferSize = 200;

private:
    SettingsStore& store_;
    bool open_ = false;
    RegRoot root_ = RegRoot::CurrentUser;
    std::string path_;  // the open key's full path below root_
    std::string name_;
};

}  // namespace modshelf::settings
