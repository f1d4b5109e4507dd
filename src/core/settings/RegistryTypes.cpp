#include "core/settings/RegistryTypes.h"
#include "core/text/AsciiText.h"

#include <algorithm>

namespace modshelf::settings {

namespace {
// Compared as unsigned bytes, so that non-ASCII bytes sort after ASCII ones.
unsigned char foldCase(char c) {
    return static_cast<unsigned char>(text::lowerAscii(c));
}
}  // namespace

RegValue RegValue::fromString(const std::string& text, std::uint32_t type) {
    RegValue v;
    v.type = type;
    v.data = text;
    v.data.push_back('\0');
    return v;
}

RegValue RegValue::fromDword(std::uint32_t number) {
    RegValue v;
    v.type = kRegDword;
    for (int i = 0; i < 4; ++i) v.data.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
    return v;
}

RegValue RegValue::fromBytes(const std::string& bytes, std::uint32_t type) {
    RegValue v;
    v.type = type;
    v.data = bytes;
    return v;
}

std::string RegValue::text() const {
    if (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz || type == kRegLink) {
        auto nul = data.find('\0');
        return nul == std::string::npos ? data : data.substr(0, nul);
    }
    return data;
}

int compareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char ca = foldCase(a[i]);
        unsigned char cb = foldCase(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

const char* rootName(RegRoot root) {
    switch (root) {
        case RegRoot::ClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case RegRoot::CurrentUser:
            return "HKEY_CURRENT_USER";
        case RegRoot::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case RegRoot::Users:
            return "HKEY_USERS";
        case RegRoot::CurrentConfig:
            return "HKEY_CURRENT_CONFIG";
    }
    return "";
}

}  // namespace modshelf::settings
