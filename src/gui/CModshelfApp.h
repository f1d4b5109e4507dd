#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/CMainFrame.h"
#include "gui/CModshelfDoc.h"
#include "gui/CommandTarget.h"

namespace modshelf::app {
class InstanceMarker;
}

namespace modshelf::gui {

struct GuiContext;

// The application object: the start-up sequence, the document and the main
// window. It takes part in command routing after the frame.
class CModshelfApp : public CommandTarget {
public:
    CModshelfApp(GuiContext& context, app::InstanceMarker& marker, std::string programPath,
                 FrameViews views);
    ~CModshelfApp() override;

    // Start-up: help path, single instance, the main window with its views,
    // then the leftovers of earlier runs. False: the program must end.
    bool InitInstance();

    CMainFrame* mainFrame() const { return frame_.get(); }
    CModshelfDoc& document() { return document_; }

    // A set of the application's commands (print set-up, backup, the about
    // box, ...). Sets are asked in the order they were added.
    void addCommandSet(std::unique_ptr<CommandTarget> commands);

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

private:
    GuiContext& context_;
    app::InstanceMarker& marker_;
    std::string programPath_;
    FrameViews views_;
    CModshelfDoc document_;
    std::vector<std::unique_ptr<CommandTarget>> commandSets_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace modshelf::gui
