#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace modshelf::app {

// The help file path kept for the whole run: the program's own path with the
// extension ".hlp" (added when it has none), the file name lower-cased and
// ".hlp" turned into ".chm". The folder keeps its case: on a case-sensitive
// file system a lower-cased folder would name a place that does not exist.
std::string helpFilePathFor(const std::string& programPath);

// The offline page "Modshelf.htm" in the program's folder.
std::string offlinePagePathFor(const std::string& programPath);

// Our HTML help pages.
inline constexpr const char* kHelpContentsPage = "index.html";
inline constexpr const char* kHelpIndexPage = "topics.html";
inline constexpr const char* kOfflinePage = "Modshelf.htm";

// The folder of the help pages: "help" beside the program (where the build
// puts a copy of them) or, for an installed program, share/modshelf/help
// beside its bin folder. Nothing when neither holds the contents page. The
// source tree is never searched: a build folder may be anywhere.
std::optional<std::filesystem::path> findHelpFolder(const std::filesystem::path& programDir);

// Where a help page is: in the help folder when there is one, otherwise where
// it should have been beside the program (so that the user learns what is
// missing).
std::filesystem::path helpPagePath(const std::filesystem::path& programDir,
                                   const std::string& page);

}  // namespace modshelf::app
