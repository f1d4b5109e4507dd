#include "gui/settings/BackupFileDialogs.h"

#include <QFileDialog>

namespace modshelf::gui {

namespace {

// The backup's file dialog: an XML file to write, or an existing one to read.
std::optional<std::string> chooseXmlFile(QWidget* parent, const QString& title, bool save,
                                         const std::string& proposed) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    dialog.setNameFilter(QStringLiteral("XML Files (*.xml)"));
    dialog.selectFile(QString::fromStdString(proposed));  // asks before overwriting by default
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace

std::optional<std::string> BackupFileDialogs::chooseBackupFile(const std::string& proposed) {
    return chooseXmlFile(parent_,
                         QStringLiteral(" Export (Back Up) Modshelf Settings and Workspaces"), true,
                         proposed);
}

std::optional<std::string> BackupFileDialogs::chooseRestoreFile(const std::string& proposed) {
    return chooseXmlFile(parent_,
                         QStringLiteral(" Import (Restore) Modshelf Settings and Workspaces"),
                         false, proposed);
}

}  // namespace modshelf::gui
