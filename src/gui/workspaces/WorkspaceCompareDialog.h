#pragma once

#include <QDialog>
#include <functional>

#include "core/workspaces/WorkspaceFlags.h"

class QComboBox;
class QLabel;
class QListWidget;

namespace modshelf::gui {

// Shows two lists of modules side by side: what activating a workspace would
// turn on and off, or what is active in one workspace and not in another.
// Nothing is written from here.
class WorkspaceCompareDialog : public QDialog {
    Q_OBJECT
public:
    explicit WorkspaceCompareDialog(QWidget* parent = nullptr);

    // Fills the two lists with their headings.
    void showLists(const QString& explanation, const QString& leftHeading,
                   const std::vector<workspaces::ModuleRef>& left, const QString& rightHeading,
                   const std::vector<workspaces::ModuleRef>& right);

    // Lets the user choose the two sides: `choices` are the labels, `compare`
    // fills the lists for the chosen indexes.
    using Compare = std::function<void(int first, int second)>;
    void offerChoice(const QStringList& choices, int first, int second, Compare compare);

    QComboBox* firstChoice() const { return first_; }
    QComboBox* secondChoice() const { return second_; }
    QListWidget* leftList() const { return left_; }
    QListWidget* rightList() const { return right_; }

private:
    void compareChosen();

    QLabel* explanation_ = nullptr;
    QComboBox* first_ = nullptr;
    QLabel* with_ = nullptr;
    QComboBox* second_ = nullptr;
    QLabel* leftHeading_ = nullptr;
    QLabel* rightHeading_ = nullptr;
    QListWidget* left_ = nullptr;
    QListWidget* right_ = nullptr;
    Compare compare_;
};

// "Bible  KJV": one entry of the lists.
QString moduleText(const workspaces::ModuleRef& module);

}  // namespace modshelf::gui
