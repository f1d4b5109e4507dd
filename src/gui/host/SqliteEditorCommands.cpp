#include "gui/host/SqliteEditorCommands.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <filesystem>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/host/SqliteEditor.h"
#include "gui/GuiContext.h"
#include "gui/views/CFileView.h"
#include "platform/Platform.h"

namespace modshelf::gui {

namespace cmd = app::cmd;

namespace {

// Shows folders and the files that can serve as an editor.
class EditorFilesFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!files) return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || isOfferedAsEditor(info);
    }
};

std::optional<std::string> chooseEditorProgram(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral(" Select Preferred SQLite Editor .EXE"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The filter needs Qt's own dialog: the system's cannot be given one.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new EditorFilesFilter(&dialog));
    dialog.setNameFilter(QStringLiteral("Programs (*)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

// A Windows program is named so, or begins as one does.
bool isWindowsProgramFile(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).suffix().compare("exe", Qt::CaseInsensitive) ==
               0 ||
           platform::NativeProgramLauncher::isWindowsExecutable(path);
}

}  // namespace

bool isOfferedAsEditor(const QFileInfo& file) {
    if (!file.isFile()) return false;
    return file.isExecutable() || file.suffix().compare("exe", Qt::CaseInsensitive) == 0;
}

SqliteEditorCommands::SqliteEditorCommands(GuiContext& context, CFileView& list,
                                           host::ProgramLauncher& launcher)
    : QObject(&list),
      context_(context),
      list_(list),
      launcher_(launcher),
      choose_(chooseEditorProgram) {}

SqliteEditorCommands::~SqliteEditorCommands() = default;

host::SqliteEditor SqliteEditorCommands::editor() const {
    host::SqliteEditor::System system;
    system.launcher = &launcher_;
    system.fileExists = [](const std::string& path) {
        std::error_code error;
        return std::filesystem::is_regular_file(path, error);
    };
    system.isWindowsProgram = isWindowsProgramFile;
    system.drives = context_.drives;
    return host::SqliteEditor(context_.store, context_.prompter, system);
}

bool SqliteEditorCommands::handleCommand(int id) {
    if (id == cmd::kConfigureSqliteEditor) {
        if (const auto chosen = choose_(list_.window())) editor().configure(*chosen);
        return true;
    }
    if (id == cmd::kOpenSqliteEditor) {
        editor().open(context_.state.selectedModulePath);
        return true;
    }
    return false;
}

bool SqliteEditorCommands::updateCommand(int id, CommandState& state) {
    if (id == cmd::kConfigureSqliteEditor) {
        state.enabled = true;
        return true;
    }
    if (id == cmd::kOpenSqliteEditor) {
        state.enabled = editor().configured();
        return true;
    }
    return false;
}

SqliteEditorCommands* attachSqliteEditorCommands(GuiContext& context, CFileView& list) {
    // The launcher lives with the commands: both belong to the list.
    struct OwnedLauncher : QObject {
        explicit OwnedLauncher(QObject* parent)
            : QObject(parent), launcher(platform::winePrefixPath()) {}
        platform::NativeProgramLauncher launcher;
    };
    auto* owned = new OwnedLauncher(&list);
    auto* commands = new SqliteEditorCommands(context, list, owned->launcher);
    list.addCommandSet(commands);
    return commands;
}

}  // namespace modshelf::gui
