#include "core/settings/RegistryXmlExport.h"

#include <algorithm>
#include <array>

#include "core/settings/RegistryTree.h"
#include "core/settings/RegistryXmlValues.h"
#include "core/settings/XmlEscaping.h"
#include "core/settings/XmlWriter.h"

namespace modshelf::settings {

namespace {

constexpr const char* kDefaultName = "(Default)";
constexpr const char* kNotSet = "(value not set)";
// The user may cancel at the first key and then every this many keys.
constexpr std::uint64_t kKeysBetweenCancelChecks = 50;

// A multi-string keeps its line breaks between the strings; everything else
// is escaped whole.
std::string escapedValueText(const KeyValueEntry& entry) {
    if (!equalsNoCase(entry.typeName, "REG_MULTI_SZ")) return EscapeXmlText(entry.text);
    std::string out;
    std::size_t start = 0;
    while (true) {
        const auto end = entry.text.find("\r\n", start);
        out += EscapeXmlText(
            std::string_view(entry.text)
                .substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        out += "\r\n";
        start = end + 2;
    }
    return out;
}

bool cancelRequested(RegistryXmlExport& context) {
    const bool due = context.keysVisited % kKeysBetweenCancelChecks == 0;
    ++context.keysVisited;
    if (due && context.cancel && context.cancel->cancelRequested()) context.cancelled = true;
    return context.cancelled;
}

}  // namespace

std::optional<RegRoot> registryRootNamed(const std::string& name) {
    constexpr std::array<RegRoot, 5> kRoots{RegRoot::ClassesRoot, RegRoot::CurrentUser,
                                            RegRoot::LocalMachine, RegRoot::Users,
                                            RegRoot::CurrentConfig};
    for (const RegRoot root : kRoots)
        if (equalsNoCase(name, rootName(root))) return root;
    return std::nullopt;
}

bool ListKeyValues(SettingsStore& store, RegRoot root, const std::string& path,
                   std::vector<KeyValueEntry>& out) {
    out.clear();
    std::vector<RegNamedValue> values;
    if (store.enumValues(root, path, values) != kSuccess) return false;
    out.reserve(values.size() + 1);
    for (const RegNamedValue& v : values) {
        const std::string& name = v.name;
        const RegValue& value = v.value;
        KeyValueEntry entry;
        const RegistryXmlValueText text = formatRegistryXmlValue(value);
        entry.text = text.text;
        entry.typeName = text.typeName;
        entry.writeType = text.writeType;
        if (name.empty()) {
            entry.name = kDefaultName;
            if (value.data.empty()) {
                entry.text = kNotSet;
                entry.set = false;
            }
        } else {
            entry.name = name;
        }
        out.push_back(std::move(entry));
    }
    // The default value leads; the rest follow by name without regard to case.
    std::stable_sort(out.begin(), out.end(), [](const KeyValueEntry& a, const KeyValueEntry& b) {
        const bool aDefault = equalsNoCase(a.name, kDefaultName);
        const bool bDefault = equalsNoCase(b.name, kDefaultName);
        if (aDefault != bDefault) return aDefault;
        return compareNoCase(a.name, b.name) < 0;
    });
    const bool hasDefault = std::any_of(
        out.begin(), out.end(), [](const KeyValueEntry& e) { return e.name == kDefaultName; });
    if (!hasDefault)
        out.insert(out.begin(), KeyValueEntry{kDefaultName, kNotSet, "", false, false});
    return true;
}

bool ExportKeyContents(RegistryXmlExport& context, RegRoot root, const std::string& path,
                       const std::string& ownName) {
    RegKeyInfo info;
    if (context.store.queryInfo(root, path, info) != kSuccess) return false;
    const bool hasContents = info.subKeys > 0 || info.values > 0;
    if (!ownName.empty()) {
        XmlElement key("k");
        key.attribute("name", EscapeXmlText(ownName));
        if (hasContents)
            context.writer.WriteStartTag(key);
        else
            context.writer.WriteEmptyElement(key);
    }
    if (cancelRequested(context)) return false;

    std::vector<KeyValueEntry> entries;
    ListKeyValues(context.store, root, path, entries);
    for (const auto& entry : entries) {
        if (!entry.set) continue;
        XmlElement element("v");
        element.attribute("name", EscapeXmlText(entry.name));
        element.attribute("value", escapedValueText(entry));
        if (entry.writeType) element.attribute("type", EscapeXmlText(entry.typeName));
        context.writer.WriteEmptyElement(element);
    }

    const std::string prefix = path.empty() ? std::string() : path + "\\";
    std::string child;
    for (std::uint32_t index = 0; context.store.enumKey(root, path, index, child) == kSuccess;
         ++index) {
        if (child.empty()) continue;
        if (!ExportKeyContents(context, root, prefix + child, child)) return false;
    }
    if (!ownName.empty() && hasContents) context.writer.WriteEndTag("k");
    return true;
}

bool ExportRegistryTree(RegistryXmlExport& context, const std::string& fullKeyPath) {
    const auto separator = fullKeyPath.find('\\');
    const std::string rootText = fullKeyPath.substr(0, separator);
    const std::string path =
        separator == std::string::npos ? "" : fullKeyPath.substr(separator + 1);
    const auto root = registryRootNamed(rootText);
    if (!root) return false;
    if (context.store.openKey(*root, path) != kSuccess) return false;

    std::vector<std::string> components{rootText};
    for (auto& part : splitKeyPath(path)) components.push_back(std::move(part));
    for (const auto& component : components) {
        XmlElement key("k");
        key.attribute("name", EscapeXmlText(component));
        context.writer.WriteStartTag(key);
    }
    const bool result = ExportKeyContents(context, *root, path, "");
    for (std::size_t i = 0; i < components.size(); ++i) context.writer.WriteEndTag("k");
    return result;
}

}  // namespace modshelf::settings
