#include "gui/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <filesystem>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/app/FrameSettings.h"
#include "core/app/FrameTexts.h"
#include "core/app/Startup.h"
#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "core/host/DriveMap.h"
#include "core/host/HostControl.h"
#include "core/host/HostFolders.h"
#include "core/host/HostStartHint.h"
#include "gui/CModshelfDoc.h"
#include "gui/CommandActions.h"
#include "gui/GuiContext.h"
#include "gui/HelpCommands.h"
#include "gui/MainMenus.h"
#include "gui/MainStatusBar.h"
#include "gui/MainToolBar.h"
#include "gui/ModshelfView.h"
#include "gui/WindowPlacement.h"

namespace modshelf::gui {

namespace {
// How often the toolbar and the counts pane are brought up to date while the
// program is otherwise idle.
constexpr int kIdleUpdateMs = 250;
}  // namespace

CMainFrame::CMainFrame(GuiContext& context, const FrameViews& views, CommandTarget* application,
                       std::string programPath)
    : context_(context), application_(application), programPath_(std::move(programPath)) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Modshelf"));
    help_ = std::make_unique<HelpCommands>(context_, programPath_);
    help_->setWindowParent(this);

    // 1. The client area with both views (which fill the tree and the list),
    //    then the actions, menus and toolbar.
    createPanes(views);
    actions_ = new CommandActions(this, [this](int id) { routeCommand(id); });
    buildMainMenus(*menuBar(), *actions_, [this](QMenu* menu) { updateMenu(menu); });
    toolBar_ = createMainToolBar(*this, *actions_);
    // 2. The status bar with its two panes.
    statusBar_ = new MainStatusBar(this);
    setStatusBar(statusBar_);
    // 3. Placement, 4. stay on top, 5. the start-up values.
    restorePlacement();
    context_.state.stayOnTop = app::readStayOnTop(context_.store, context_.state.stayOnTop);
    applyStayOnTop(context_.state.stayOnTop == 1);
    app::writeStartupValues(context_.store, context_.state);

    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusMoved(now); });
    idleTimer_ = new QTimer(this);
    connect(idleTimer_, &QTimer::timeout, this, &CMainFrame::updateCommandUi);
    idleTimer_->start(kIdleUpdateMs);
    updateCommandUi();
}

CMainFrame::~CMainFrame() {
    if (context_.document) {
        context_.document->removeView(tree_);
        context_.document->removeView(list_);
    }
}

void CMainFrame::createPanes(const FrameViews& views) {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("frameSplitter"));
    splitter_->setChildrenCollapsible(false);
    // The list first: the tree's creation selects a folder and announces it
    // to the list through the document.
    if (views.createList) {
        list_ = views.createList(context_, splitter_);
        if (list_ && context_.document) context_.document->addView(list_);
    }
    if (views.createTree) {
        tree_ = views.createTree(context_, splitter_);
        if (tree_ && context_.document) context_.document->addView(tree_);
    }
    if (tree_) splitter_->insertWidget(0, tree_->widget());
    if (list_) splitter_->insertWidget(tree_ ? 1 : 0, list_->widget());
    if (tree_ && list_) {
        splitter_->setStretchFactor(0, 0);
        splitter_->setStretchFactor(1, 1);
        splitter_->setSizes({kTreeWidth, qMax(width() - kTreeWidth, kTreeWidth)});
    }
    setCentralWidget(splitter_);
    // The tree is the first pane and the active view until another takes the focus.
    activeView_ = tree_ ? tree_ : list_;
}

QAction* CMainFrame::action(int id) const {
    return actions_ ? actions_->action(id) : nullptr;
}

void CMainFrame::setActiveView(ModshelfView* view) {
    if (view == tree_ || view == list_) activeView_ = view;
}

void CMainFrame::focusMoved(QWidget* now) {
    for (QWidget* w = now; w; w = w->parentWidget()) {
        if (tree_ && w == tree_->widget()) {
            activeView_ = tree_;
            return;
        }
        if (list_ && w == list_->widget()) {
            activeView_ = list_;
            return;
        }
    }
}

bool CMainFrame::routeCommand(int id) {
    bool handled =
        (activeView_ && activeView_->handleCommand(id)) ||
        (context_.document && context_.document->handleCommand(id)) || handleCommand(id) ||
        (application_ && application_->handleCommand(id)) ||
        (context_.document && context_.document->routeCommandToAllViews(activeView_, id));
    // A command usually changes what the toolbar should show.
    updateCommandUi();
    return handled;
}

CommandState CMainFrame::routeUpdate(int id, bool* answered) {
    CommandState state;
    if (QAction* a = action(id)) state.checked = a->isChecked();
    const bool found =
        (activeView_ && activeView_->updateCommand(id, state)) ||
        (context_.document && context_.document->updateCommand(id, state)) ||
        updateCommand(id, state) || (application_ && application_->updateCommand(id, state)) ||
        (context_.document && context_.document->routeUpdateToAllViews(activeView_, id, state));
    // Nothing answers for a command whose feature is not there: it stays disabled.
    if (!found) state.enabled = false;
    if (answered) *answered = found;
    return state;
}

void CMainFrame::updateAction(QAction* a) {
    const int id = a->data().toInt();
    if (id == 0) return;
    const CommandState state = routeUpdate(id);
    if (a->isEnabled() != state.enabled) a->setEnabled(state.enabled);
    if (a->isCheckable() && a->isChecked() != state.checked) a->setChecked(state.checked);
}

void CMainFrame::updateMenu(QMenu* menu) {
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && !a->menu()) updateAction(a);
}

void CMainFrame::updateCommandUi() {
    if (toolBar_ && !toolBar_->isHidden())
        for (QAction* a : toolBar_->actions())
            if (!a->isSeparator()) updateAction(a);
    // Shortcuts of hidden menus must not run disabled commands either.
    if (actions_)
        for (const auto& [id, a] : actions_->actions())
            if (!a->shortcut().isEmpty()) updateAction(a);
    updateStatusPane();
}

void CMainFrame::updateStatusPane() {
    if (!statusBar_) return;
    if (!list_) {
        statusBar_->setCountsEnabled(false);
        return;
    }
    statusBar_->setCountsEnabled(true);
    const auto& state = context_.state;
    statusBar_->setCountsText(QString::fromStdString(
        app::statusPaneText(state.fileCount, state.activeCount,
                            app::node::isWorkspace(state.nodeKind), state.shownCount)));
}

void CMainFrame::restorePlacement() {
    if (const auto stored = app::readWindowPos(context_.store))
        if (applyPlacement(*this, *stored)) return;
    // First start (or a placement on a screen that has gone): a size that
    // shows the six columns, centred on the primary screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        const QSize size(std::min(1100, available.width() * 9 / 10),
                         std::min(720, available.height() * 9 / 10));
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, available));
    }
}

void CMainFrame::applyStayOnTop(bool onTop) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    const bool wasVisible = isVisible();
    const bool placed = testAttribute(Qt::WA_Moved);
    const QRect placement = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing the flag moves the window back to its old frame position; before
    // the first show that is taken as the inner one, and the window would creep
    // by its frame at every start. Put the inner rectangle back.
    if (wasVisible || placed) setGeometry(placement);
    // Changing the flag also hides a shown window.
    if (wasVisible) show();
}

bool CMainFrame::handleCommand(int id) {
    using namespace app::cmd;
    switch (id) {
        case kStayOnTop:
            applyStayOnTop(app::toggleStayOnTop(context_.store, context_.state));
            return true;
        case kSingleTabRow:
        case kMultiTabRows:
            app::writeTabStyle(context_.store, id == kSingleTabRow);
            return true;
        case kShowToolBar:
            if (toolBar_) toolBar_->setVisible(toolBar_->isHidden());
            return true;
        case kShowStatusBar:
            if (statusBar_) statusBar_->setVisible(statusBar_->isHidden());
            return true;
        case kExit:
            close();
            return true;
        case kStartHost:
        case kStopHost:
        case kStopAndStartHost:
            if (!context_.host) return false;
            if (id == kStartHost && !context_.host->startHost()) {
                const host::DriveMap noDrives;
                context_.prompter.messageBox(
                    host::hostStartFailureText(context_.state,
                                               context_.drives ? *context_.drives : noDrives),
                    host::kHostStartFailureCaption,
                    dialogs::mb::kOk | dialogs::mb::kIconExclamation,
                    dialogs::standardParams(true));
            }
            if (id == kStopHost) context_.host->stopHost();
            if (id == kStopAndStartHost) context_.host->stopAndStartHost();
            return true;
        default:
            return help_->handleCommand(id);
    }
}

bool CMainFrame::updateCommand(int id, CommandState& state) {
    using namespace app::cmd;
    switch (id) {
        case kStayOnTop:
            state.enabled = true;
            if (const auto check = app::stayOnTopCheck(context_.state.stayOnTop))
                state.checked = *check;
            return true;
        case kSingleTabRow:
        case kMultiTabRows: {
            const bool single = app::isSingleTabRow(context_.store);
            state.enabled = true;
            state.checked = (id == kSingleTabRow) == single;
            return true;
        }
        case kShowToolBar:
            state.enabled = toolBar_ != nullptr;
            state.checked = toolBar_ && !toolBar_->isHidden();
            return true;
        case kShowStatusBar:
            state.enabled = statusBar_ != nullptr;
            state.checked = statusBar_ && !statusBar_->isHidden();
            return true;
        case kExit:
            state.enabled = true;
            return true;
        case kStartHost:
        case kStopHost:
        case kStopAndStartHost:
            if (!context_.host) return false;
            state.enabled = true;
            return true;
        default:
            return help_->updateCommand(id, state);
    }
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (titled_) return;
    titled_ = true;
    // The tree is the first view: it starts with the focus and as the active view.
    if (tree_) {
        tree_->widget()->setFocus(Qt::OtherFocusReason);
        activeView_ = tree_;
    }
    const host::DriveMap noDrives;
    const host::DriveMap& drives = context_.drives ? *context_.drives : noDrives;
    const std::string folder = host::currentFolderOrDefault(context_.state.currentFolder, drives);
    setWindowTitle(QString::fromStdString(
        app::startTitle(context_.state.titlePrefix, drives.displayPath(folder))));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The single-instance marker stays with the application until the process
    // ends: notices of this close may still be shown.
    if (!context_.state.settingsRestored)
        app::writeWindowPos(context_.store, capturePlacement(*this));
    std::error_code error;
    app::deleteRtfWorkFile(std::filesystem::current_path(error));
    idleTimer_->stop();
    event->accept();
}

}  // namespace modshelf::gui
