#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/workspaces/ListRow.h"
#include "gui/ModshelfView.h"

class QAbstractItemView;
class QListView;
class QModelIndex;
class QStackedLayout;
class QVBoxLayout;
class QTableView;

namespace modshelf::modules {
class CheckRule;
class DetailsCache;
class ListSortState;
struct ModuleRow;
struct ScanResult;
}  // namespace modshelf::modules

namespace modshelf::gui {

struct GuiContext;
class FolderScanJob;
class MainStatusBar;
class ModuleListModel;

struct ListOptionFlags;

// The right-hand pane: the files of the folder the tree selected, one row per
// file, in one of four view modes. Cells are produced on demand from the rows
// of the folder scan; the view keeps no text per row.
class CFileView : public QWidget, public ModshelfView {
    Q_OBJECT
public:
    enum class ViewMode { LargeIcons, SmallIcons, List, Details };

    CFileView(GuiContext& context, QWidget* parent = nullptr);
    ~CFileView() override;

    // CommandTarget
    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;
    // ModshelfView: the tree announced a folder; refill from the program state.
    void onUpdate(ModshelfView* sender) override;
    QWidget* widget() override { return this; }

    // Clears the list and fills it again from the current folder. The modules
    // are read on another thread while the window keeps working: rows appear
    // as they are read, and a scan longer than a moment shows its progress in
    // the status bar, where it can be cancelled. refill() returns when the
    // scan has ended (or was cancelled, or replaced by a newer refill); the
    // rows are then complete and `filled` has been emitted.
    void refill();
    // Whether the latest complete fill could read its folder.
    bool listedFolderReadable() const { return folderReadable_; }
    // Whether a scan is under way (refill() is waiting for it).
    bool scanning() const { return job_ != nullptr; }
    // Stops the running scan; the rows read so far stay listed.
    void cancelScan();

    // A click on a column heading: sorts when sorting by heading is allowed.
    void headingClicked(int column);

    ViewMode viewMode() const { return mode_; }
    void setViewMode(ViewMode mode);

    // The control that currently shows the rows (the details table or the
    // icon/list view); the frame's context menu handling uses it.
    QAbstractItemView* listControl() const;
    QTableView* detailsView() const { return table_; }
    QListView* iconView() const { return icons_; }
    ModuleListModel& model() const { return *model_; }
    const modules::ListSortState& sortState() const { return *sort_; }
    const ListOptionFlags& options() const { return *options_; }

    // The selected row, or -1.
    int selectedRow() const;

    // Called after the user changed a row's check box in a numbered workspace,
    // so that the workspace can be stored from the whole list.
    using CheckChangedHandler = std::function<void(int row, bool checked)>;
    void setCheckChangedHandler(CheckChangedHandler handler) {
        onCheckChanged_ = std::move(handler);
    }

    // Sizes the columns to content and heading, within the per-column limits.
    void sizeColumns();

    // The check-box guard: boxes change only while a numbered workspace is
    // selected; in <A>, <C> and the folders they show what the scan decided.
    bool checkBoxesEditable() const;

    // The full text of a cell that does not fit, when label tips are on;
    // empty otherwise.
    QString labelTip(const QModelIndex& index) const;

    // The listed rows in the list's order, as storing checks and activation
    // read them back.
    std::vector<workspaces::ListRow> listRows() const;

    // A set of commands that work on the list (activating workspaces,
    // exports, printing, ...). Sets are offered a command before the list's
    // own, in the order they were added. Not owned: each set is a child
    // object of the list or outlives it.
    void addCommandSet(CommandTarget* commands) { commandSets_.push_back(commands); }
    // Puts a bar (the search box) above the rows, below earlier bars.
    void addTopBar(QWidget* bar);

signals:
    // A row was chosen by a click (or the click hit empty space: path empty).
    void moduleSelected(const QString& path);
    // The list has been filled again from the current folder; every row is
    // there. Not emitted for a scan that was cancelled or replaced.
    void filled();
    // A running scan was cancelled or replaced by a newer one.
    void scanStopped();

private:
    void buildControls();
    void applyOptions();
    void toggleOption(int command);
    void rowClicked(const QModelIndex& index);
    void updateSortIndicator();
    void updateSelectedModule(bool setTitle);
    void applyTextColour();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void rowsRead(std::vector<modules::ModuleRow> rows, std::size_t modulesRead,
                  std::size_t modulesToRead);
    void scanFinished(modules::ScanResult result);
    // Lets a running scan end on its own in the background, unwatched.
    void retireScan();
    MainStatusBar* statusBar();

    GuiContext& context_;
    std::unique_ptr<ModuleListModel> model_;
    std::unique_ptr<modules::ListSortState> sort_;
    std::unique_ptr<ListOptionFlags> options_;
    std::shared_ptr<modules::DetailsCache> cache_;
    FolderScanJob* job_ = nullptr;
    std::unique_ptr<modules::CheckRule> checkRule_;
    QElapsedTimer scanClock_;
    QVBoxLayout* outer_ = nullptr;
    QStackedLayout* stack_ = nullptr;
    QTableView* table_ = nullptr;
    QListView* icons_ = nullptr;
    ViewMode mode_ = ViewMode::Details;
    bool folderReadable_ = true;
    CheckChangedHandler onCheckChanged_;
    std::vector<CommandTarget*> commandSets_;
};

}  // namespace modshelf::gui
