#include "gui/views/ViewIcons.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPalette>
#include <QPixmap>
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

bool darkBase() {
    return QApplication::palette().color(QPalette::Base).lightness() < 128;
}

// The dark navy and slate outlines vanish on a dark background; there they
// are drawn in a light blue-grey instead.
QIcon withLightOutlines(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) return QIcon(resource);
    QByteArray svg = file.readAll();
    for (const char* dark : {"#1b4f72", "#2e4053", "#273746", "#34495e"})
        svg.replace(dark, "#d6eaf8");
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        QBuffer buffer(&svg);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "svg");
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon.isNull() ? QIcon(resource) : icon;
}

}  // namespace

QIcon viewIcon(ViewIcon icon) {
    const char* resource = viewIconResource(icon);
    if (QFile::exists(QString::fromLatin1(resource))) {
        const QString path = QString::fromLatin1(resource);
        return darkBase() ? withLightOutlines(path) : QIcon(path);
    }
    return QApplication::style()->standardIcon(fallbackOf(icon));
}

}  // namespace modshelf::gui
