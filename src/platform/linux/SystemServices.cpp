#include "platform/linux/SystemServices.h"

#include <memory>

#include "core/modules/FolderLister.h"
#include "platform/linux/LinuxFolderLister.h"

namespace modshelf::platform {

void installSystemServices() {
    modules::installFolderLister(std::make_shared<LinuxFolderLister>());
}

}  // namespace modshelf::platform
