#include "platform/linux/SystemServices.h"

#include <memory>

#include "core/host/FolderAccess.h"
#include "core/modules/FolderLister.h"
#include "platform/linux/LinuxFolderAccess.h"
#include "platform/linux/LinuxFolderLister.h"

namespace modshelf::platform {

void installSystemServices() {
    modules::installFolderLister(std::make_shared<LinuxFolderLister>());
    host::installFolderAccess(std::make_shared<LinuxFolderAccess>());
}

}  // namespace modshelf::platform
