#include "core/reports/ExportNotices.h"

#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"

namespace modshelf::reports {

bool ConfirmDetailsViewExport(dialogs::Prompter& prompter, bool inDetailsView) {
    if (inDetailsView) return true;
    dialogs::MessageBoxParams params;
    params.textColour = 0x00FF0000;        // blue
    params.backgroundColour = 0x00FFFFFF;  // white
    const int answer = prompter.messageBox(
        "Please note : Regardless of the current Files List\nview mode, exporting will be of "
        "Details View only.",
        " Export in Details View Mode", dialogs::mb::kOkCancel | dialogs::mb::kIconInformation,
        params);
    return (answer & ~static_cast<int>(dialogs::id::kTimeoutFlag)) == dialogs::id::kOk;
}

const SaveDialogSpec& saveDialogFor(ExportKind kind) {
    static const SaveDialogSpec tabDelimited{"TabDelimited.txt",
                                             " Save List to a Tab-Delimited Text File"};
    static const SaveDialogSpec evenColumns{"EvenColumns.txt",
                                            " Save List to a Text File with Even Columns"};
    static const SaveDialogSpec properties{"FileProperties.txt",
                                           " Save File Information to a Text File"};
    switch (kind) {
        case ExportKind::TabDelimited:
            return tabDelimited;
        case ExportKind::EvenColumns:
            return evenColumns;
        case ExportKind::FileProperties:
            break;
    }
    return properties;
}

}  // namespace modshelf::reports
