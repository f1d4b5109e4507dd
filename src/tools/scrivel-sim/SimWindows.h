#pragma once

#include <QMainWindow>
#include <QWidget>
#include <vector>

#include "ActiveModules.h"

class QCloseEvent;

namespace modshelf::scrivelsim {

// Decides what a close request does: the first `refusals` requests are
// refused (as a host that asks its own question and is told Cancel), any later
// one ends the program, whichever of its windows it reached.
class ClosePolicy {
public:
    explicit ClosePolicy(int refusals) : refusalsLeft_(refusals) {}
    // True when the program should end.
    bool accept();

private:
    int refusalsLeft_;
};

// The main window: the title with the tagline and the active modules.
class SimMainWindow : public QMainWindow {
    Q_OBJECT
public:
    SimMainWindow(const std::vector<ActiveModule>& modules, const QString& prefixText,
                  ClosePolicy& policy);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ClosePolicy& policy_;
};

// The small window titled with the name alone, which says that Scrivel runs.
class SimNameWindow : public QWidget {
    Q_OBJECT
public:
    explicit SimNameWindow(ClosePolicy& policy);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ClosePolicy& policy_;
};

}  // namespace modshelf::scrivelsim
