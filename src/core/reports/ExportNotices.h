#pragma once

#include <string>

namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::reports {

// The list exports always write the six columns of the Details view. In any
// other view mode the user is told so first; true when the export goes on.
bool ConfirmDetailsViewExport(dialogs::Prompter& prompter, bool inDetailsView);

// The save dialog of a file export.
struct SaveDialogSpec {
    std::string initialName;  // in the current folder
    std::string title;
    std::string defaultSuffix = "txt";
};

// The three exports that are saved to a file.
enum class ExportKind { TabDelimited, EvenColumns, FileProperties };

// The save dialog of each file export.
const SaveDialogSpec& saveDialogFor(ExportKind kind);

}  // namespace modshelf::reports
