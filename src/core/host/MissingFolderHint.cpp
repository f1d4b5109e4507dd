#include "core/host/MissingFolderHint.h"

#include "core/host/DriveMap.h"
#include "core/host/HostFolders.h"
#include "core/host/HostInterface.h"

namespace modshelf::host {

namespace {

bool sameFolder(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && ensureTrailingSeparator(a) == ensureTrailingSeparator(b);
}

std::string notFoundText(const HostFolderState& state) {
    std::string places;
    for (std::size_t i = 0; i < state.resourceFolderSearched.size(); ++i) {
        if (i > 0) places += i + 1 == state.resourceFolderSearched.size() ? " and " : ", ";
        places += state.resourceFolderSearched[i];
    }
    if (places.empty()) places = std::string(kDefaultHostFolder);
    return "Scrivel's folder was not found: no folder of its Bible modules (" +
           std::string(kResourceFolderMarker) + ") in " + places +
           ". Install Scrivel or start it once, then press F5.";
}

}  // namespace

std::string missingFolderHint(const HostFolderState& state, const std::string& listedFolder,
                              bool listedReadable, const DriveMap& drives) {
    const std::string shown = drives.displayPath(ensureTrailingSeparator(listedFolder));
    if (!state.resourceFolderFound) {
        // Without Scrivel's folder the list starts in the default one; any
        // other folder the user picked needs no word about Scrivel.
        if (!listedReadable || listedFolder.empty() ||
            sameFolder(listedFolder, defaultHostFolder(drives)))
            return notFoundText(state);
        return {};
    }
    if (listedReadable) return {};
    if (sameFolder(listedFolder, state.resourceFolder))
        return "Scrivel's folder " + shown +
               " is missing: it was moved or deleted after Modshelf started. Press F5 when it "
               "is back.";
    if (state.userFilesFolderFound && sameFolder(listedFolder, state.userFilesFolder))
        return "Scrivel's notes folder " + shown +
               " is missing: it was moved or deleted after Modshelf started. Press F5 when it "
               "is back.";
    if (listedFolder.empty()) return {};
    return "The folder " + shown + " cannot be read: it was moved or deleted, or is closed to you.";
}

}  // namespace modshelf::host
