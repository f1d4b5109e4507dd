#include "core/host/FolderAccess.h"

#include <stdexcept>

namespace modshelf::host {

namespace {

// Replaced only while nothing reads it (at start, and by tests).
std::shared_ptr<const FolderAccess>& installed() {
    static std::shared_ptr<const FolderAccess> access;
    return access;
}

}  // namespace

std::shared_ptr<const FolderAccess> installFolderAccess(
    std::shared_ptr<const FolderAccess> access) {
    std::shared_ptr<const FolderAccess> previous = std::move(installed());
    installed() = std::move(access);
    return previous;
}

const FolderAccess& folderAccess() {
    const std::shared_ptr<const FolderAccess>& access = installed();
    if (!access) throw std::logic_error("no folder access is installed");
    return *access;
}

}  // namespace modshelf::host
