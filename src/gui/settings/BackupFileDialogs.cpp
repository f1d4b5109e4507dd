#include "gui/settings/BackupFileDialogs.h"

#include <QFileDialog>

namespace modshelf::gui {

namespace {

const QString kFilter = QStringLiteral("XML Files (*.xml)");

std::optional<std::string> run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace

std::optional<std::string> BackupFileDialogs::chooseBackupFile(const std::string& proposed) {
    QFileDialog dialog(parent_,
                       QStringLiteral(" Export (Back Up) Modshelf Settings and Workspaces"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    dialog.setNameFilter(kFilter);
    dialog.selectFile(QString::fromStdString(proposed));  // asks before overwriting by default
    return run(dialog);
}

std::optional<std::string> BackupFileDialogs::chooseRestoreFile(const std::string& proposed) {
    QFileDialog dialog(parent_,
                       QStringLiteral(" Import (Restore) Modshelf Settings and Workspaces"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    dialog.setNameFilter(kFilter);
    dialog.selectFile(QString::fromStdString(proposed));
    return run(dialog);
}

}  // namespace modshelf::gui
