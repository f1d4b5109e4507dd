#include "core/settings/RegistryXmlImport.h"

#include <optional>
#include <ostream>
#include <unordered_map>

#include "core/settings/RegistryAccess.h"
#include "core/settings/RegistryXmlExport.h"
#include "core/settings/RegistryXmlValues.h"
#include "core/settings/XmlEscaping.h"
#include "core/settings/XmlReader.h"
#include "core/text/AsciiText.h"

namespace modshelf::settings {

namespace {

constexpr const char* kDefaultName = "(Default)";

std::string joinPath(const std::vector<std::string>& parts, std::size_t from) {
    std::string path;
    for (std::size_t i = from; i < parts.size(); ++i) {
        if (!path.empty()) path += '\\';
        path += parts[i];
    }
    return path;
}

std::string foldedPath(const std::string& path) {
    return text::lowerAscii(path);
}

// Whether a name from the file (entities not yet decoded) is `expected`
// without regard to case; names without entities need no decoding.
bool isName(const std::string& raw, const char* expected) {
    if (raw.find('&') == std::string::npos) return equalsNoCase(raw, expected);
    return equalsNoCase(UnescapeXmlText(raw), expected);
}

// One open "k" element.
struct OpenKey {
    std::vector<std::string> components;  // the full path, root name first
    bool named = false;
    long planIndex = -1;  // where its values go; -1 for a key leading to the subtree
};

class ImportReading {
public:
    ImportReading(XmlReader& reader, const std::string& allowedKey)
        : reader_(reader), allowed_(splitKeyPath(allowedKey)) {}

    RegistryXmlImport run() {
        while (result_.ok() && reader_.Next()) handleEvent();
        if (!result_.ok()) return std::move(result_);  // refused while reading
        if (reader_.HadError())
            refuse(RegistryXmlImport::Problem::ParseError, reader_.GetErrorText());
        else if (reader_.EndedInsideMarkup() || !stack_.empty() || registryOpen_)
            refuse(RegistryXmlImport::Problem::Incomplete, "");
        else if (result_.keys.empty())
            refuse(RegistryXmlImport::Problem::NoSettings, "");
        return std::move(result_);
    }

private:
    void refuse(RegistryXmlImport::Problem problem, const std::string& detail) {
        result_.problem = problem;
        result_.detail = detail;
        result_.line = reader_.GetLineNumber();
        result_.keys.clear();
    }

    void handleEvent() {
        switch (reader_.GetEvent()) {
            case 1: {  // start tag
                const std::string& element = reader_.GetElementName();
                if (isName(element, "k")) stack_.push_back(OpenKey{});
                if (isName(element, "registry")) registryOpen_ = true;
                if (isName(element, "v")) clearValue();
                break;
            }
            case 3:
                attribute();
                break;
            case 2: {  // end tag
                const std::string& element = reader_.GetElementName();
                if (isName(element, "k")) {
                    if (!stack_.empty()) stack_.pop_back();
                } else if (isName(element, "v")) {
                    if (!stack_.empty()) storeValue();
                    clearValue();
                } else if (isName(element, "registry")) {
                    registryOpen_ = false;
                }
                break;
            }
            default:
                break;
        }
    }

    void clearValue() {
        valueName_.clear();
        valueData_.clear();
        valueType_.clear();
    }

    void attribute() {
        const std::string& element = reader_.GetElementName();
        const std::string name = UnescapeXmlText(reader_.GetAttributeName());
        std::string value = UnescapeXmlText(reader_.GetAttributeValue());
        if (isName(element, "k") && name == "name" && !stack_.empty()) {
            nameKey(value);
        } else if (isName(element, "v")) {
            // A name starts a new value and a value text drops an earlier
            // type: the attributes come in the order name, value, type.
            if (name == "name") {
                valueName_ = std::move(value);
                valueData_.clear();
                valueType_.clear();
            } else if (name == "value") {
                valueData_ = std::move(value);
                valueType_.clear();
            } else if (name == "type") {
                valueType_ = std::move(value);
            }
        }
    }

    void nameKey(const std::string& name) {
        OpenKey& key = stack_.back();
        key.components =
            stack_.size() > 1 ? stack_[stack_.size() - 2].components : std::vector<std::string>{};
        for (auto& part : splitKeyPath(name)) key.components.push_back(std::move(part));
        key.named = true;
        key.planIndex = -1;
        if (key.components.empty()) return;

        const std::size_t common = std::min(key.components.size(), allowed_.size());
        for (std::size_t i = 0; i < common; ++i) {
            if (!equalsNoCase(key.components[i], allowed_[i])) {
                refuse(RegistryXmlImport::Problem::ForeignKey, joinPath(key.components, 0));
                return;
            }
        }
        if (key.components.size() < allowed_.size()) return;  // on the way down to the subtree

        const std::string path = joinPath(key.components, 1);
        auto [found, inserted] =
            planIndexByPath_.try_emplace(foldedPath(path), result_.keys.size());
        if (inserted) result_.keys.push_back(ImportedKey{path, {}});
        key.planIndex = static_cast<long>(found->second);
    }

    void storeValue() {
        const OpenKey& key = stack_.back();
        if (!key.named) {
            refuse(RegistryXmlImport::Problem::BadValue, valueName_);
            return;
        }
        if (key.planIndex < 0) {
            // A value in a key that leads to the subtree is someone else's setting.
            refuse(RegistryXmlImport::Problem::ForeignKey, joinPath(key.components, 0));
            return;
        }
        auto value = parseRegistryXmlValue(valueType_, valueData_);
        if (!value) {
            refuse(RegistryXmlImport::Problem::BadValue, valueName_);
            return;
        }
        const std::string name = equalsNoCase(valueName_, kDefaultName) ? "" : valueName_;
        result_.keys[static_cast<std::size_t>(key.planIndex)].values.push_back(
            NamedValue{name, std::move(*value)});
    }

    XmlReader& reader_;
    const std::vector<std::string> allowed_;
    RegistryXmlImport result_;
    std::vector<OpenKey> stack_;
    std::unordered_map<std::string, std::size_t> planIndexByPath_;
    bool registryOpen_ = false;
    std::string valueName_, valueData_, valueType_;
};

// Puts `keys` in place of the subtree, inside the caller's operation.
bool replaceSubtree(SettingsStore& store, RegRoot root, const std::string& path,
                    const std::vector<ImportedKey>& keys) {
    std::ostream nowhere(nullptr);
    if (!DeleteKeyTree(store, root, path, nowhere)) return false;
    if (store.openKey(root, path) == kSuccess) return false;
    for (const auto& key : keys) {
        if (store.createKey(root, key.path) != kSuccess) return false;
        for (const auto& value : key.values)
            if (store.setValue(root, key.path, value.name, value.value) != kSuccess) return false;
    }
    return true;
}

void capture(SettingsStore& store, RegRoot root, const std::string& path,
             std::vector<ImportedKey>& out) {
    ImportedKey key{path, {}};
    std::vector<RegNamedValue> values;
    store.enumValues(root, path, values);
    for (RegNamedValue& v : values)
        key.values.push_back(NamedValue{std::move(v.name), std::move(v.value)});
    out.push_back(std::move(key));
    std::string name;
    std::vector<std::string> children;
    for (std::uint32_t i = 0; store.enumKey(root, path, i, name) == kSuccess; ++i)
        children.push_back(name);
    for (const auto& child : children) capture(store, root, path + "\\" + child, out);
}

}  // namespace

RegistryXmlImport ReadRegistryXml(XmlReader& reader, const std::string& allowedKey) {
    ImportReading reading(reader, allowedKey);
    RegistryXmlImport result = reading.run();
    reader.Close();
    return result;
}

std::vector<ImportedKey> CaptureSubtree(SettingsStore& store, RegRoot root,
                                        const std::string& path) {
    std::vector<ImportedKey> keys;
    if (store.openKey(root, path) == kSuccess) capture(store, root, path, keys);
    return keys;
}

bool ApplyRegistryImport(SettingsStore& store, const std::string& allowedKey,
                         const std::vector<ImportedKey>& keys, std::string& error) {
    const auto separator = allowedKey.find('\\');
    const auto root = registryRootNamed(allowedKey.substr(0, separator));
    if (!root || separator == std::string::npos) {
        error = "The settings key is not valid.";
        return false;
    }
    const std::string path = allowedKey.substr(separator + 1);

    // The user hears about a failed save here, with the restore's own message.
    QuietSaves quiet(store);
    const std::vector<ImportedKey> before = CaptureSubtree(store, *root, path);
    SettingsOperation operation(store);
    if (!replaceSubtree(store, *root, path, keys)) {
        // Nothing has been saved yet: put the settings back as they were, so
        // that the save at the end of the operation keeps them.
        replaceSubtree(store, *root, path, before);
        operation.commit();
        error = "The settings store refused to take the restored settings.";
        return false;
    }
    if (operation.commit() != kSuccess) {
        error = store.lastError();
        return false;
    }
    return true;
}

bool ImportRegistryXml(SettingsStore& store, const std::string& filePath,
                       const std::string& allowedKey, RegistryXmlImport& read, std::string& error) {
    XmlReader reader;
    reader.SetFile(filePath);
    read = ReadRegistryXml(reader, allowedKey);
    return read.ok() && ApplyRegistryImport(store, allowedKey, read.keys, error);
}

}  // namespace modshelf::settings
