#pragma once

#include <string>
#include <vector>

namespace modshelf::dialogs {

// The program's terms, in order: our own MIT licence, then the notices for
// the software it is built with and for Scrivel, which it does not include.
std::vector<std::string> licenseParagraphs(const std::string& version);

// The text of the licence dialog: every paragraph followed by a blank line,
// then the first paragraph once more, so that it stands at both ends.
std::string licenseText(const std::vector<std::string>& paragraphs);

}  // namespace modshelf::dialogs
