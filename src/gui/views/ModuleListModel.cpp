#include "gui/views/ModuleListModel.h"

#include <QColor>
#include <algorithm>
#include <numeric>

#include "core/modules/ListColumns.h"
#include "core/modules/ListFormat.h"
#include "gui/views/ViewIcons.h"

namespace modshelf::gui {

using namespace modshelf::modules;

namespace {

Qt::Alignment alignmentOf(int column) {
    switch (listColumns()[column].align) {
        case ColumnAlign::Centre:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case ColumnAlign::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case ColumnAlign::Left:
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// A cell shows at most this much of its text: measuring and drawing a text of
// megabytes (a module's long description) would stall the list for seconds.
constexpr std::size_t kShownTextBytes = 1024;

QString shownText(std::string text) {
    if (text.size() > kShownTextBytes) {
        std::size_t cut = kShownTextBytes;
        // Not inside a UTF-8 sequence.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text.resize(cut);
        text += "...";
    }
    return QString::fromStdString(text);
}

}  // namespace

SortKeys sortKeysOf(const ModuleRow& row) {
    SortKeys keys;
    keys.fileName = row.record.fileName;
    keys.sortTypeName = isModuleKind(row.kind) ? sortTypeName(row.kind) : std::string_view{};
    keys.tabName = row.record.tabName;
    keys.description = row.record.description;
    keys.size = row.record.size;
    keys.lastWrite = row.record.lastModified;
    return keys;
}

ModuleListModel::ModuleListModel(QObject* parent)
    : QAbstractTableModel(parent),
      moduleIcon_(viewIcon(ViewIcon::ModuleFile)),
      otherFileIcon_(viewIcon(ViewIcon::OtherFile)) {}

int ModuleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ModuleListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kListColumnCount;
}

std::string ModuleListModel::cellText(int row, int column) const {
    const ModuleRecord& record = rows_[row].record;
    switch (column) {
        case kColFileName:
            return record.fileName;
        case kColModuleType:
            return record.moduleType;
        case kColTabName:
            return record.tabName;
        case kColFileSize:
            return FormatThousands(record.size);
        case kColLastModified:
            return lastModifiedText(record.lastModified);
        case kColDescription:
            return record.description;
        default:
            return {};
    }
}

QVariant ModuleListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return shownText(cellText(index.row(), column));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(alignmentOf(column));
        case Qt::DecorationRole:
            if (column != kColFileName) return {};
            return rows_[index.row()].imageIndex() == 1 ? moduleIcon_ : otherFileIcon_;
        case Qt::CheckStateRole:
            if (column != kColFileName) return {};
            return rows_[index.row()].checked ? Qt::Checked : Qt::Unchecked;
        case Qt::ForegroundRole:
            if (textColor_.isValid()) return textColor_;
            return {};
        default:
            return {};
    }
}

QVariant ModuleListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kListColumnCount) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(listColumns()[section].heading);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(alignmentOf(section));
    return {};
}

Qt::ItemFlags ModuleListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (fullRowSelect_ || index.column() == kColFileName) flags |= Qt::ItemIsSelectable;
    if (index.column() == kColFileName && checkable_ && checkable_())
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool ModuleListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != kColFileName)
        return false;
    // The guard holds for every way of changing a box, not only for clicks.
    if (!checkable_ || !checkable_()) return false;
    bool checked = value.toInt() == Qt::Checked;
    ModuleRow& row = rows_[index.row()];
    if (row.checked == checked) return true;
    row.checked = checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    if (checkChanged_) checkChanged_(index.row(), checked);
    return true;
}

void ModuleListModel::setRows(std::vector<ModuleRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void ModuleListModel::appendRows(std::vector<ModuleRow> rows) {
    if (rows.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.end()));
    endInsertRows();
}

std::vector<ModuleRow> ModuleListModel::takeRows() {
    beginResetModel();
    std::vector<ModuleRow> rows = std::move(rows_);
    rows_.clear();
    endResetModel();
    return rows;
}

void ModuleListModel::sortBy(int column, SortDirection direction) {
    if (rows_.size() < 2) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<SortKeys> keys;
    keys.reserve(rows_.size());
    for (const ModuleRow& row : rows_) keys.push_back(sortKeysOf(row));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return sortsBefore(keys[a], keys[b], column, direction);
    });

    std::vector<ModuleRow> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> newRowOf(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newRowOf[order[i]] = static_cast<int>(i);
        sorted.push_back(std::move(rows_[order[i]]));
    }
    rows_ = std::move(sorted);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.push_back(this->index(newRowOf[index.row()], index.column()));
    changePersistentIndexList(before, after);

    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ModuleListModel::checkedCount() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const ModuleRow& r) { return r.checked; }));
}

}  // namespace modshelf::gui
