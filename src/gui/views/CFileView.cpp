#include "gui/views/CFileView.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/host/HostFolders.h"
#include "core/modules/DetailsCache.h"
#include "core/modules/ListColumns.h"
#include "core/modules/ListSort.h"
#include "core/modules/ModuleScan.h"
#include "core/workspaces/NodeCheckRule.h"
#include "gui/CModshelfDoc.h"
#include "gui/GuiContext.h"
#include "gui/MainStatusBar.h"
#include "gui/views/FolderScanJob.h"
#include "gui/views/ListAppearance.h"
#include "gui/views/ListOptions.h"
#include "gui/views/ModuleListModel.h"

namespace modshelf::gui {

using namespace modshelf::modules;
namespace cmd = app::cmd;

namespace {

// A scan shorter than this shows no progress: it would only flicker.
constexpr qint64 kProgressAfterMs = 300;

bool isFilterCommand(int id) {
    return (id >= cmd::kFilterBibles && id <= cmd::kFilterVerseLists) || id == cmd::kFilterAll ||
           id == cmd::kFilterOnly;
}

int viewModeCommand(CFileView::ViewMode mode) {
    switch (mode) {
        case CFileView::ViewMode::LargeIcons:
            return cmd::kLargeIcons;
        case CFileView::ViewMode::SmallIcons:
            return cmd::kSmallIcons;
        case CFileView::ViewMode::List:
            return cmd::kListMode;
        case CFileView::ViewMode::Details:
        default:
            return cmd::kDetailsMode;
    }
}

}  // namespace

CFileView::CFileView(GuiContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      model_(std::make_unique<ModuleListModel>()),
      sort_(std::make_unique<ListSortState>()),
      options_(std::make_unique<ListOptionFlags>()),
      cache_(std::make_shared<DetailsCache>()),
      checkRule_(std::make_unique<CheckRule>()) {
    options_->load(context_.store);
    model_->setCheckable([this] { return checkBoxesEditable(); });
    model_->setCheckChanged([this](int row, bool checked) {
        context_.state.activeCount = static_cast<std::uint32_t>(model_->checkedCount());
        if (onCheckChanged_) onCheckChanged_(row, checked);
    });
    buildControls();
    applyOptions();
    applyTextColour();
}

CFileView::~CFileView() {
    if (job_) job_->cancel();
    delete job_;  // waits for the modules being read
}

void CFileView::addTopBar(QWidget* bar) {
    outer_->insertWidget(outer_->count() - 1, bar);
}

void CFileView::buildControls() {
    // Bars such as the search box stand above the rows.
    outer_ = new QVBoxLayout(this);
    outer_->setContentsMargins(0, 0, 0, 0);
    outer_->setSpacing(2);
    stack_ = new QStackedLayout;
    stack_->setContentsMargins(0, 0, 0, 0);
    outer_->addLayout(stack_);

    table_ = new QTableView(this);
    table_->setModel(model_.get());
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideRight);
    table_->setTabKeyNavigation(false);
    table_->setCornerButtonEnabled(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    QHeaderView* header = table_->horizontalHeader();
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    for (int column = 0; column < kListColumnCount; ++column)
        table_->setColumnWidth(column, listColumns()[column].initialWidth);
    connect(header, &QHeaderView::sectionClicked, this, &CFileView::headingClicked);

    icons_ = new QListView(this);
    icons_->setModel(model_.get());
    icons_->setSelectionModel(table_->selectionModel());
    icons_->setSelectionMode(QAbstractItemView::SingleSelection);
    icons_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    icons_->setUniformItemSizes(true);
    icons_->setMovement(QListView::Static);
    icons_->setResizeMode(QListView::Adjust);
    icons_->setLayoutMode(QListView::Batched);
    icons_->setBatchSize(500);

    stack_->addWidget(table_);
    stack_->addWidget(icons_);
    stack_->setCurrentWidget(table_);

    applyListAppearance(*table_, *icons_);
    table_->viewport()->installEventFilter(this);
    icons_->viewport()->installEventFilter(this);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateSelectedModule(true); });
}

void CFileView::applyOptions() {
    table_->setShowGrid(options_->isOn(ListOption::GridLines));
    table_->horizontalHeader()->setSectionsMovable(options_->isOn(ListOption::DragColumns));
    const bool fullRow = options_->isOn(ListOption::FullRowSelect);
    model_->setFullRowSelect(fullRow);
    table_->setSelectionBehavior(fullRow ? QAbstractItemView::SelectRows
                                         : QAbstractItemView::SelectItems);
}

void CFileView::applyTextColour() {
    // A dark navy reads well on a light list; on a dark theme the palette's
    // own text colour is kept.
    const bool lightBase = palette().color(QPalette::Base).lightness() >= 128;
    model_->setTextColor(lightBase ? QColor(0, 0, 56) : QColor());
}

QAbstractItemView* CFileView::listControl() const {
    if (mode_ == ViewMode::Details) return table_;
    return icons_;
}

void CFileView::setViewMode(ViewMode mode) {
    mode_ = mode;
    switch (mode) {
        case ViewMode::LargeIcons:
            icons_->setViewMode(QListView::IconMode);
            icons_->setFlow(QListView::LeftToRight);
            icons_->setWrapping(true);
            icons_->setIconSize(QSize(32, 32));
            icons_->setGridSize(QSize(96, 72));
            icons_->setWordWrap(true);
            break;
        case ViewMode::SmallIcons:
            icons_->setViewMode(QListView::ListMode);
            icons_->setFlow(QListView::LeftToRight);
            icons_->setWrapping(true);
            icons_->setIconSize(QSize(16, 16));
            icons_->setGridSize(QSize(200, icons_->fontMetrics().height() + 6));
            icons_->setWordWrap(false);
            break;
        case ViewMode::List:
            icons_->setViewMode(QListView::ListMode);
            icons_->setFlow(QListView::TopToBottom);
            icons_->setWrapping(true);
            icons_->setIconSize(QSize(16, 16));
            icons_->setGridSize(QSize());
            icons_->setWordWrap(false);
            break;
        case ViewMode::Details:
            break;
    }
    if (mode == ViewMode::Details) {
        stack_->setCurrentWidget(table_);
        sizeColumns();
    } else {
        fitNamesInCells(*icons_);
        stack_->setCurrentWidget(icons_);
    }
}

bool CFileView::checkBoxesEditable() const {
    return app::node::isNumberedWorkspace(context_.state.nodeKind);
}

void CFileView::refill() {
    app::AppState& state = context_.state;
    retireScan();
    model_->clear();
    state.fileCount = 0;
    state.activeCount = 0;
    state.selectedModulePath.clear();
    // Nothing selected yet (no Scrivel folder was found to select): the list
    // shows Scrivel's default folder, never the program's working folder.
    if (state.currentFolder.empty() && context_.drives)
        state.currentFolder = host::defaultHostFolder(*context_.drives);
    if (!state.currentFolder.empty())
        state.currentFolder = host::ensureTrailingSeparator(state.currentFolder);
    *checkRule_ = workspaces::checkRuleForNode(state.nodeKind, context_.store);

    auto* job = new FolderScanJob(state.currentFolder, state.typeFilter, cache_, this);
    connect(job, &FolderScanJob::rowsReady, this, &CFileView::rowsRead);
    connect(job, &FolderScanJob::finished, this, &CFileView::scanFinished);
    job_ = job;
    scanClock_.start();
    job->start();

    // The window keeps working while the scan runs; callers still find the
    // list complete when refill() returns.
    QEventLoop loop;
    connect(job, &FolderScanJob::finished, &loop, &QEventLoop::quit);
    connect(this, &CFileView::scanStopped, &loop, &QEventLoop::quit);
    loop.exec();
}

void CFileView::rowsRead(std::vector<ModuleRow> rows, std::size_t modulesRead,
                         std::size_t modulesToRead) {
    app::AppState& state = context_.state;
    for (ModuleRow& row : rows) {
        row.checked = checkRule_->checks(row);
        if (row.checked) ++state.activeCount;
    }
    state.fileCount += static_cast<std::uint32_t>(rows.size());
    model_->appendRows(std::move(rows));
    if (scanClock_.elapsed() >= kProgressAfterMs && modulesRead < modulesToRead) {
        if (MainStatusBar* bar = statusBar()) bar->showScanProgress(modulesRead, modulesToRead);
    }
}

void CFileView::scanFinished(ScanResult result) {
    FolderScanJob* job = job_;
    job_ = nullptr;
    if (job) job->deleteLater();
    if (MainStatusBar* bar = statusBar()) bar->hideScanProgress();
    app::AppState& state = context_.state;
    if (result.cancelled) {
        // What was read stays listed, in file name order.
        model_->sortBy(kColFileName, SortDirection::First);
        sort_->afterFill();
        updateSortIndicator();
        return;
    }
    applyCheckRule(result, *checkRule_);
    folderReadable_ = result.folderReadable;
    state.fileCount = result.fileCount;
    state.activeCount = result.activeCount;
    model_->setRows(std::move(result.rows));
    sort_->afterFill();
    updateSortIndicator();
    if (mode_ == ViewMode::Details) sizeColumns();
    emit filled();
}

void CFileView::retireScan() {
    if (!job_) return;
    FolderScanJob* job = job_;
    job_ = nullptr;
    job->cancel();
    disconnect(job, nullptr, this, nullptr);
    connect(job, &FolderScanJob::finished, job, &QObject::deleteLater);
    if (MainStatusBar* bar = statusBar()) bar->hideScanProgress();
    emit scanStopped();
}

void CFileView::cancelScan() {
    if (job_) job_->cancel();
}

MainStatusBar* CFileView::statusBar() {
    auto* bar = window()->findChild<MainStatusBar*>();
    if (bar)
        connect(bar, &MainStatusBar::cancelScanRequested, this, &CFileView::cancelScan,
                Qt::UniqueConnection);
    return bar;
}

void CFileView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && job_) {
        cancelScan();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CFileView::onUpdate(ModshelfView* /*sender*/) {
    refill();
}

void CFileView::headingClicked(int column) {
    if (!options_->isOn(ListOption::AllowSort)) {
        updateSortIndicator();  // the header flips its mark on its own; put it back
        return;
    }
    SortDirection direction = sort_->click(column);
    model_->sortBy(column, direction);
    updateSortIndicator();
}

void CFileView::updateSortIndicator() {
    QHeaderView* header = table_->horizontalHeader();
    const int column = sort_->lastColumn();
    if (column < 0) {
        header->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    // The mark shows which way the values run: text columns go A to Z first,
    // size and date go largest and newest first.
    const bool numeric = column == kColFileSize || column == kColLastModified;
    const bool first = sort_->lastDirection() == SortDirection::First;
    const bool ascending = numeric ? !first : first;
    header->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void CFileView::sizeColumns() {
    table_->setUpdatesEnabled(false);
    QHeaderView* header = table_->horizontalHeader();
    for (int column = 0; column < kListColumnCount; ++column) {
        const QAbstractItemView* view = table_;
        const int content = model_->rowCount() > 0 ? view->sizeHintForColumn(column) : 0;
        const int heading = header->sectionSizeHint(column);
        table_->setColumnWidth(column, sizedColumnWidth(column, content, heading));
    }
    table_->setUpdatesEnabled(true);
}

int CFileView::selectedRow() const {
    const QModelIndexList selected = table_->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return -1;
    return selected.front().row();
}

void CFileView::updateSelectedModule(bool setTitle) {
    app::AppState& state = context_.state;
    const std::string folder = host::ensureTrailingSeparator(state.currentFolder);
    const int row = selectedRow();
    if (row < 0) {
        state.selectedModulePath.clear();
        emit moduleSelected(QString());
        return;
    }
    const ModuleRecord& record = model_->row(row).record;
    // The path names the file on disk; the title shows the name as listed.
    const std::string& diskName = record.fullName.empty() ? record.fileName : record.fullName;
    state.selectedModulePath = folder + diskName;
    if (setTitle)
        window()->setWindowTitle(
            QString::fromStdString(state.titlePrefix + folder + record.fileName));
    emit moduleSelected(QString::fromStdString(state.selectedModulePath));
}

std::vector<workspaces::ListRow> CFileView::listRows() const {
    std::vector<workspaces::ListRow> rows;
    rows.reserve(model_->rows().size());
    for (const ModuleRow& row : model_->rows())
        rows.push_back({row.record.moduleType, row.record.tabName, row.checked});
    return rows;
}

void CFileView::toggleOption(int command) {
    const ListOptionInfo* info = listOptionForCommand(command);
    if (!info) return;
    options_->toggle(context_.store, info->option);
    applyOptions();
    if (info->refillAfterToggle) refill();
}

bool CFileView::handleCommand(int id) {
    for (CommandTarget* set : commandSets_)
        if (set->handleCommand(id)) return true;
    switch (id) {
        case cmd::kLargeIcons:
            setViewMode(ViewMode::LargeIcons);
            return true;
        case cmd::kSmallIcons:
            setViewMode(ViewMode::SmallIcons);
            return true;
        case cmd::kListMode:
            setViewMode(ViewMode::List);
            return true;
        case cmd::kDetailsMode:
            setViewMode(ViewMode::Details);
            return true;
        case cmd::kRefreshList:
            // The tree looks again for what it did not find (Scrivel's folder).
            if (context_.document) context_.document->updateAllViews(this);
            refill();
            return true;
        default:
            break;
    }
    if (listOptionForCommand(id)) {
        toggleOption(id);
        return true;
    }
    if (isFilterCommand(id)) {
        if (context_.state.typeFilter.handleCommand(id)) refill();
        return true;
    }
    return false;
}

bool CFileView::updateCommand(int id, CommandState& state) {
    for (CommandTarget* set : commandSets_)
        if (set->updateCommand(id, state)) return true;
    switch (id) {
        case cmd::kLargeIcons:
        case cmd::kSmallIcons:
        case cmd::kListMode:
        case cmd::kDetailsMode:
            state.enabled = true;
            state.checked = viewModeCommand(mode_) == id;
            return true;
        case cmd::kRefreshList:
            state.enabled = true;
            return true;
        default:
            break;
    }
    if (const ListOptionInfo* info = listOptionForCommand(id)) {
        state.checked = options_->isOn(info->option);
        state.enabled = mode_ == ViewMode::Details;
        return true;
    }
    if (isFilterCommand(id)) {
        auto item = context_.state.typeFilter.menuItemState(id, context_.state.nodeKind);
        if (!item) return false;
        state.enabled = item->enabled;
        state.checked = item->checked;
        return true;
    }
    return false;
}

QString CFileView::labelTip(const QModelIndex& index) const {
    if (!options_->isOn(ListOption::LabelTips) || !index.isValid()) return {};
    QAbstractItemView* view = listControl();
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.font = view->font();
    option.decorationSize = view->iconSize().isValid() ? view->iconSize() : QSize(16, 16);
    const int needed = view->itemDelegateForIndex(index)->sizeHint(option, index).width();
    if (needed <= view->visualRect(index).width()) return {};
    return index.data(Qt::DisplayRole).toString();
}

bool CFileView::eventFilter(QObject* watched, QEvent* event) {
    const bool ours = watched == table_->viewport() || watched == icons_->viewport();
    if (!ours) return QWidget::eventFilter(watched, event);

    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton)
            updateSelectedModule(true);
    } else if (event->type() == QEvent::ToolTip) {
        // Label tips: a cell whose text does not fit unfolds when hovered.
        auto* help = static_cast<QHelpEvent*>(event);
        QAbstractItemView* view = listControl();
        const QModelIndex index = view->indexAt(help->pos());
        const QString tip = labelTip(index);
        if (!tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), tip, view->viewport(), view->visualRect(index));
            return true;
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace modshelf::gui
