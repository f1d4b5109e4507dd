#include "gui/workspaces/WorkspaceMatrixDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/AppState.h"
#include "core/modules/ListSearch.h"
#include "core/settings/RegistryTypes.h"
#include "gui/GuiContext.h"

namespace modshelf::gui {

namespace {

using Matrix = workspaces::WorkspaceMatrix;
constexpr int kSortRole = Qt::UserRole + 1;

}  // namespace

WorkspaceMatrixModel::WorkspaceMatrixModel(GuiContext& context, workspaces::WorkspaceMatrix matrix,
                                           QObject* parent)
    : QAbstractTableModel(parent), context_(context), matrix_(std::move(matrix)) {}

int WorkspaceMatrixModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(matrix_.rows().size());
}

int WorkspaceMatrixModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFirstWorkspaceColumn + Matrix::kColumns;
}

QVariant WorkspaceMatrixModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Matrix::Row& row = matrix_.rows()[index.row()];
    const int column = index.column();
    if (column < kFirstWorkspaceColumn) {
        const std::string& text = column == 0   ? row.fileName
                                  : column == 1 ? row.typeName
                                                : row.module.tabName;
        if (role == Qt::DisplayRole || role == kSortRole) return QString::fromStdString(text);
        if (role == Qt::ToolTipRole && column == 0) return QString::fromStdString(row.description);
        return {};
    }
    const bool active = row.active[column - kFirstWorkspaceColumn];
    if (role == Qt::CheckStateRole) return active ? Qt::Checked : Qt::Unchecked;
    if (role == kSortRole) return active ? 0 : 1;
    return {};
}

QVariant WorkspaceMatrixModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (section < kFirstWorkspaceColumn) {
        static const char* const kHeadings[] = {"File Name", "Module Type", "Tab Name"};
        return role == Qt::DisplayRole ? QString::fromLatin1(kHeadings[section]) : QVariant();
    }
    const int column = section - kFirstWorkspaceColumn;
    const int slot = column == Matrix::kCurrentColumn ? app::kSlotCurrent : column;
    if (role == Qt::DisplayRole)
        return column == Matrix::kCurrentColumn
                   ? QStringLiteral("C")
                   : QStringLiteral("%1").arg(column + 1, 2, 10, QLatin1Char('0'));
    if (role == Qt::ToolTipRole)
        return QString::fromStdString(context_.state.workspaceDisplayName[slot]);
    return {};
}

Qt::ItemFlags WorkspaceMatrixModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const int column = index.column() - kFirstWorkspaceColumn;
    if (column >= 0 && column < Matrix::kCurrentColumn) f |= Qt::ItemIsUserCheckable;
    return f;
}

bool WorkspaceMatrixModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const int column = index.column() - kFirstWorkspaceColumn;
    if (role != Qt::CheckStateRole || column < 0 || column >= Matrix::kCurrentColumn) return false;
    const bool active = value.toInt() == Qt::Checked;
    if (matrix_.setActive(context_.store, static_cast<std::size_t>(index.row()), column, active) !=
        settings::kSuccess)
        return false;  // the store has told the user; the box stays as stored
    if (std::find(changed_.begin(), changed_.end(), column + 1) == changed_.end())
        changed_.push_back(column + 1);
    // Other rows of the same module changed with it.
    emit dataChanged(this->index(0, index.column()), this->index(rowCount() - 1, index.column()),
                     {Qt::CheckStateRole});
    return true;
}

void WorkspaceMatrixFilter::setSearchText(const QString& text) {
    search_ = text.toStdString();
    invalidateFilter();
}

bool WorkspaceMatrixFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (search_.empty()) return true;
    const auto& model = static_cast<const WorkspaceMatrixModel&>(*sourceModel());
    const Matrix::Row& row = model.matrix().rows()[sourceRow];
    modules::ModuleRecord record;
    record.fileName = row.fileName;
    record.tabName = row.module.tabName;
    record.description = row.description;
    return modules::rowMatchesSearch(record, search_);
}

bool WorkspaceMatrixFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant a = left.data(kSortRole);
    const QVariant b = right.data(kSortRole);
    if (a.typeId() == QMetaType::Int) return a.toInt() < b.toInt();
    return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive) < 0;
}

WorkspaceMatrixDialog::WorkspaceMatrixDialog(GuiContext& context,
                                             workspaces::WorkspaceMatrix matrix, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr(" Workspace Matrix"));
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(
        tr("Every Bible, commentary and dictionary against the fifteen workspaces and Scrivel's "
           "current settings (C). A tick is stored at once; C changes only by activating."),
        this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    search_ = new QLineEdit(this);
    search_->setPlaceholderText(tr("Find: file name, tab name or description"));
    search_->setClearButtonEnabled(true);
    layout->addWidget(search_);

    model_ = new WorkspaceMatrixModel(context, std::move(matrix), this);
    filter_ = new WorkspaceMatrixFilter(this);
    filter_->setSourceModel(model_);
    table_ = new QTableView(this);
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setWordWrap(false);
    table_->setColumnWidth(0, 180);
    table_->setColumnWidth(1, 90);
    table_->setColumnWidth(2, 90);
    for (int c = WorkspaceMatrixModel::kFirstWorkspaceColumn; c < model_->columnCount(); ++c)
        table_->setColumnWidth(c, 36);
    layout->addWidget(table_, 1);
    connect(search_, &QLineEdit::textChanged, filter_, &WorkspaceMatrixFilter::setSearchText);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(1000, 600);
}

}  // namespace modshelf::gui
