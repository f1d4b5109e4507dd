#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "gui/CommandTarget.h"

class QMenu;
class QSplitter;
class QTimer;
class QToolBar;

namespace modshelf::gui {

struct GuiContext;
class CommandActions;
class HelpCommands;
class MainStatusBar;
class ModshelfView;

// Creates one of the two panes inside the splitter.
using ViewFactory = std::function<ModshelfView*(GuiContext& context, QWidget* parent)>;
struct FrameViews {
    ViewFactory createList;  // the module list, right; created first
    ViewFactory createTree;  // the workspace tree, left
};

// The main window: menu, toolbar, status bar and the two panes side by side.
// It remembers its placement and stay-on-top state between runs, writes the
// start-up bookkeeping values, and routes every command: active view,
// document, frame, application, then the other view.
class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    // context.document must be set: the views announce themselves through it.
    // application takes part in routing after the frame (may be null).
    CMainFrame(GuiContext& context, const FrameViews& views, CommandTarget* application = nullptr,
               std::string programPath = {});
    ~CMainFrame() override;

    // Routing.
    bool routeCommand(int id);
    CommandState routeUpdate(int id, bool* answered = nullptr);

    // Brings the toolbar and pane 106 up to date (also runs on a timer).
    void updateCommandUi();
    // Brings one menu's items up to date.
    void updateMenu(QMenu* menu);

    ModshelfView* activeView() const { return activeView_; }
    void setActiveView(ModshelfView* view);
    ModshelfView* listView() const { return list_; }
    ModshelfView* treeView() const { return tree_; }
    QSplitter* splitter() const { return splitter_; }
    QToolBar* toolBar() const { return toolBar_; }
    MainStatusBar* mainStatusBar() const { return statusBar_; }
    QAction* action(int id) const;

    // CommandTarget: the frame's own commands.
    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

    // Width of the tree pane at creation.
    static constexpr int kTreeWidth = 198;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createPanes(const FrameViews& views);
    void restorePlacement();
    void applyStayOnTop(bool onTop);
    void focusMoved(QWidget* now);
    void updateStatusPane();
    void updateAction(QAction* action);

    GuiContext& context_;
    CommandTarget* application_;
    std::string programPath_;
    QSplitter* splitter_ = nullptr;
    ModshelfView* list_ = nullptr;
    ModshelfView* tree_ = nullptr;
    ModshelfView* activeView_ = nullptr;
    CommandActions* actions_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    MainStatusBar* statusBar_ = nullptr;
    QTimer* idleTimer_ = nullptr;
    std::unique_ptr<HelpCommands> help_;
    bool titled_ = false;
};

}  // namespace modshelf::gui
