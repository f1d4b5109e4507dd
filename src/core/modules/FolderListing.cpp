#include "core/modules/FolderListing.h"

namespace modshelf::modules {

namespace {

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

bool FolderListing::hasSideFile(const std::string& name) const {
    return sideFiles.count(name) != 0;
}

bool FolderListing::sameFilesAs(const FolderListing& other) const {
    if (readable != other.readable || files.size() != other.files.size() || names != other.names)
        return false;
    // Equal name buffers in the same order place every name alike, so only
    // the stamps are left to compare.
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!(files[i].stamp == other.files[i].stamp)) return false;
    return true;
}

void FolderListing::addFile(std::string_view name, const FileStamp& stamp, std::uint64_t fileTime,
                            bool hidden) {
    FolderFile file;
    file.nameOffset = static_cast<std::uint32_t>(names.size());
    file.nameLength = static_cast<std::uint32_t>(name.size());
    names.append(name);
    names.push_back('\0');
    file.stamp = stamp;
    file.fileTime = fileTime;
    file.hidden = hidden;
    if (endsWith(name, "-wal") || endsWith(name, "-shm") || endsWith(name, "-journal"))
        sideFiles.emplace(name);
    files.push_back(file);
}

}  // namespace modshelf::modules
