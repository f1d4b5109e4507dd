#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;

namespace modshelf::settings {
class SettingsStore;
}
namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::gui {

// Edits the name of a numbered workspace. OK stores the trimmed name as the
// workspace's title; the new tree label is then newLabel(). A name too long
// to be read back, or a name that could not be saved, is explained through
// the prompter and the dialog stays open with the typed name.
class RenameWorkspaceDialog : public QDialog {
    Q_OBJECT
public:
    RenameWorkspaceDialog(settings::SettingsStore& store, dialogs::Prompter& prompter, int number,
                          const std::string& nodeLabel, QWidget* parent = nullptr);

    // The label the tree node should carry after OK ("<07> " + name).
    const std::string& newLabel() const { return newLabel_; }

    QLineEdit* nameEdit() const { return edit_; }
    QLabel* nameLabel() const { return label_; }

    void accept() override;

private:
    settings::SettingsStore& store_;
    dialogs::Prompter& prompter_;
    int number_;
    std::string newLabel_;
    QLabel* label_;
    QLineEdit* edit_;
};

// Shows the dialog. Gives the node's new label, or the empty text when the
// tree should not change (cancelled, or the name was emptied).
std::string runRenameWorkspace(settings::SettingsStore& store, dialogs::Prompter& prompter,
                               int number, const std::string& nodeLabel, QWidget* parent);

}  // namespace modshelf::gui
