#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/reports/ExportFile.h"
#include "core/reports/ExportNotices.h"
#include "core/reports/FileProperties.h"
#include "core/reports/ListExport.h"
#include "gui/CommandTarget.h"

namespace modshelf::gui {

struct GuiContext;
class CFileView;

// What the module list reports and exports: "Display File Properties", the
// three list exports (tab-delimited file, even-column file, clipboard) and
// the two exports of the selected file's information (file, clipboard). It
// lives as long as the list (its parent).
class ReportListCommands : public QObject, public CommandTarget {
    Q_OBJECT
public:
    ReportListCommands(GuiContext& context, CFileView& list);

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

    // Asks where to save an export; nothing when the user cancels. The
    // program shows a save dialog; tests answer in its place.
    using SaveFileChooser =
        std::function<std::optional<std::string>(const reports::SaveDialogSpec& dialog)>;
    void setSaveFileChooser(SaveFileChooser chooser) { chooseFile_ = std::move(chooser); }
    // How a file is written; the program replaces the file atomically.
    void setFileWriter(reports::ExportFileWriter writer) { writer_ = std::move(writer); }

    void showFileProperties();
    void exportTabDelimited();
    void exportEvenColumns();
    void copyListToClipboard();
    void exportPropertiesToFile();
    void copyPropertiesToClipboard();

    // The list's items in their on-screen order, as the exports read them.
    std::vector<reports::ExportRow> exportRows() const;

private:
    std::optional<reports::SelectedFile> selectedFile() const;
    bool confirmDetailsView();
    void saveText(reports::ExportKind kind, const std::function<std::string()>& buildText);
    reports::ReportContext reportContext(dialogs::Prompter& prompter);
    std::string propertiesText();

    GuiContext& context_;
    CFileView& list_;
    SaveFileChooser chooseFile_;
    reports::ExportFileWriter writer_;
};

// Gives the list its report and export commands (owned by the list).
ReportListCommands* attachReportListCommands(GuiContext& context, CFileView& list);

// Shows the save dialog of an export: its title and initial name in the
// current folder, every file shown, the default suffix added and an existing
// file replaced only after asking.
std::optional<std::string> askSaveFileName(QWidget* parent, const reports::SaveDialogSpec& dialog);

// Puts 8-bit text of the system code page on the clipboard as plain text.
void putTextOnClipboard(const std::string& text);

}  // namespace modshelf::gui
