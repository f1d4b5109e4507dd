#include "gui/reports/ReportListCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/dialogs/Prompter.h"
#include "gui/BusyPrompter.h"
#include "gui/GuiContext.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"
#include "platform/Platform.h"

namespace modshelf::gui {

namespace cmd = app::cmd;

namespace {

// The wait cursor while a report or export is built; it goes before any box
// is shown, so that no question or notice appears under it.
bool isReportCommand(int id) {
    switch (id) {
        case cmd::kFileProperties:
        case cmd::kExportTabDelimited:
        case cmd::kExportEvenColumns:
        case cmd::kCopyListToClipboard:
        case cmd::kCopyPropertiesToClipboard:
        case cmd::kExportPropertiesToFile:
            return true;
        default:
            return false;
    }
}

}  // namespace

ReportListCommands::ReportListCommands(GuiContext& context, CFileView& list)
    : QObject(&list),
      context_(context),
      list_(list),
      chooseFile_([&list](const reports::SaveDialogSpec& dialog) {
          return askSaveFileName(list.window(), dialog);
      }),
      writer_(platform::writeFileAtomically) {}

bool ReportListCommands::handleCommand(int id) {
    switch (id) {
        case cmd::kFileProperties:
            showFileProperties();
            return true;
        case cmd::kExportTabDelimited:
            exportTabDelimited();
            return true;
        case cmd::kExportEvenColumns:
            exportEvenColumns();
            return true;
        case cmd::kCopyListToClipboard:
            copyListToClipboard();
            return true;
        case cmd::kExportPropertiesToFile:
            exportPropertiesToFile();
            return true;
        case cmd::kCopyPropertiesToClipboard:
            copyPropertiesToClipboard();
            return true;
        default:
            return false;
    }
}

bool ReportListCommands::updateCommand(int id, CommandState& state) {
    if (!isReportCommand(id)) return false;
    // Each works on any list: an empty one exports its header, and the
    // property commands tell the user when nothing is selected.
    state.enabled = true;
    return true;
}

std::optional<reports::SelectedFile> ReportListCommands::selectedFile() const {
    const int row = list_.selectedRow();
    if (row < 0) return std::nullopt;
    const modules::ModuleRecord& record = list_.model().row(row).record;
    // The list may show a long name shortened; the report reads the file on disk.
    return reports::SelectedFile{record.fileName,
                                 record.fullName.empty() ? record.fileName : record.fullName};
}

std::vector<reports::ExportRow> ReportListCommands::exportRows() const {
    const ModuleListModel& model = list_.model();
    std::vector<reports::ExportRow> rows(model.rows().size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i);
        for (int column = 0; column < 6; ++column)
            rows[i].cells[column] = model.cellText(row, column);
        rows[i].checked = model.row(row).checked;
    }
    return rows;
}

reports::ReportContext ReportListCommands::reportContext(dialogs::Prompter& prompter) {
    app::AppState& state = context_.state;
    return {state.currentFolder, state.selectedModulePath, state.moduleDetails, state.titlePrefix,
            prompter, [this](const std::string& title) {
                list_.window()->setWindowTitle(QString::fromStdString(title));
            }};
}

void ReportListCommands::showFileProperties() {
    BusyPrompter busy(context_.prompter, true);
    reports::ReportContext report = reportContext(busy);
    reports::ShowFileProperties(report, selectedFile());
}

std::string ReportListCommands::propertiesText() {
    BusyPrompter busy(context_.prompter, true);
    reports::ReportContext report = reportContext(busy);
    return reports::BuildFilePropertiesText(report, selectedFile());
}

bool ReportListCommands::confirmDetailsView() {
    return reports::ConfirmDetailsViewExport(context_.prompter,
                                             list_.viewMode() == CFileView::ViewMode::Details);
}

void ReportListCommands::saveText(reports::ExportKind kind,
                                  const std::function<std::string()>& buildText) {
    const std::optional<std::string> target = chooseFile_(reports::saveDialogFor(kind));
    if (!target) return;
    BusyPrompter busy(context_.prompter, true);
    reports::writeExportFile(*target, buildText(), writer_, busy);
}

void ReportListCommands::exportTabDelimited() {
    if (!confirmDetailsView()) return;
    saveText(reports::ExportKind::TabDelimited, [this] {
        return reports::BuildTabDelimitedText(
            exportRows(), reports::exportHasSelectionColumn(context_.state.nodeKind));
    });
}

void ReportListCommands::exportEvenColumns() {
    if (!confirmDetailsView()) return;
    saveText(reports::ExportKind::EvenColumns, [this] {
        return reports::BuildEvenColumnsText(
            exportRows(), reports::exportHasSelectionColumn(context_.state.nodeKind));
    });
}

void ReportListCommands::copyListToClipboard() {
    if (!confirmDetailsView()) return;
    std::string text;
    {
        BusyPrompter busy(context_.prompter, true);
        text = reports::BuildEvenColumnsText(
            exportRows(), reports::exportHasSelectionColumn(context_.state.nodeKind));
    }
    if (!text.empty()) putTextOnClipboard(text);
}

void ReportListCommands::exportPropertiesToFile() {
    std::string text = propertiesText();
    if (text.empty()) return;
    saveText(reports::ExportKind::FileProperties, [&text] { return std::move(text); });
}

void ReportListCommands::copyPropertiesToClipboard() {
    const std::string text = propertiesText();
    if (!text.empty()) putTextOnClipboard(text);
}

ReportListCommands* attachReportListCommands(GuiContext& context, CFileView& list) {
    auto* commands = new ReportListCommands(context, list);
    list.addCommandSet(commands);
    return commands;
}

std::optional<std::string> askSaveFileName(QWidget* parent, const reports::SaveDialogSpec& dialog) {
    QFileDialog chooser(parent, QString::fromStdString(dialog.title), QDir::currentPath(),
                        QStringLiteral("All Files (*)"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setFileMode(QFileDialog::AnyFile);
    chooser.setDefaultSuffix(QString::fromStdString(dialog.defaultSuffix));
    chooser.selectFile(QString::fromStdString(dialog.initialName));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return std::nullopt;
    return chooser.selectedFiles().front().toStdString();
}

void putTextOnClipboard(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return;
    clipboard->setText(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace modshelf::gui
