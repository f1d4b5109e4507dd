#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/RegistryTypes.h"

namespace modshelf::settings {

struct NamedValue {
    std::string name;  // empty: the key's default value
    RegValue value;
};

// One key of an in-memory registry branch. Subkeys and values are kept sorted
// without regard to case, so lookups are binary searches and enumeration by
// index is direct.
struct KeyNode {
    std::string name;
    std::vector<KeyNode> subkeys;
    std::vector<NamedValue> values;

    // What a hive file keeps beside the data: the key's modification time in
    // Unix seconds and as a FILETIME (100-ns ticks since 1601; either may be
    // 0: unknown), and lines that a loader did not interpret, written back
    // unchanged.
    std::int64_t modified = 0;
    std::uint64_t fileTime = 0;
    std::vector<std::string> extraLines;

    KeyNode* findSubkey(const std::string& child);
    const KeyNode* findSubkey(const std::string& child) const;
    KeyNode& subkey(const std::string& child);  // finds or inserts
    bool removeSubkey(const std::string& child);

    NamedValue* findValue(const std::string& valueName);
    const NamedValue* findValue(const std::string& valueName) const;
    void setValue(const std::string& valueName, RegValue value);
    bool removeValue(const std::string& valueName);

    std::size_t valueCount() const;  // in this key and below
};

// Splits "A\B\\C\" into {"A", "B", "C"}: empty components are ignored.
std::vector<std::string> splitKeyPath(const std::string& path);

// One branch (for example HKEY_CURRENT_USER) held in memory.
class RegistryTree {
public:
    KeyNode& root() { return root_; }
    const KeyNode& root() const { return root_; }

    KeyNode* find(const std::string& path);
    const KeyNode* find(const std::string& path) const;
    KeyNode& findOrCreate(const std::string& path);
    // Removes the key at path, subkeys included. False when there is none.
    bool remove(const std::string& path);

private:
    KeyNode root_;
};

}  // namespace modshelf::settings
