#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::gui {

// Edits the name of a numbered workspace. OK stores the trimmed name as the
// workspace's title; the new tree label is then newLabel().
class RenameWorkspaceDialog : public QDialog {
    Q_OBJECT
public:
    RenameWorkspaceDialog(settings::SettingsStore& store, int number, const std::string& nodeLabel,
                          QWidget* parent = nullptr);

    // The label the tree node should carry after OK ("<07> " + name).
    const std::string& newLabel() const { return newLabel_; }

    QLineEdit* nameEdit() const { return edit_; }
    QLabel* nameLabel() const { return label_; }

    void accept() override;

private:
    settings::SettingsStore& store_;
    int number_;
    std::string newLabel_;
    QLabel* label_;
    QLineEdit* edit_;
};

// Shows the dialog. Gives the node's new label, or the empty text when the
// tree should not change (cancelled, or the name was emptied).
std::string runRenameWorkspace(settings::SettingsStore& store, int number,
                               const std::string& nodeLabel, QWidget* parent);

}  // namespace modshelf::gui
