#include "gui/views/DriveKinds.h"
#include "core/text/AsciiText.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <algorithm>
#include <cctype>

namespace modshelf::gui {
namespace {

// Optical devices and their usual mount points: /dev/sr0, /dev/scd0,
// /media/cdrom, /mnt/dvd, /media/user/cd ...
bool looksOptical(const std::string& lowerPath) {
    if (lowerPath.rfind("/dev/sr", 0) == 0 || lowerPath.rfind("/dev/scd", 0) == 0) return true;
    std::size_t start = 0;
    while (start <= lowerPath.size()) {
        std::size_t end = lowerPath.find('/', start);
        if (end == std::string::npos) end = lowerPath.size();
        const std::string part = lowerPath.substr(start, end - start);
        if (part.rfind("cdrom", 0) == 0 || part.rfind("dvd", 0) == 0 || part == "cd") return true;
        start = end + 1;
    }
    return false;
}

bool underMediaMount(const std::string& path) {
    for (const char* root : {"/media/", "/run/media/", "/mnt/"})
        if (path.rfind(root, 0) == 0) return true;
    return false;
}

// Whether the block device behind /dev/<name> says it is removable.
bool deviceIsRemovable(const QByteArray& device) {
    if (!device.startsWith("/dev/")) return false;
    QString name = QString::fromLocal8Bit(device.mid(5));
    // A partition's removable flag sits on its disk, one folder up.
    for (const QString& candidate :
         {QStringLiteral("/sys/class/block/%1/removable").arg(name),
          QStringLiteral("/sys/class/block/%1/../removable").arg(name)}) {
        QFile file(candidate);
        if (file.open(QIODevice::ReadOnly)) return file.readAll().trimmed() == "1";
    }
    return false;
}

}  // namespace

DriveKind driveKindOf(const host::Drive& drive, const std::filesystem::path& prefix) {
    std::error_code error;
    const char letter = text::lowerAscii(drive.letter);
    const std::filesystem::path deviceLink =
        prefix / "dosdevices" / (std::string(1, letter) + "::");
    if (std::filesystem::is_symlink(deviceLink, error)) {
        std::string target =
            text::lowerAscii(std::filesystem::read_symlink(deviceLink, error).string());
        if (looksOptical(target)) return DriveKind::Optical;
    }

    const std::string rootText = drive.root.string();
    const std::string lowerRoot = text::lowerAscii(rootText);
    if (!drive.present) {
        // A drive without its medium still shows, ready for one.
        if (looksOptical(lowerRoot)) return DriveKind::Optical;
        if (underMediaMount(rootText)) return DriveKind::Removable;
        return DriveKind::NoRoot;
    }

    QStorageInfo storage(QString::fromStdString(rootText));
    if (storage.isValid()) {
        const QByteArray type = storage.fileSystemType().toLower();
        const QByteArray device = storage.device();
        if (type == "iso9660" || type == "udf" ||
            looksOptical(text::lowerAscii(device.toStdString())))
            return DriveKind::Optical;
        if (deviceIsRemovable(device)) return DriveKind::Removable;
    }
    if (looksOptical(lowerRoot)) return DriveKind::Optical;
    if (underMediaMount(rootText)) return DriveKind::Removable;
    return DriveKind::Fixed;
}

std::vector<DriveEntry> treeDrives(const host::DriveMap& drives,
                                   const std::filesystem::path& prefix) {
    std::vector<DriveEntry> entries;
    for (const host::Drive& drive : drives.drives())
        entries.push_back({drive.label(), drive.root, driveKindOf(drive, prefix)});
    if (!entries.empty()) return entries;

    for (const QFileInfo& root : QDir::drives()) {
        const std::string path = root.absoluteFilePath().toStdString();
        entries.push_back({path, path, DriveKind::Fixed});
    }
    return entries;
}

}  // namespace modshelf::gui
