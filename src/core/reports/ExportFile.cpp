#include "core/reports/ExportFile.h"

#include "core/dialogs/Prompter.h"

namespace modshelf::reports {

bool writeExportFile(const std::filesystem::path& target, std::string_view text,
                     const ExportFileWriter& writer, dialogs::Prompter& prompter) {
    std::string error;
    if (writer(target, text, error)) return true;
    prompter.plainMessage("The file " + target.string() + " could not be saved.\n\n" + error,
                          " Export Failed");
    return false;
}

}  // namespace modshelf::reports
