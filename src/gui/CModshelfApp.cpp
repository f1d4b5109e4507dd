#include "gui/CModshelfApp.h"

#include <QCoreApplication>
#include <filesystem>

#include "core/app/AppState.h"
#include "core/app/InstanceMarker.h"
#include "core/app/Startup.h"
#include "gui/ApplicationCommands.h"
#include "gui/GuiContext.h"

namespace modshelf::gui {

CModshelfApp::CModshelfApp(GuiContext& context, app::InstanceMarker& marker,
                           std::string programPath, FrameViews views)
    : context_(context),
      marker_(marker),
      programPath_(std::move(programPath)),
      views_(std::move(views)) {}

CModshelfApp::~CModshelfApp() {
    frame_.reset();
    if (context_.document == &document_) context_.document = nullptr;
    marker_.close();
}

bool CModshelfApp::InitInstance() {
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Modshelf"));
    context_.document = &document_;
    context_.instanceMarker = &marker_;

    std::error_code error;
    const app::StartupEnvironment env{context_.store, context_.prompter, marker_, programPath_,
                                      std::filesystem::current_path(error)};
    return app::initInstance(context_.state, env, [this] {
        installApplicationCommands(*this, context_);
        frame_ = std::make_unique<CMainFrame>(context_, views_, this, programPath_);
        frame_->show();
        return true;
    });
}

void CModshelfApp::addCommandSet(std::unique_ptr<CommandTarget> commands) {
    commandSets_.push_back(std::move(commands));
}

bool CModshelfApp::handleCommand(int id) {
    for (const auto& set : commandSets_)
        if (set->handleCommand(id)) return true;
    return false;
}

bool CModshelfApp::updateCommand(int id, CommandState& state) {
    for (const auto& set : commandSets_)
        if (set->updateCommand(id, state)) return true;
    return false;
}

}  // namespace modshelf::gui
