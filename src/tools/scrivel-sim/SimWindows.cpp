#include "SimWindows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/host/HostControl.h"
#include "core/host/HostInterface.h"

namespace modshelf::scrivelsim {

namespace {

void handleClose(QWidget* closing, QCloseEvent* event, ClosePolicy& policy) {
    if (!policy.accept()) {
        event->ignore();
        return;
    }
    // Both windows belong to one program: closing either ends it. The others
    // are hidden first, so that once the closed window is seen gone, they are
    // too (the server handles one client's requests in order).
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != closing && window->isVisible()) window->hide();
    event->accept();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace

bool ClosePolicy::accept() {
    if (refusalsLeft_ > 0) {
        --refusalsLeft_;
        return false;
    }
    return true;
}

SimMainWindow::SimMainWindow(const std::vector<ActiveModule>& modules, const QString& prefixText,
                             ClosePolicy& policy)
    : policy_(policy) {
    setWindowTitle(QString::fromStdString(host::kHostMainWindowTitle));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* heading = new QLabel(
        tr("Modules active at start (%1), as read from the activation keys:").arg(modules.size()),
        central);
    auto* list = new QListWidget(central);
    list->setObjectName("activeModules");
    for (const ActiveModule& module : modules)
        list->addItem(QString::fromStdString(module.category) + QStringLiteral(": ") +
                      QString::fromStdString(module.tabName));
    if (modules.empty()) list->addItem(tr("(no active Bibles, commentaries or dictionaries)"));
    layout->addWidget(heading);
    layout->addWidget(list);
    setCentralWidget(central);
    statusBar()->showMessage(prefixText);
    resize(520, 420);
}

void SimMainWindow::closeEvent(QCloseEvent* event) {
    handleClose(this, event, policy_);
}

SimNameWindow::SimNameWindow(ClosePolicy& policy) : policy_(policy) {
    setWindowTitle(QString::fromStdString(host::kHostWindowTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Scrivel stand-in is running."), this));
    resize(260, 60);
}

void SimNameWindow::closeEvent(QCloseEvent* event) {
    handleClose(this, event, policy_);
}

}  // namespace modshelf::scrivelsim
