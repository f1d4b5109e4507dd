#include "gui/CommandActions.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QKeySequence>
#include <QWidget>

#include "core/app/CommandTable.h"

namespace modshelf::gui {

QIcon commandIcon(const char* name) {
    const QString path = QStringLiteral(":/icons/%1.svg").arg(QString::fromUtf8(name));
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

CommandActions::CommandActions(QWidget* owner, std::function<void(int id)> dispatch)
    : QObject(owner) {
    for (const app::CommandInfo& info : app::commandTable()) {
        // "&" marks the menu mnemonic (Alt+W, then a letter).
        auto* action = new QAction(QString::fromStdString(info.text), owner);
        action->setData(info.id);
        action->setStatusTip(QString::fromStdString(info.statusPrompt()));
        const std::string tip = info.toolTip();
        action->setToolTip(QString::fromStdString(tip.empty() ? info.plainText() : tip));
        if (!info.shortcut.empty()) {
            action->setShortcut(QKeySequence(QString::fromStdString(info.shortcut)));
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (!info.icon.empty()) action->setIcon(commandIcon(info.icon.c_str()));
        // Menus show the icons of the toolbar only; the menu stays plain text.
        action->setIconVisibleInMenu(false);
        action->setCheckable(info.checkable);
        // Shortcuts work whichever pane has the focus.
        owner->addAction(action);
        const int id = info.id;
        connect(action, &QAction::triggered, this, [dispatch, id] { dispatch(id); });
        actions_[id] = action;
    }
}

QAction* CommandActions::action(int id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

}  // namespace modshelf::gui
