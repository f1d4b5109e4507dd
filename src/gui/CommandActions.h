#pragma once

#include <QIcon>
#include <QObject>
#include <functional>
#include <map>

class QAction;
class QWidget;

namespace modshelf::gui {

// One QAction per command of the command table, with its text, shortcut,
// status prompt, tooltip, icon and check mark. Triggering an action hands its
// id to the dispatcher (the frame's command routing).
class CommandActions : public QObject {
    Q_OBJECT
public:
    CommandActions(QWidget* owner, std::function<void(int id)> dispatch);

    // The action of a command, or nullptr for an unknown id.
    QAction* action(int id) const;
    const std::map<int, QAction*>& actions() const { return actions_; }

private:
    std::map<int, QAction*> actions_;
};

// The program's own icon of this name (":/icons/<name>.svg"); a null icon
// when the set has none of that name.
QIcon commandIcon(const char* name);

}  // namespace modshelf::gui
