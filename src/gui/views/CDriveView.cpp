#include "gui/views/CDriveView.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/app/CommandIds.h"
#include "core/app/FrameTexts.h"
#include "core/app/WorkspaceLabels.h"
#include "core/host/DriveMap.h"
#include "core/host/HostControl.h"
#include "core/host/HostFolders.h"
#include "core/modules/ListSort.h"
#include "core/workspaces/WorkspaceStore.h"
#include "gui/CModshelfDoc.h"
#include "gui/GuiContext.h"
#include "gui/WaitCursor.h"
#include "gui/views/DriveKinds.h"
#include "gui/views/ListAppearance.h"
#include "gui/views/ViewIcons.h"
#include "platform/Platform.h"

namespace modshelf::gui {

namespace fs = std::filesystem;
namespace cmd = app::cmd;
namespace node = app::node;

namespace {

constexpr const char* kResourceLabel = "Scrivel Resource Folder";
constexpr const char* kUserFilesLabel = "Scrivel User Files Folder";

// What a tree item is; kept in the item's data.
enum ItemType { kLabelNode = 0, kDriveNode = 1, kFolderNode = 2, kPlaceholder = 3 };
constexpr int kTypeRole = Qt::UserRole;
constexpr int kRootRole = Qt::UserRole + 1;
// A folder's name as the file system gives it: bytes that need not be UTF-8,
// which the shown text could not carry back.
constexpr int kNameRole = Qt::UserRole + 2;

bool sameText(std::string_view a, std::string_view b) {
    return modules::compareNoCase(a, b) == 0;
}

ItemType typeOf(const QTreeWidgetItem* item) {
    return static_cast<ItemType>(item->data(0, kTypeRole).toInt());
}

std::string withoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == host::kFolderSeparator) path.pop_back();
    return path;
}

bool isHiddenName(const std::string& name) {
    return !name.empty() && name.front() == '.';
}

// True when the folder holds at least one (visible) subfolder; the first
// one found ends the search.
bool hasSubfolder(const std::string& folder) {
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    if (error) return false;
    for (const fs::directory_entry& entry : it) {
        std::error_code entryError;
        if (entry.is_directory(entryError) && !isHiddenName(entry.path().filename().string()))
            return true;
    }
    return false;
}

QIcon folderIcon() {
    // Closed when idle, open while selected.
    QIcon icon;
    const QIcon closed = viewIcon(ViewIcon::FolderClosed);
    const QIcon open = viewIcon(ViewIcon::FolderOpen);
    for (int size : {16, 32}) {
        icon.addPixmap(closed.pixmap(size, size), QIcon::Normal);
        icon.addPixmap(open.pixmap(size, size), QIcon::Selected);
    }
    return icon;
}

}  // namespace

CDriveView::CDriveView(GuiContext& context, QWidget* parent)
    : QTreeWidget(parent), context_(context) {
    if (context_.drives) {
        drives_ = context_.drives;
    } else {
        ownDrives_ = std::make_unique<host::DriveMap>(
            host::DriveMap::fromPrefix(platform::winePrefixPath()));
        drives_ = ownDrives_.get();
    }
    openFolder_ = [](const std::string& folder) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
    };

    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);  // hot-tracking
    setIconSize(QSize(16, 16));
    applyTextColour();
    showFocusInSelection(*this);

    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { selectionChangedTo(current); });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (!changingExpansion_) expandItem(item);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (!changingExpansion_) collapseItem(item);
    });

    startUp();
}

CDriveView::~CDriveView() = default;

void CDriveView::startUp() {
    app::AppState& state = context_.state;
    app::buildWorkspaceLabels(state, context_.store);
    host::discoverHostFolders(state, context_.store, *drives_);
    app::setWorkspaceFolders(state);
    fill();
}

void CDriveView::applyTextColour() {
    // Dark blue on a light tree; a dark theme keeps its own text colour.
    if (palette().color(QPalette::Base).lightness() < 128) return;
    QPalette colours = palette();
    colours.setColor(QPalette::Text, QColor(0, 0, 0x38));
    setPalette(colours);
}

void CDriveView::fill() {
    const app::AppState& state = context_.state;
    WaitCursor wait;
    if (state.resourceFolderFound) insertLabel(kResourceLabel);
    if (state.resourceFolderFound && state.userFilesFolderFound) insertLabel(kUserFilesLabel);
    for (const DriveEntry& drive : treeDrives(*drives_, platform::winePrefixPath()))
        insertDrive(drive.label, drive.root.string(), static_cast<int>(drive.kind));
    for (int slot : workspaces::kWorkspaceOrder) insertLabel(state.workspaceDisplayName[slot]);
}

static void addPlaceholderTo(QTreeWidgetItem* item) {
    static const QIcon closed = viewIcon(ViewIcon::FolderClosed);
    auto* placeholder = new QTreeWidgetItem(item);
    placeholder->setIcon(0, closed);
    placeholder->setData(0, kTypeRole, kPlaceholder);
}

void CDriveView::insertLabel(const std::string& label) {
    auto* item = new QTreeWidgetItem(this);
    item->setText(0, QString::fromStdString(label));
    item->setIcon(0, viewIcon(ViewIcon::HostFolder));
    item->setData(0, kTypeRole, kLabelNode);
    const int slot = label.size() > 3 ? workspaces::slotOfLabel(label) : -1;
    if (slot >= 0) workspaceItems_[slot] = item;
    if (sameText(label, kResourceLabel)) {
        // Selecting it fills the list at once, while the rest is still inserted.
        setCurrentItem(item);
        scrollToItem(item, QAbstractItemView::PositionAtTop);
    }
}

void CDriveView::insertDrive(const std::string& label, const std::string& root, int kind) {
    auto* item = new QTreeWidgetItem(this);
    item->setText(0, QString::fromStdString(label));
    item->setData(0, kTypeRole, kDriveNode);
    item->setData(0, kRootRole, QByteArray::fromStdString(root));
    switch (static_cast<DriveKind>(kind)) {
        case DriveKind::Removable:
            item->setIcon(0, viewIcon(ViewIcon::RemovableDrive));
            addPlaceholderTo(item);
            break;
        case DriveKind::Optical:
            item->setIcon(0, viewIcon(ViewIcon::OpticalDrive));
            addPlaceholderTo(item);
            break;
        case DriveKind::Fixed:
            item->setIcon(0, viewIcon(ViewIcon::FixedDrive));
            if (hasSubfolder(root)) addPlaceholderTo(item);
            break;
        case DriveKind::NoRoot:
            item->setIcon(0, viewIcon(ViewIcon::HostFolder));
            break;
    }
}

std::string CDriveView::folderOf(const QTreeWidgetItem* item) const {
    if (!item) return {};
    std::vector<const QTreeWidgetItem*> chain;
    for (const QTreeWidgetItem* at = item; at; at = at->parent()) chain.push_back(at);
    const QTreeWidgetItem* top = chain.back();
    if (typeOf(top) != kDriveNode) return top->text(0).toStdString();

    std::string path = top->data(0, kRootRole).toByteArray().toStdString();
    if (chain.size() == 1) return host::ensureTrailingSeparator(path);
    for (auto it = chain.rbegin() + 1; it != chain.rend(); ++it)
        path = host::ensureTrailingSeparator(path) +
               (*it)->data(0, kNameRole).toByteArray().toStdString();
    return path;
}

std::string CDriveView::nodePath(QTreeWidgetItem* item) {
    app::AppState& state = context_.state;
    if (!item) return {};
    const std::string label = item->text(0).toStdString();
    // Only Scrivel's nodes and the workspaces carry these labels; a folder met
    // while browsing a drive is a folder whatever its name.
    if (!item->parent() && typeOf(item) == kLabelNode) {
        if (sameText(label, kResourceLabel)) {
            state.nodeKind = node::kResourceFolder;
            return state.resourceFolder;
        }
        if (sameText(label, kUserFilesLabel)) {
            state.nodeKind = node::kUserFilesFolder;
            return state.userFilesFolder;
        }
        const int slot = label.size() > 3 ? workspaces::slotOfLabel(label) : -1;
        if (slot == app::kSlotAll) {
            state.nodeKind = node::kAllModules;
            return state.workspaceFolder[slot];
        }
        if (slot == app::kSlotCurrent) {
            state.nodeKind = node::kCurrentSettings;
            return state.workspaceFolder[slot];
        }
        if (slot >= 0) {
            state.nodeKind = slot + 1;
            return state.workspaceFolder[slot];
        }
    }
    state.nodeKind = node::kDriveOrFolder;
    return folderOf(item);
}

bool CDriveView::numberedWorkspaceSelected() const {
    return node::isNumberedWorkspace(context_.state.nodeKind);
}
bool CDriveView::allModulesSelected() const {
    return context_.state.nodeKind == node::kAllModules;
}
bool CDriveView::currentSettingsSelected() const {
    return context_.state.nodeKind == node::kCurrentSettings;
}

QTreeWidgetItem* CDriveView::workspaceItem(int slot) const {
    if (slot < 0 || slot >= app::kWorkspaceSlots) return nullptr;
    return workspaceItems_[slot];
}

QTreeWidgetItem* CDriveView::findTopLevel(const std::string& label) const {
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (sameText(topLevelItem(i)->text(0).toStdString(), label)) return topLevelItem(i);
    return nullptr;
}

void CDriveView::selectionChangedTo(QTreeWidgetItem* item) {
    if (!item || typeOf(item) == kPlaceholder) return;
    context_.state.currentFolder = nodePath(item);
    refreshTitleAndList();
}

void CDriveView::refreshTitleAndList() {
    app::AppState& state = context_.state;
    const std::string folderText = host::currentFolderOrDefault(state.currentFolder, *drives_);
    std::string title = state.titlePrefix;
    if (numberedWorkspaceSelected() || allModulesSelected() || currentSettingsSelected()) {
        // The selected node names the workspace, however it was selected
        // (mouse or keyboard).
        if (QTreeWidgetItem* item = currentItem()) {
            clickedLabel_ = item->text(0).toStdString();
            title += clickedLabel_;
        } else if (clickedItem_) {
            title += clickedItem_->text(0).toStdString();
        }
    } else {
        title = app::startTitle(title, drives_->displayPath(folderText));
    }
    setMainTitle(title);
    if (state.currentFolder.empty()) state.currentFolder = host::defaultHostFolder(*drives_);
    refreshList(state.currentFolder);
}

void CDriveView::refreshList(const std::string& /*folder*/) {
    // The list reads the folder from the program state when it is told.
    context_.state.typeFilter.applyPresetFor(context_.state.nodeKind);
    if (context_.document) context_.document->updateAllViews(this);
}

void CDriveView::setMainTitle(const std::string& title) {
    window()->setWindowTitle(QString::fromStdString(title));
}

void CDriveView::nodeClicked(const QPoint& viewportPos) {
    QTreeWidgetItem* item = itemAt(viewportPos);
    if (!item || typeOf(item) == kPlaceholder) return;
    setCurrentItem(item);  // runs the selection handling when the selection changes
    clickedLabel_ = item->text(0).toStdString();
    clickedItem_ = item;
    nodePath(item);
}

void CDriveView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        const QPoint pos = event->position().toPoint();
        QTreeWidgetItem* item = itemAt(pos);
        // A press on the expand button only expands or collapses.
        const bool onButton = item && pos.x() < visualItemRect(item).left();
        if (item && !onButton) nodeClicked(pos);
    }
    QTreeWidget::mousePressEvent(event);
}

void CDriveView::showEvent(QShowEvent* event) {
    QTreeWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    if (context_.host) {
        // Asked once the window is on screen, not while it is being shown.
        QTimer::singleShot(0, this, [this] { context_.host->askToCloseHostAtStartUp(); });
    }
}

void CDriveView::refuseExpansion(QTreeWidgetItem* item) {
    changingExpansion_ = true;
    item->setExpanded(false);
    changingExpansion_ = false;
}

void CDriveView::expandItem(QTreeWidgetItem* item) {
    if (typeOf(item) != kDriveNode && typeOf(item) != kFolderNode) return;
    WaitCursor wait;
    const app::AppState& state = context_.state;
    const std::string folder = folderOf(item);
    qDeleteAll(item->takeChildren());

    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    if (error) {
        // A drive without its medium keeps its button for the next try.
        if (!item->parent()) addPlaceholderTo(item);
        refuseExpansion(item);
        return;
    }
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : it) {
        std::error_code entryError;
        std::string name = entry.path().filename().string();
        if (entry.is_directory(entryError) && !isHiddenName(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return modules::compareNoCase(a, b) < 0;
    });

    const std::string resource = withoutTrailingSeparator(state.resourceFolder);
    const std::string userFiles = withoutTrailingSeparator(state.userFilesFolder);
    const QIcon folderImage = folderIcon();
    const QIcon hostImage = viewIcon(ViewIcon::HostFolder);
    QList<QTreeWidgetItem*> children;
    for (const std::string& name : names) {
        const std::string path = host::ensureTrailingSeparator(folder) + name;
        const bool isResource = state.resourceFolderFound && sameText(path, resource);
        const bool isUserFiles =
            state.resourceFolderFound && state.userFilesFolderFound && sameText(path, userFiles);
        auto* child = new QTreeWidgetItem();
        child->setText(0, QString::fromStdString(name));
        child->setIcon(0, isResource || isUserFiles ? hostImage : folderImage);
        child->setData(0, kTypeRole, kFolderNode);
        child->setData(0, kNameRole, QByteArray::fromStdString(name));
        if (hasSubfolder(path)) addPlaceholderTo(child);
        children.push_back(child);
    }
    if (children.isEmpty()) {
        refuseExpansion(item);
        return;
    }
    item->addChildren(children);
}

void CDriveView::collapseItem(QTreeWidgetItem* item) {
    if (typeOf(item) != kDriveNode && typeOf(item) != kFolderNode) return;
    qDeleteAll(item->takeChildren());
    if (!item->parent() || hasSubfolder(folderOf(item))) addPlaceholderTo(item);
}

void CDriveView::onUpdate(ModshelfView* /*sender*/) {
    // The list refreshes: Scrivel's folder, not found so far, may have been
    // installed since. Found now, the tree starts over with it selected.
    app::AppState& state = context_.state;
    if (state.resourceFolderFound) return;
    host::HostFolderState found;
    host::discoverHostFolders(found, context_.store, *drives_);
    if (!found.resourceFolderFound) {
        state.resourceFolderSearched = found.resourceFolderSearched;
        return;
    }
    static_cast<host::HostFolderState&>(state) = found;
    app::setWorkspaceFolders(state);
    clickedItem_ = nullptr;
    workspaceItems_.fill(nullptr);
    clear();
    fill();
}

bool CDriveView::handleCommand(int id) {
    if (id >= cmd::kRenameWorkspaceFirst && id <= cmd::kRenameWorkspaceLast) {
        if (!rename_) return false;
        rename_(id - cmd::kRenameWorkspaceFirst + 1);
        return true;
    }
    switch (id) {
        case cmd::kOpenExplorer: {
            const int kind = context_.state.nodeKind;
            if (kind == node::kResourceFolder || kind == node::kUserFilesFolder ||
                kind == node::kDriveOrFolder)
                openFolder_(context_.state.currentFolder);
            return true;
        }
        default:
            return false;
    }
}

bool CDriveView::updateCommand(int id, CommandState& state) {
    const int kind = context_.state.nodeKind;
    if (id >= cmd::kRenameWorkspaceFirst && id <= cmd::kRenameWorkspaceLast) {
        state.enabled = kind == id - cmd::kRenameWorkspaceFirst + 1;
        return true;
    }
    if (cmd::isActivation(id)) {
        state.enabled = cmd::activationEnabled(id, kind);
        return true;
    }
    switch (id) {
        case cmd::kOpenExplorer:
            state.enabled = kind == node::kResourceFolder || kind == node::kUserFilesFolder ||
                            kind == node::kDriveOrFolder;
            return true;
        default:
            return false;
    }
}

}  // namespace modshelf::gui
