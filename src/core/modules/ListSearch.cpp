#include "core/modules/ListSearch.h"
#include "core/text/AsciiText.h"

#include <algorithm>

namespace modshelf::modules {

namespace {

using text::lowerAscii;

bool containsNoCase(std::string_view haystack, std::string_view needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                       [](char a, char b) { return lowerAscii(a) == lowerAscii(b); }) !=
           haystack.end();
}

}  // namespace

bool rowMatchesSearch(const ModuleRecord& record, std::string_view text) {
    return text.empty() || containsNoCase(record.fileName, text) ||
           containsNoCase(record.tabName, text) || containsNoCase(record.description, text);
}

}  // namespace modshelf::modules
