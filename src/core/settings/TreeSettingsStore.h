#pragma once

#include <array>

#include "core/settings/RegistryTree.h"
#include "core/settings/SettingsStore.h"

namespace modshelf::settings {

// One change to a branch, as a file-backed store may need to replay it on a
// fresh copy of its file.
struct TreeChange {
    enum class Kind { CreateKey, SetValue, DeleteValue, DeleteKey };
    Kind kind = Kind::CreateKey;
    RegistryTree* tree = nullptr;
    std::string path;  // within tree
    std::string name;  // value name, for the value kinds
    RegValue value;    // for SetValue
};

// Applies a change to a branch (the tree named in the change is not used).
// `changed` tells whether the branch is different afterwards.
Status applyTreeChange(RegistryTree& tree, const TreeChange& change, bool& changed);

// Stamps a changed key with the current time.
void touchKey(KeyNode& node);

// A SettingsStore over in-memory branches, one per root. Subclasses decide how
// the branches are loaded and saved, and may map a root onto another branch.
class TreeSettingsStore : public SettingsStore {
public:
    Status createKey(RegRoot root, const std::string& path) override;
    Status openKey(RegRoot root, const std::string& path) override;
    Status queryValue(RegRoot root, const std::string& path, const std::string& name,
                      RegValue& out) override;
    Status setValue(RegRoot root, const std::string& path, const std::string& name,
                    const RegValue& value) override;
    Status deleteValue(RegRoot root, const std::string& path, const std::string& name) override;
    Status enumKey(RegRoot root, const std::string& path, std::uint32_t index,
                   std::string& name) override;
    Status enumValue(RegRoot root, const std::string& path, std::uint32_t index, std::string& name,
                     RegValue& value) override;
    Status queryInfo(RegRoot root, const std::string& path, RegKeyInfo& info) override;
    Status enumValues(RegRoot root, const std::string& path,
                      std::vector<RegNamedValue>& values) override;
    Status deleteKey(RegRoot root, const std::string& path) override;

    RegistryTree& branch(RegRoot root) { return branches_[static_cast<std::size_t>(root)]; }
    const RegistryTree& branch(RegRoot root) const {
        return branches_[static_cast<std::size_t>(root)];
    }

protected:
    Status change(TreeChange change);

    struct Location {
        RegistryTree* tree;
        std::string path;
    };
    // Where a root's path lives; by default each root is its own branch.
    virtual Location locate(RegRoot root, const std::string& path);

    // Called before each access, so a file-backed store can notice that its
    // file changed underneath it.
    virtual void beforeAccess() {}

    // Called after each change has been made, before it is saved.
    virtual void recordChange(const TreeChange& /*change*/) {}

    std::array<RegistryTree, 5> branches_;
};

}  // namespace modshelf::settings
