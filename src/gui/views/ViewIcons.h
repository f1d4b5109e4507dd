#pragma once

#include <QIcon>

namespace modshelf::gui {

// The images of the tree and the list.
enum class ViewIcon {
    FixedDrive,  // fixed, network or RAM drive
    RemovableDrive,
    OpticalDrive,
    FolderClosed,  // also the placeholder child
    FolderOpen,    // the selected folder
    HostFolder,    // Scrivel's folders and the workspace nodes
    ModuleFile,    // a file of one of the seventeen kinds
    OtherFile,
};

// The icon from the program's icon set (":/icons/<name>.svg"), or the style's
// nearest standard icon when the set lacks it.
QIcon viewIcon(ViewIcon icon);
// The resource name looked for, for example ":/icons/drive-fixed.svg".
const char* viewIconResource(ViewIcon icon);

}  // namespace modshelf::gui
