#include "gui/CModshelfApp.h"

#include <QCoreApplication>
#include <filesystem>

#include "core/app/AppState.h"
#include "core/app/InstanceMarker.h"
#include "core/app/Startup.h"
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
        frame_ = std::make_unique<CMainFrame>(context_, views_, this, programPath_);
        frame_->show();
        return true;
    });
}

// Printing brings the application's one command, Print Setup.
bool CModshelfApp::handleCommand(int) {
    return false;
}
bool CModshelfApp::updateCommand(int, CommandState&) {
    return false;
}

}  // namespace modshelf::gui
