#include "core/app/HelpPaths.h"
#include "core/text/AsciiText.h"

#include <cctype>
#include <system_error>

namespace modshelf::app {

namespace {

std::string::size_type fileNameStart(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? 0 : separator + 1;
}

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string helpFilePathFor(const std::string& programPath) {
    const auto nameStart = fileNameStart(programPath);
    std::string folder = programPath.substr(0, nameStart);
    std::string name = programPath.substr(nameStart);
    const auto dot = name.rfind('.');
    name = (dot == std::string::npos ? name : name.substr(0, dot)) + ".hlp";
    name = text::lowerAscii(name);
    name.replace(name.size() - 4, 4, ".chm");
    return folder + name;
}

std::string offlinePagePathFor(const std::string& programPath) {
    auto separator = programPath.rfind('\\');
    if (separator == std::string::npos) separator = programPath.rfind('/');
    if (separator == std::string::npos) return kOfflinePage;
    std::string folder = programPath.substr(0, separator);
    const char mark = programPath[separator];
    if (!folder.empty() && folder.back() != mark) folder += mark;
    return folder + kOfflinePage;
}

std::optional<std::filesystem::path> findHelpFolder(const std::filesystem::path& programDir) {
    const std::filesystem::path candidates[] = {
        programDir / "help", programDir.parent_path() / "share" / "modshelf" / "help"};
    for (const auto& candidate : candidates)
        if (isFile(candidate / kHelpContentsPage)) return candidate.lexically_normal();
    return std::nullopt;
}

std::filesystem::path helpPagePath(const std::filesystem::path& programDir,
                                   const std::string& page) {
    if (const auto folder = findHelpFolder(programDir)) return *folder / page;
    return programDir / "help" / page;
}

}  // namespace modshelf::app
