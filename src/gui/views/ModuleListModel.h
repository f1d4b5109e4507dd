#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <functional>
#include <vector>

#include "core/modules/ListSort.h"
#include "core/modules/ModuleRecord.h"

namespace modshelf::gui {

// The rows of one folder scan as a table of six columns. Cell texts are made
// when the view asks for them; a row holds only its record, kind and box.
class ModuleListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModuleListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Replaces every row.
    void setRows(std::vector<modules::ModuleRow> rows);
    // Adds rows at the end, as a scan finishes them.
    void appendRows(std::vector<modules::ModuleRow> rows);
    void clear() { setRows({}); }
    // Empties the list and hands over its rows, for the next scan to reuse.
    std::vector<modules::ModuleRow> takeRows();
    const std::vector<modules::ModuleRow>& rows() const { return rows_; }
    const modules::ModuleRow& row(int index) const { return rows_[index]; }

    // Reorders the rows by one column; selections follow their rows.
    void sortBy(int column, modules::SortDirection direction);

    // The text of a cell as the list shows it.
    std::string cellText(int row, int column) const;

    // Whether the user may change the boxes now (the selected tree node
    // decides), and who hears of a change.
    void setCheckable(std::function<bool()> checkable) { checkable_ = std::move(checkable); }
    void setCheckChanged(std::function<void(int row, bool checked)> handler) {
        checkChanged_ = std::move(handler);
    }
    // Without full-row selection only the file name cell can be selected.
    void setFullRowSelect(bool on) { fullRowSelect_ = on; }
    void setTextColor(const QColor& color) { textColor_ = color; }

    int checkedCount() const;

private:
    std::vector<modules::ModuleRow> rows_;
    std::function<bool()> checkable_;
    std::function<void(int, bool)> checkChanged_;
    bool fullRowSelect_ = true;
    QColor textColor_;
    QIcon moduleIcon_;
    QIcon otherFileIcon_;
};

// The sort keys of one row.
modules::SortKeys sortKeysOf(const modules::ModuleRow& row);

}  // namespace modshelf::gui
