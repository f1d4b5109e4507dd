#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QSortFilterProxyModel>

#include "core/workspaces/WorkspaceMatrix.h"

class QLineEdit;
class QTableView;

namespace modshelf::gui {

struct GuiContext;

// The matrix as a table: file name, type and tab name, then one check column
// per numbered workspace and a read-only one for Scrivel's current settings.
// A tick is stored at once, as one operation.
class WorkspaceMatrixModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kFirstWorkspaceColumn = 3;

    WorkspaceMatrixModel(GuiContext& context, workspaces::WorkspaceMatrix matrix,
                         QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const workspaces::WorkspaceMatrix& matrix() const { return matrix_; }
    // Numbered workspaces changed here (1 to 15), so the list can follow.
    const std::vector<int>& changedWorkspaces() const { return changed_; }

private:
    GuiContext& context_;
    workspaces::WorkspaceMatrix matrix_;
    std::vector<int> changed_;
};

// Sorts by any column (ticks before blanks) and keeps the rows that match the
// search text.
class WorkspaceMatrixFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setSearchText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    std::string search_;
};

class WorkspaceMatrixDialog : public QDialog {
    Q_OBJECT
public:
    WorkspaceMatrixDialog(GuiContext& context, workspaces::WorkspaceMatrix matrix,
                          QWidget* parent = nullptr);

    WorkspaceMatrixModel& model() const { return *model_; }
    WorkspaceMatrixFilter& filter() const { return *filter_; }
    QTableView* table() const { return table_; }
    QLineEdit* searchBox() const { return search_; }

private:
    WorkspaceMatrixModel* model_ = nullptr;
    WorkspaceMatrixFilter* filter_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* search_ = nullptr;
};

}  // namespace modshelf::gui
