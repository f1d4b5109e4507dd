#include "core/settings/ReadOnlySettings.h"

namespace modshelf::settings {

Status ReadOnlySettings::createKey(RegRoot root, const std::string& path) {
    return store_.openKey(root, path);
}
Status ReadOnlySettings::openKey(RegRoot root, const std::string& path) {
    return store_.openKey(root, path);
}
Status ReadOnlySettings::queryValue(RegRoot root, const std::string& path, const std::string& name,
                                    RegValue& out) {
    return store_.queryValue(root, path, name, out);
}
Status ReadOnlySettings::setValue(RegRoot, const std::string&, const std::string&,
                                  const RegValue&) {
    return kAccessDenied;
}
Status ReadOnlySettings::deleteValue(RegRoot, const std::string&, const std::string&) {
    return kAccessDenied;
}
Status ReadOnlySettings::enumKey(RegRoot root, const std::string& path, std::uint32_t index,
                                 std::string& name) {
    return store_.enumKey(root, path, index, name);
}
Status ReadOnlySettings::enumValue(RegRoot root, const std::string& path, std::uint32_t index,
                                   std::string& name, RegValue& value) {
    return store_.enumValue(root, path, index, name, value);
}
Status ReadOnlySettings::queryInfo(RegRoot root, const std::string& path, RegKeyInfo& info) {
    return store_.queryInfo(root, path, info);
}
Status ReadOnlySettings::enumValues(RegRoot root, const std::string& path,
                                    std::vector<RegNamedValue>& values) {
    return store_.enumValues(root, path, values);
}
Status ReadOnlySettings::deleteKey(RegRoot, const std::string&) {
    return kAccessDenied;
}
Status ReadOnlySettings::save(std::string&) {
    return kSuccess;  // nothing can be pending: every write was refused
}

}  // namespace modshelf::settings
