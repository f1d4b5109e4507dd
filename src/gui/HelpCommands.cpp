#include "gui/HelpCommands.h"

#include <QDesktopServices>
#include <system_error>

#include "core/app/CommandIds.h"
#include "core/app/HelpPaths.h"
#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "gui/GuiContext.h"
#include "gui/help/HelpWindow.h"

namespace modshelf::gui {

const char* const HelpCommands::kOnlineHelpAddress = "";
const char* const HelpCommands::kNewVersionAddress = "";

HelpCommands::HelpCommands(GuiContext& context, std::string programPath, Opener opener)
    : context_(context),
      programPath_(std::move(programPath)),
      programDir_(std::filesystem::path(programPath_).parent_path()),
      opener_(std::move(opener)) {
    if (!opener_)
        opener_ = [this](const QUrl& url) {
            if (url.isLocalFile()) return showInWindow(url.toLocalFile().toStdString());
            return QDesktopServices::openUrl(url);
        };
}

HelpCommands::~HelpCommands() = default;

bool HelpCommands::showInWindow(const std::filesystem::path& page) {
    // The window's contents come from the help folder; a page found elsewhere
    // (the quick guide beside the program) is shown in the same window.
    const auto folder = app::findHelpFolder(programDir_).value_or(page.parent_path());
    if (!window_ || window_->folder() != folder)
        window_ = std::make_unique<HelpWindow>(folder, windowParent_);
    window_->showPage(page);
    return true;
}

std::filesystem::path HelpCommands::pageFor(int id) const {
    switch (id) {
        case app::cmd::kHelpContents:
            return app::helpPagePath(programDir_, app::kHelpContentsPage);
        case app::cmd::kHelpIndex:
            return app::helpPagePath(programDir_, app::kHelpIndexPage);
        case app::cmd::kOfflineHelp: {
            // Beside the program when installed; a build has it with the other pages.
            std::filesystem::path beside = app::offlinePagePathFor(programPath_);
            std::error_code error;
            if (!std::filesystem::is_regular_file(beside, error)) {
                if (auto folder = app::findHelpFolder(programDir_);
                    folder && std::filesystem::is_regular_file(*folder / app::kOfflinePage, error))
                    return *folder / app::kOfflinePage;
            }
            return beside;
        }
        default:
            return {};
    }
}

void HelpCommands::openPage(const std::filesystem::path& page) {
    std::error_code error;
    if (std::filesystem::is_regular_file(page, error)) {
        opener_(QUrl::fromLocalFile(QString::fromStdString(page.string())));
        return;
    }
    context_.prompter.messageBox("Help file not found :\n\n" + page.string(), " Help File Missing",
                                 dialogs::mb::kOk, dialogs::standardParams(true, 5));
}

bool HelpCommands::handleCommand(int id) {
    switch (id) {
        case app::cmd::kHelpContents:
        case app::cmd::kHelpIndex:
        case app::cmd::kOfflineHelp:
            openPage(pageFor(id));
            return true;
        case app::cmd::kOnlineHelp:
            if (*kOnlineHelpAddress) opener_(QUrl(QString::fromLatin1(kOnlineHelpAddress)));
            return true;
        case app::cmd::kCheckNewVersion:
            if (*kNewVersionAddress) opener_(QUrl(QString::fromLatin1(kNewVersionAddress)));
            return true;
        default:
            return false;
    }
}

bool HelpCommands::updateCommand(int id, CommandState& state) {
    switch (id) {
        case app::cmd::kHelpContents:
        case app::cmd::kHelpIndex:
        case app::cmd::kOfflineHelp:
            state.enabled = true;
            return true;
        case app::cmd::kOnlineHelp:
            state.enabled = *kOnlineHelpAddress != '\0';
            return true;
        case app::cmd::kCheckNewVersion:
            state.enabled = *kNewVersionAddress != '\0';
            return true;
        default:
            return false;
    }
}

}  // namespace modshelf::gui
