#pragma once

#include <QPointer>
#include <QWidget>

#include "core/settings/BackupFiles.h"

namespace modshelf::gui {

// The save and open dialogs of the backup and restore commands.
class BackupFileDialogs : public settings::BackupFileChooser {
public:
    explicit BackupFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<std::string> chooseBackupFile(const std::string& proposed) override;
    std::optional<std::string> chooseRestoreFile(const std::string& proposed) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace modshelf::gui
