#include "gui/views/ViewIcons.h"

#include <QApplication>
#include <QFile>
#include <QStyle>

namespace modshelf::gui {

const char* viewIconResource(ViewIcon icon) {
    switch (icon) {
        case ViewIcon::FixedDrive:
            return ":/icons/drive-fixed.svg";
        case ViewIcon::RemovableDrive:
            return ":/icons/drive-removable.svg";
        case ViewIcon::OpticalDrive:
            return ":/icons/drive-optical.svg";
        case ViewIcon::FolderClosed:
            return ":/icons/folder-closed.svg";
        case ViewIcon::FolderOpen:
            return ":/icons/folder-open.svg";
        case ViewIcon::HostFolder:
            return ":/icons/host-folder.svg";
        case ViewIcon::ModuleFile:
            return ":/icons/module-file.svg";
        case ViewIcon::OtherFile:
        default:
            return ":/icons/other-file.svg";
    }
}

namespace {

QStyle::StandardPixmap fallbackOf(ViewIcon icon) {
    switch (icon) {
        case ViewIcon::FixedDrive:
            return QStyle::SP_DriveHDIcon;
        case ViewIcon::RemovableDrive:
            return QStyle::SP_DriveFDIcon;
        case ViewIcon::OpticalDrive:
            return QStyle::SP_DriveCDIcon;
        case ViewIcon::FolderClosed:
            return QStyle::SP_DirClosedIcon;
        case ViewIcon::FolderOpen:
            return QStyle::SP_DirOpenIcon;
        case ViewIcon::HostFolder:
            return QStyle::SP_DirHomeIcon;
        case ViewIcon::ModuleFile:
            return QStyle::SP_FileDialogDetailedView;
        case ViewIcon::OtherFile:
        default:
            return QStyle::SP_FileIcon;
    }
}

}  // namespace

QIcon viewIcon(ViewIcon icon) {
    const char* resource = viewIconResource(icon);
    if (QFile::exists(QString::fromLatin1(resource))) return QIcon(QString::fromLatin1(resource));
    return QApplication::style()->standardIcon(fallbackOf(icon));
}

}  // namespace modshelf::gui
