#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "core/reports/CodePage.h"

namespace modshelf::modules {
struct ModuleDetails;
}
namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::reports {

// The row of the list the report is about.
struct SelectedFile {
    std::string listedName;  // as the list shows it (a long name may be shortened)
    std::string diskName;    // the name on disk
};

// Who reads the report: the message box, or a text file and the clipboard.
enum class ReportUse { Display, File };

struct FileReport {
    bool isModule = false;
    std::string text;
    std::string caption;  // the message box's caption
};

// The report about `file` in `folder`: heading, size, date and, for a module,
// its tab name, description and comments as plain text. A file that cannot be
// found gives the heading alone. Display reports add the kind-guess line, cut
// long comments and double "&"; file reports end lines with "\r\n".
FileReport buildFileReport(const std::string& folder, const SelectedFile& file, ReportUse use,
                           CodePage codePage = systemCodePage());

// "The file was last modified on 03/09/16 at 12:30 AM", from local time.
std::string modifiedLine(const std::tm& localTime);

// The kind-guess line of a module file, or empty.
std::string kindGuessLine(const std::string& fileName);

// What the report needs from the program: the list's folder, the selected
// path and latest details it updates, the title's prefix, the message box and
// a way to set the main window's title.
struct ReportContext {
    const std::string& currentFolder;
    std::string& selectedModulePath;
    modules::ModuleDetails& moduleDetails;
    const std::string& titlePrefix;
    dialogs::Prompter& prompter;
    std::function<void(const std::string& title)> setTitle;
};

// "Display File Properties": shows the report of the selected file, or the
// notice that nothing is selected.
void ShowFileProperties(ReportContext& context, const std::optional<SelectedFile>& selected);

// The report as text with "\r\n" line ends for the property exports; empty
// (after the notice) when nothing is selected.
std::string BuildFilePropertiesText(ReportContext& context,
                                    const std::optional<SelectedFile>& selected);

}  // namespace modshelf::reports
