#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace modshelf::gui {

// One entry of the help window's contents pane.
struct HelpTopic {
    std::string title;
    std::string page;  // file name inside the help folder
};

// The contents of the help pages, in the order a reader meets them: the
// contents page itself, every local page it links to (once each, external
// addresses and anchors left out), then the index page when it exists.
// Titles are the link texts with their markup and entities resolved.
std::vector<HelpTopic> readHelpContents(const std::filesystem::path& folder);

// Link targets and texts of one HTML text, in order (exposed for tests).
std::vector<HelpTopic> linksOf(const std::string& html);

}  // namespace modshelf::gui
