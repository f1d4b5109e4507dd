#include "gui/workspaces/WorkspaceListCommands.h"

#include <QApplication>
#include <QMetaObject>
#include <functional>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/dialogs/Prompter.h"
#include "core/host/HostControl.h"
#include "core/host/HostInterface.h"
#include "core/workspaces/ActivationUndo.h"
#include "core/workspaces/WorkspaceActivation.h"
#include "core/workspaces/WorkspaceChecks.h"
#include "core/workspaces/WorkspaceRename.h"
#include "gui/BusyPrompter.h"
#include "gui/GuiContext.h"
#include "gui/WaitCursor.h"
#include "gui/views/CFileView.h"

namespace modshelf::gui {

namespace cmd = app::cmd;
namespace node = app::node;

namespace {

// The wait cursor of one activation: on from the moment the writing starts
// (after the questions) until the activation shows its closing notice.
using ActivationBusy = BusyPrompter;

// Offers to close a running Scrivel (when the program controls one), then
// shows the wait cursor: the writing starts right after the question.
workspaces::WorkspaceActivation::AskToCloseHost askToCloseHostThenWait(host::HostControl* control,
                                                                       ActivationBusy& busy) {
    return [control, &busy](const std::string& firstLine) {
        const bool running = control && control->askToCloseHost(firstLine, host::kHostWindowTitle);
        busy.begin();
        return running;
    };
}

// <C> shows Scrivel's own keys, which an activation changes: the list is
// filled again afterwards to show their new state.
std::function<void()> refillForCurrentSettings(CFileView& list, const app::AppState& state) {
    if (state.nodeKind != node::kCurrentSettings) return {};
    return [&list] { list.refill(); };
}

}  // namespace

WorkspaceListCommands::WorkspaceListCommands(GuiContext& context, CFileView& list)
    : QObject(&list), context_(context), list_(list) {
    list_.setCheckChangedHandler([this](int, bool) { storeChecks(); });
    // Scrivel's keys are seeded from the list's first fill at start-up: the
    // resource folder, with every module listed.
    connect(&list_, &CFileView::filled, this, [this] {
        if (seeded_) return;
        seeded_ = true;
        workspaces::WorkspaceActivation activation(context_.store, context_.prompter, {});
        activation.seedHostActivation(list_.listRows());
    });
}

bool WorkspaceListCommands::handleCommand(int id) {
    if (const int number = cmd::activatedWorkspace(id)) {
        activateWorkspace(number);
        return true;
    }
    if (id == cmd::kActivateAll) {
        activateAll();
        return true;
    }
    if (id == cmd::kUndoActivation) {
        undoActivation();
        return true;
    }
    return false;
}

bool WorkspaceListCommands::updateCommand(int id, CommandState& state) {
    if (cmd::isActivation(id)) {
        state.enabled = cmd::activationEnabled(id, context_.state.nodeKind);
        return true;
    }
    if (id == cmd::kUndoActivation) {
        state.enabled = !workspaces::undoableActivation(context_.store).empty();
        return true;
    }
    return false;
}

void WorkspaceListCommands::storeChecks() {
    const int number = context_.state.nodeKind;
    if (!node::isNumberedWorkspace(number)) return;
    const workspaces::StoreChecksResult result = [&] {
        WaitCursor busy;
        return workspaces::storeWorkspaceChecks(context_.store, number, list_.listRows());
    }();
    if (result.status != settings::kSuccess) {
        // The store has told the user why and holds the state before the
        // click; the boxes must show that state again. The refill waits until
        // the list has finished handling the click that changed the box.
        QMetaObject::invokeMethod(
            &list_, [list = &list_] { list->refill(); }, Qt::QueuedConnection);
        return;
    }
    context_.state.activeCount = result.activeCount;
}

int WorkspaceListCommands::activateWorkspace(int number) {
    // The list must show the workspace being activated: its boxes are what
    // is written.
    if (context_.state.nodeKind != number) return 0;
    ActivationBusy busy(context_.prompter, false);
    workspaces::WorkspaceActivation activation(context_.store, busy,
                                               askToCloseHostThenWait(context_.host, busy));
    return activation.activateWorkspace(workspaces::workspaceId(number), list_.listRows(),
                                        refillForCurrentSettings(list_, context_.state));
}

int WorkspaceListCommands::activateAll() {
    ActivationBusy busy(context_.prompter, false);
    workspaces::WorkspaceActivation activation(context_.store, busy,
                                               askToCloseHostThenWait(context_.host, busy));
    return activation.activateAll(context_.state.nodeKind, list_.listRows(),
                                  refillForCurrentSettings(list_, context_.state));
}

bool WorkspaceListCommands::undoActivation() {
    ActivationBusy busy(context_.prompter, false);
    workspaces::ActivationUndoFlow undo(context_.store, busy,
                                        askToCloseHostThenWait(context_.host, busy));
    const bool undone = undo.run().undone;
    if (undone && context_.state.nodeKind == node::kCurrentSettings) list_.refill();
    return undone;
}

WorkspaceListCommands* attachWorkspaceListCommands(GuiContext& context, CFileView& list) {
    auto* commands = new WorkspaceListCommands(context, list);
    list.addCommandSet(commands);
    return commands;
}

}  // namespace modshelf::gui
