#pragma once

#include <QLabel>
#include <map>
#include <vector>

#include "gui/ModshelfView.h"

namespace modshelf::gui::testing {

// A pane that handles the commands it is given and records what reached it.
class FakeView : public QLabel, public ModshelfView {
public:
    FakeView(const char* name, QWidget* parent) : QLabel(QString::fromLatin1(name), parent) {
        setObjectName(QString::fromLatin1(name));
        setFocusPolicy(Qt::StrongFocus);
    }

    // The command is handled here; its update says enabled and checked as given.
    void handles(int id, bool enabled = true, bool checked = false) {
        states_[id] = {enabled, checked};
    }

    bool handleCommand(int id) override {
        if (!states_.count(id)) return false;
        handled.push_back(id);
        return true;
    }
    bool updateCommand(int id, CommandState& state) override {
        const auto found = states_.find(id);
        if (found == states_.end()) return false;
        state = found->second;
        return true;
    }
    void onUpdate(ModshelfView* sender) override { updatesFrom.push_back(sender); }
    QWidget* widget() override { return this; }

    std::vector<int> handled;
    std::vector<ModshelfView*> updatesFrom;

private:
    std::map<int, CommandState> states_;
};

}  // namespace modshelf::gui::testing
