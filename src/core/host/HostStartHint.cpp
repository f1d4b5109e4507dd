#include "core/host/HostStartHint.h"

#include "core/host/DriveMap.h"
#include "core/host/HostControl.h"
#include "core/host/HostInterface.h"

namespace modshelf::host {

std::string hostStartFailureText(const HostFolderState& state, const DriveMap& drives) {
    if (!state.resourceFolderFound)
        return "Scrivel could not be started: its folder was not found.\n\n"
               "Modshelf looks for a folder that holds Scrivel's Bible modules (" +
               std::string(kResourceFolderMarker) + "): first where Scrivel's settings \"" +
               std::string(kResourcesPathValue) +
               "\" and \"Path\" point, then in the program files folder, then in " +
               std::string(kDefaultHostFolder) +
               ". None of them holds one.\n\nStart Scrivel once from Wine, or install it, and "
               "refresh the list (F5) or start Modshelf again.";
    return "Scrivel could not be started.\n\nModshelf tried to start " +
           drives.displayPath(state.resourceFolder + HostControl::kExecutableName) +
           ". Check that the file is there and that Wine is installed.";
}

}  // namespace modshelf::host
