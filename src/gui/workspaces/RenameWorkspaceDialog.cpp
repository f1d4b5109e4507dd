#include "gui/workspaces/RenameWorkspaceDialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "core/workspaces/WorkspaceRename.h"

namespace modshelf::gui {

namespace {

// Dialog units follow the dialog's font: a horizontal unit is a quarter of the
// average character width, a vertical unit an eighth of the character height.
struct DialogUnits {
    explicit DialogUnits(const QFont& font) {
        QFontMetrics fm(font);
        const QString sample = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        baseX = (fm.horizontalAdvance(sample) / 26.0 + 1) / 2.0;
        baseY = fm.height();
    }
    QRect rect(int x, int y, int w, int h) const { return QRect(px(x), py(y), px(w), py(h)); }
    int px(int dlu) const { return static_cast<int>(dlu * baseX / 4.0 + 0.5); }
    int py(int dlu) const { return static_cast<int>(dlu * baseY / 8.0 + 0.5); }
    double baseX;
    double baseY;
};

}  // namespace

RenameWorkspaceDialog::RenameWorkspaceDialog(settings::SettingsStore& store,
                                             dialogs::Prompter& prompter, int number,
                                             const std::string& nodeLabel, QWidget* parent)
    : QDialog(parent), store_(store), prompter_(prompter), number_(number), newLabel_(nodeLabel) {
    setWindowTitle(QString::fromStdString(workspaces::renameWindowTitle(number)));
    setModal(true);

    DialogUnits du(font());
    setFixedSize(du.px(147), du.py(79));

    label_ = new QLabel(QString::fromStdString(workspaces::renameLabelText(number)), this);
    label_->setGeometry(du.rect(15, 11, 121, 11));
    edit_ = new QLineEdit(QString::fromStdString(workspaces::renameInitialName(nodeLabel)), this);
    edit_->setObjectName("name");
    edit_->setGeometry(du.rect(16, 23, 115, 12));
    label_->setBuddy(edit_);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName("ok");
    ok->setDefault(true);
    ok->setGeometry(du.rect(16, 48, 50, 14));
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName("cancel");
    cancel->setGeometry(du.rect(81, 48, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    edit_->setFocus();
    edit_->selectAll();
}

void RenameWorkspaceDialog::accept() {
    const std::string typed = edit_->text().toStdString();
    const auto result = workspaces::applyRename(store_, number_, typed);
    if (result.status != settings::kSuccess) {
        const bool tooLong = workspaces::renameNameTooLong(typed);
        prompter_.messageBox(
            tooLong ? result.error : workspaces::renameFailedText(number_, result.error),
            tooLong ? workspaces::kNameTooLongCaption : workspaces::kRenameFailedCaption,
            dialogs::mb::kOk | dialogs::mb::kIconExclamation, dialogs::standardParams(true));
        // The typed name stays, to be shortened or tried again.
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    newLabel_ = result.newLabel;
    QDialog::accept();
}

std::string runRenameWorkspace(settings::SettingsStore& store, dialogs::Prompter& prompter,
                               int number, const std::string& nodeLabel, QWidget* parent) {
    RenameWorkspaceDialog dialog(store, prompter, number, nodeLabel, parent);
    if (dialog.exec() != QDialog::Accepted) return "";
    if (!workspaces::renameChangesLabel(dialog.newLabel())) return "";
    return dialog.newLabel();
}

}  // namespace modshelf::gui
