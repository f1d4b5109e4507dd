#include "core/modules/FolderLister.h"

#include <stdexcept>

namespace modshelf::modules {

namespace {

// Read by scanning threads; replaced only while no scan runs (at start, and
// by tests between scans).
std::shared_ptr<const FolderLister>& installed() {
    static std::shared_ptr<const FolderLister> lister;
    return lister;
}

}  // namespace

std::shared_ptr<const FolderLister> installFolderLister(
    std::shared_ptr<const FolderLister> lister) {
    std::shared_ptr<const FolderLister> previous = std::move(installed());
    installed() = std::move(lister);
    return previous;
}

const FolderLister& folderLister() {
    const std::shared_ptr<const FolderLister>& lister = installed();
    if (!lister) throw std::logic_error("no folder lister is installed");
    return *lister;
}

}  // namespace modshelf::modules
