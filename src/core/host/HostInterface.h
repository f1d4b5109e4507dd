#pragma once

#include <string>
#include <string_view>

// What Modshelf relies on in Scrivel, the host program whose modules it
// manages: folder markers, registry keys and value names, window titles, the
// executable and the module table layout. Any host that keeps these serves.
namespace modshelf::host {

// Folder markers: a resource folder holds at least one Bible module, a user
// files folder at least one note file. "*.not" also finds ".notx" files, as a
// short-name search on Windows would.
inline constexpr std::string_view kResourceFolderMarker = "*.bblx";
inline constexpr std::string_view kUserFilesFolderMarker = "*.not";

// The user files folder is this subfolder of the user's documents folder.
inline constexpr std::string_view kUserFilesSubfolder = "Scrivel";

// Where Scrivel installs itself when nothing else says so (a Windows path).
inline constexpr std::string_view kDefaultHostFolder = "C:\\Program Files (x86)\\Scrivel\\";

// Scrivel's settings, below HKEY_CURRENT_USER.
inline constexpr std::string_view kHostSettingsKey =
    "Software\\VB and VBA Program Settings\\Scrivel\\Settings";
inline constexpr std::string_view kResourcesPathValue = "Resources Path";
inline constexpr std::string_view kPathValue = "Path";
inline constexpr std::string_view kTabStyleValue = "Tab Style";
inline constexpr std::string_view kTabStyleOneRow = "1";
inline constexpr std::string_view kTabStyleSeveralRows = "0";

// Scrivel's activation record, below HKEY_CURRENT_USER: one text value per
// module tab name in each category subkey. Taken as present when the Resource
// key has more than two subkeys.
inline constexpr std::string_view kHostResourceKey =
    "Software\\VB and VBA Program Settings\\Scrivel\\Resource";
inline constexpr std::string_view kBiblesSubkey = "Bibles";
inline constexpr std::string_view kCommentariesSubkey = "Commentaries";
inline constexpr std::string_view kDictionariesSubkey = "Dictionaries";
inline constexpr std::string_view kActiveText = "True";
inline constexpr std::string_view kInactiveText = "False";
// The value that records a module as active or inactive.
inline std::string activationText(bool active) {
    return std::string(active ? kActiveText : kInactiveText);
}

// Windows' own settings that locate the program files and documents folders.
inline constexpr std::string_view kProgramFilesKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr std::string_view kProgramFilesDirValue = "ProgramFilesDir";
inline constexpr std::string_view kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr std::string_view kPersonalValue = "Personal";

// While Scrivel runs, a top-level window titled exactly "Scrivel" exists; its
// main window's title is "Scrivel - " followed by a fixed tagline.
inline const std::string kHostWindowTitle = "Scrivel";
inline constexpr std::string_view kHostMainWindowTitlePrefix = "Scrivel - ";
inline constexpr std::string_view kHostMainWindowTagline = "Bible Study Software";
// The main window's exact title.
inline const std::string kHostMainWindowTitle =
    std::string(kHostMainWindowTitlePrefix) + std::string(kHostMainWindowTagline);

// Scrivel is started by opening this file in the resource folder.
inline constexpr std::string_view kHostExecutable = "Scrivel.exe";

// Every module is a SQLite database with a Details table whose first row holds,
// by column position, the description, the tab name and the RTF comments.
inline constexpr std::string_view kDetailsTable = "Details";
inline constexpr std::string_view kDetailsQuery = "SELECT * FROM Details LIMIT 1;";
inline constexpr int kDescriptionColumn = 0;
inline constexpr int kTabNameColumn = 1;
inline constexpr int kCommentsColumn = 2;
// A field holding exactly this text is empty.
inline constexpr std::string_view kEmptyFieldText = "-1";

}  // namespace modshelf::host
