#pragma once

#include <string>
#include <vector>

namespace modshelf::host {

// Where Scrivel's two folders were found for this run. A folder that was not
// found keeps the text the search ended with, so that messages can name it.
struct HostFolderState {
    std::string resourceFolder;
    std::string userFilesFolder;
    bool resourceFolderFound = true;
    bool userFilesFolderFound = true;
    // The Windows folders the resource search tried, in its order.
    std::vector<std::string> resourceFolderSearched;
};

}  // namespace modshelf::host
