#include "core/settings/RegistryTree.h"

#include <algorithm>

namespace modshelf::settings {

namespace {

template <typename Vec>
auto lowerBoundByName(Vec& items, const std::string& name) {
    return std::lower_bound(
        items.begin(), items.end(), name,
        [](const auto& item, const std::string& n) { return compareNoCase(item.name, n) < 0; });
}

template <typename Vec>
auto findByName(Vec& items, const std::string& name) {
    auto it = lowerBoundByName(items, name);
    if (it != items.end() && compareNoCase(it->name, name) == 0) return it;
    return items.end();
}

}  // namespace

KeyNode* KeyNode::findSubkey(const std::string& child) {
    auto it = findByName(subkeys, child);
    return it == subkeys.end() ? nullptr : &*it;
}

const KeyNode* KeyNode::findSubkey(const std::string& child) const {
    auto it = findByName(subkeys, child);
    return it == subkeys.end() ? nullptr : &*it;
}

KeyNode& KeyNode::subkey(const std::string& child) {
    auto it = lowerBoundByName(subkeys, child);
    if (it != subkeys.end() && compareNoCase(it->name, child) == 0) return *it;
    KeyNode node;
    node.name = child;
    return *subkeys.insert(it, std::move(node));
}

bool KeyNode::removeSubkey(const std::string& child) {
    auto it = findByName(subkeys, child);
    if (it == subkeys.end()) return false;
    subkeys.erase(it);
    return true;
}

NamedValue* KeyNode::findValue(const std::string& valueName) {
    auto it = findByName(values, valueName);
    return it == values.end() ? nullptr : &*it;
}

const NamedValue* KeyNode::findValue(const std::string& valueName) const {
    auto it = findByName(values, valueName);
    return it == values.end() ? nullptr : &*it;
}

void KeyNode::setValue(const std::string& valueName, RegValue value) {
    auto it = lowerBoundByName(values, valueName);
    if (it != values.end() && compareNoCase(it->name, valueName) == 0) {
        it->value = std::move(value);  // the name keeps the case it was created with
        return;
    }
    values.insert(it, NamedValue{valueName, std::move(value)});
}

bool KeyNode::removeValue(const std::string& valueName) {
    auto it = findByName(values, valueName);
    if (it == values.end()) return false;
    values.erase(it);
    return true;
}

std::size_t KeyNode::valueCount() const {
    std::size_t n = values.size();
    for (const auto& k : subkeys) n += k.valueCount();
    return n;
}

std::vector<std::string> splitKeyPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

KeyNode* RegistryTree::find(const std::string& path) {
    KeyNode* node = &root_;
    for (const auto& part : splitKeyPath(path)) {
        node = node->findSubkey(part);
        if (!node) return nullptr;
    }
    return node;
}

const KeyNode* RegistryTree::find(const std::string& path) const {
    const KeyNode* node = &root_;
    for (const auto& part : splitKeyPath(path)) {
        node = node->findSubkey(part);
        if (!node) return nullptr;
    }
    return node;
}

KeyNode& RegistryTree::findOrCreate(const std::string& path) {
    KeyNode* node = &root_;
    for (const auto& part : splitKeyPath(path)) node = &node->subkey(part);
    return *node;
}

bool RegistryTree::remove(const std::string& path) {
    auto parts = splitKeyPath(path);
    if (parts.empty()) return false;
    const std::string last = parts.back();
    parts.pop_back();
    KeyNode* parent = &root_;
    for (const auto& part : parts) {
        parent = parent->findSubkey(part);
        if (!parent) return false;
    }
    return parent->removeSubkey(last);
}

}  // namespace modshelf::settings
