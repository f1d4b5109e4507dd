#pragma once

#include <QUrl>
#include <filesystem>
#include <functional>
#include <string>

#include "gui/CommandTarget.h"

namespace modshelf::gui {

struct GuiContext;

// The Help menu's commands: our HTML pages opened in the user's browser, and
// the notice when a page is missing.
class HelpCommands : public CommandTarget {
public:
    // Opens an address in the user's browser; false when it could not.
    using Opener = std::function<bool(const QUrl&)>;

    // The addresses of the online help and of the new-version page. None is
    // published yet; their commands stay disabled while these are empty.
    static const char* const kOnlineHelpAddress;
    static const char* const kNewVersionAddress;

    // programPath: the program's own file. opener empty: the desktop's.
    HelpCommands(GuiContext& context, std::string programPath, Opener opener = {});

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

    // The file a command opens (for the contents, the index and the offline page).
    std::filesystem::path pageFor(int id) const;

private:
    void openPage(const std::filesystem::path& page);

    GuiContext& context_;
    std::string programPath_;
    std::filesystem::path programDir_;
    Opener opener_;
};

}  // namespace modshelf::gui
