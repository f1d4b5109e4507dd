#include "core/settings/RegistryKey.h"

#include <cstring>

namespace modshelf::settings {

Status RegistryKey::Create(RegRoot root, const std::string& path) {
    name_ = path;
    if (open_) return kInvalidParameter;
    Status status = store_.createKey(root, path);
    if (status == kSuccess) {
        open_ = true;
        root_ = root;
        path_ = path;
    }
    return status;
}

Status RegistryKey::Create(const RegistryKey& parent, const std::string& subPath) {
    if (!parent.open_) {
        name_ = subPath;
        return kInvalidParameter;
    }
    std::string full = parent.path_;
    if (!full.empty() && full.back() != '\\') full += '\\';
    full += subPath;
    return Create(parent.root_, full);
}

void RegistryKey::Close() {
    open_ = false;
    path_.clear();
}

Status RegistryKey::QueryDword(const std::string& valueName, std::uint32_t& out) {
    if (!open_) return kInvalidParameter;
    RegValue value;
    Status status = store_.queryValue(root_, path_, valueName, value);
    if (status != kSuccess) return status;
    if (value.data.size() > 4) return kMoreData;
    std::uint32_t number = 0;
    std::memcpy(&number, value.data.data(), value.data.size());
    out = number;
    return kSuccess;
}

Status RegistryKey::QueryString(const std::string& valueName, std::string& out) {
    if (!open_) return kInvalidParameter;
    RegValue value;
    Status status = store_.queryValue(root_, path_, valueName, value);
    if (status != kSuccess) return status;
    if (value.data.size() > kStringBufferSize) return kMoreData;
    // The buffer is read as a C string: it ends at the first NUL, and a value
    // stored without one ends where its bytes end.
    out = std::string(value.data.c_str(), strnlen(value.data.data(), value.data.size()));
    return kSuccess;
}

Status RegistryKey::QueryBinary(const std::string& valueName, void* buffer, std::uint32_t& size) {
    if (!open_) return kInvalidParameter;
    RegValue value;
    Status status = store_.queryValue(root_, path_, valueName, value);
    if (status != kSuccess) return status;
    const std::uint32_t capacity = size;
    size = static_cast<std::uint32_t>(value.data.size());
    if (value.data.size() > capacity) return kMoreData;
    if (buffer && !value.data.empty()) std::memcpy(buffer, value.data.data(), value.data.size());
    return kSuccess;
}

Status RegistryKey::SetDword(const std::string& valueName, std::uint32_t number) {
    if (!open_) return kInvalidParameter;
    return store_.setValue(root_, path_, valueName, RegValue::fromDword(number));
}

Status RegistryKey::SetString(const std::string& valueName, const std::string& text) {
    if (!open_) return kInvalidParameter;
    return store_.setValue(root_, path_, valueName, RegValue::fromString(text));
}

Status RegistryKey::SetBinary(const std::string& valueName, const void* bytes,
                              std::uint32_t length) {
    if (!open_) return kInvalidParameter;
    std::string data(static_cast<const char*>(bytes), length);
    return store_.setValue(root_, path_, valueName, RegValue::fromBytes(data));
}

Status RegistryKey::DeleteKey(const std::string& subKeyName) {
    if (!open_) return kInvalidParameter;
    std::string full = path_;
    if (!full.empty() && full.back() != '\\') full += '\\';
    return store_.deleteKey(root_, full + subKeyName);
}

Status RegistryKey::DeleteValue(const std::string& valueName) {
    if (!open_) return kInvalidParameter;
    return store_.deleteValue(root_, path_, valueName);
}

}  // namespace modshelf::settings
