#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <set>

#include "gui/dialogs/XMessageBox.h"

namespace modshelf::gui::testing {

// Acts on every real message box that comes up while the watcher lives, once
// per box, from inside the box's own modal loop, as a user would.
class BoxWatcher {
public:
    explicit BoxWatcher(std::function<void(XMessageBox&)> act) : act_(std::move(act)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
        timer_.start(5);
    }

    int seen() const { return seen_; }

private:
    void look() {
        auto* box = qobject_cast<XMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || handled_.count(box)) return;
        handled_.insert(box);
        ++seen_;
        act_(*box);
    }

    std::function<void(XMessageBox&)> act_;
    QTimer timer_;
    std::set<const XMessageBox*> handled_;
    int seen_ = 0;
};

}  // namespace modshelf::gui::testing
