#pragma once

#include <QUrl>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "gui/CommandTarget.h"

class QWidget;

namespace modshelf::gui {

struct GuiContext;
class HelpWindow;

// The Help menu's commands: our HTML pages shown in the program's own help
// window, web addresses given to the desktop, and the notice when a page is
// missing.
class HelpCommands : public CommandTarget {
public:
    // Opens an address; false when it could not. The default shows a local
    // page in the help window and gives any other address to the desktop.
    using Opener = std::function<bool(const QUrl&)>;

    // The addresses of the online help and of the new-version page. None is
    // published yet; their commands stay disabled while these are empty.
    static const char* const kOnlineHelpAddress;
    static const char* const kNewVersionAddress;

    // programPath: the program's own file. opener empty: the desktop's.
    HelpCommands(GuiContext& context, std::string programPath, Opener opener = {});
    ~HelpCommands() override;

    // The window that the help window stays in front of.
    void setWindowParent(QWidget* parent) { windowParent_ = parent; }

    // The help window once a page has been shown in it.
    HelpWindow* window() const { return window_.get(); }

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

    // The file a command opens (for the contents, the index and the offline page).
    std::filesystem::path pageFor(int id) const;

private:
    void openPage(const std::filesystem::path& page);
    bool showInWindow(const std::filesystem::path& page);

    GuiContext& context_;
    std::string programPath_;
    std::filesystem::path programDir_;
    Opener opener_;
    QWidget* windowParent_ = nullptr;
    std::unique_ptr<HelpWindow> window_;
};

}  // namespace modshelf::gui
