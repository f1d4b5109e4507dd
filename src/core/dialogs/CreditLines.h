#pragma once

#include <string>
#include <vector>

namespace modshelf::dialogs {

// The lines of the star crawl in the about box, top to bottom.
std::vector<std::string> crawlCredits(const std::string& version);

// The pages of the code rain in the about box: the first stands 4 seconds
// once decoded, the second 5, each ended by a page-end line.
std::vector<std::string> rainCredits(const std::string& version);

}  // namespace modshelf::dialogs
