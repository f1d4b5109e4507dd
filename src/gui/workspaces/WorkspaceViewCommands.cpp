#include "gui/workspaces/WorkspaceViewCommands.h"

#include <QDialog>
#include <QStringList>
#include <algorithm>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/modules/ModuleScan.h"
#include "core/workspaces/WorkspaceFlags.h"
#include "core/workspaces/WorkspaceMatrix.h"
#include "gui/GuiContext.h"
#include "gui/WaitCursor.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"
#include "gui/workspaces/WorkspaceCompareDialog.h"
#include "gui/workspaces/WorkspaceMatrixDialog.h"

namespace modshelf::gui {

namespace cmd = app::cmd;
namespace node = app::node;

namespace {

// The choices of "Compare Workspaces": <01> ... <15>, then <C>.
constexpr int kChoiceCurrent = 15;
int slotOfChoice(int choice) {
    return choice == kChoiceCurrent ? app::kSlotCurrent : choice;
}

}  // namespace

WorkspaceViewCommands::WorkspaceViewCommands(GuiContext& context, CFileView& list)
    : QObject(&list), context_(context), list_(list) {}

bool WorkspaceViewCommands::handleCommand(int id) {
    switch (id) {
        case cmd::kCompareWithCurrent:
            compareWithCurrent();
            return true;
        case cmd::kCompareWorkspaces:
            compareWorkspaces();
            return true;
        case cmd::kWorkspaceMatrix:
            showMatrix();
            return true;
        default:
            return false;
    }
}

bool WorkspaceViewCommands::updateCommand(int id, CommandState& state) {
    switch (id) {
        case cmd::kCompareWithCurrent:
            // The list's boxes are what activating would write.
            state.enabled = node::isNumberedWorkspace(context_.state.nodeKind);
            return true;
        case cmd::kCompareWorkspaces:
            state.enabled = true;
            return true;
        case cmd::kWorkspaceMatrix:
            state.enabled = context_.state.resourceFolderFound;
            return true;
        default:
            return false;
    }
}

void WorkspaceViewCommands::run(QDialog& dialog) {
    if (dialogShown_) {
        dialog.show();
        dialogShown_(dialog);
        dialog.close();
    } else {
        dialog.exec();
    }
}

void WorkspaceViewCommands::compareWithCurrent() {
    const int number = context_.state.nodeKind;
    if (!node::isNumberedWorkspace(number)) return;
    const workspaces::ActivationPreview preview = workspaces::previewActivation(
        list_.listRows(), workspaces::readWorkspaceFlags(context_.store, app::kSlotCurrent));
    const QString name = QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
    WorkspaceCompareDialog dialog(list_.window());
    dialog.setWindowTitle(tr(" Compare Workspace %1 with Current Settings").arg(name));
    dialog.showLists(
        tr("Activating Workspace %1 would make these changes to Scrivel's settings (%2 modules "
           "stay as they are). Nothing has been written.")
            .arg(name)
            .arg(preview.unchanged),
        tr("Turned on (%1)"), preview.turnedOn, tr("Turned off (%1)"), preview.turnedOff);
    run(dialog);
}

void WorkspaceViewCommands::compareWorkspaces() {
    QStringList choices;
    for (int slot = 0; slot < 15; ++slot)
        choices << QString::fromStdString(context_.state.workspaceDisplayName[slot]);
    choices << QString::fromStdString(context_.state.workspaceDisplayName[app::kSlotCurrent]);

    WorkspaceCompareDialog dialog(list_.window());
    dialog.setWindowTitle(tr(" Compare Workspaces"));
    const int selected = context_.state.nodeKind;
    const int first = node::isNumberedWorkspace(selected) ? selected - 1 : 0;
    dialog.offerChoice(choices, first, kChoiceCurrent, [this, &dialog, choices](int a, int b) {
        const workspaces::SetDifference difference = workspaces::compareActiveSets(
            workspaces::readWorkspaceFlags(context_.store, slotOfChoice(a)),
            workspaces::readWorkspaceFlags(context_.store, slotOfChoice(b)));
        auto shortName = [](int choice) {
            return choice == kChoiceCurrent
                       ? QStringLiteral("<C>")
                       : QStringLiteral("<%1>").arg(choice + 1, 2, 10, QLatin1Char('0'));
        };
        dialog.showLists(
            tr("Modules active in one set and not in the other."),
            tr("Only in %1 (%2)").arg(shortName(a), QStringLiteral("%1")), difference.onlyInFirst,
            tr("Only in %1 (%2)").arg(shortName(b), QStringLiteral("%1")), difference.onlyInSecond);
    });
    run(dialog);
}

void WorkspaceViewCommands::showMatrix() {
    workspaces::WorkspaceMatrix matrix;
    {
        WaitCursor busy;
        // A workspace node lists the resource folder's Bibles, commentaries
        // and dictionaries already: the matrix's rows, without reading again.
        if (node::isWorkspace(context_.state.nodeKind) && !list_.scanning()) {
            matrix = workspaces::WorkspaceMatrix::build(list_.model().rows(), context_.store);
        } else {
            modules::TypeFilter filter;
            filter.applyWorkspacePreset();
            const modules::ScanResult scan =
                modules::scanFolder(context_.state.resourceFolder, filter, modules::CheckRule());
            matrix = workspaces::WorkspaceMatrix::build(scan.rows, context_.store);
        }
    }
    WorkspaceMatrixDialog dialog(context_, std::move(matrix), list_.window());
    run(dialog);
    // The list shows a workspace's stored ticks; follow what changed here.
    const auto& changed = dialog.model().changedWorkspaces();
    if (std::find(changed.begin(), changed.end(), context_.state.nodeKind) != changed.end())
        list_.refill();
}

WorkspaceViewCommands* attachWorkspaceViews(GuiContext& context, CFileView& list) {
    auto* commands = new WorkspaceViewCommands(context, list);
    list.addCommandSet(commands);
    return commands;
}

}  // namespace modshelf::gui
