#include "gui/views/ListSearchBar.h"

#include <QKeyEvent>
#include <QListView>
#include <QTableView>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/modules/ListSearch.h"
#include "gui/GuiContext.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"

namespace modshelf::gui {

ListSearchBar::ListSearchBar(GuiContext& context, CFileView& list)
    : QLineEdit(&list), context_(context), list_(list) {
    setPlaceholderText(tr("Find in the list (Ctrl+F): file name, tab name or description"));
    setClearButtonEnabled(true);
    setAccessibleName(tr("Find in the list"));
    connect(this, &QLineEdit::textChanged, this, &ListSearchBar::apply);
    // Rows come and go with every fill and move with every sort.
    ModuleListModel* model = &list_.model();
    connect(model, &ModuleListModel::modelReset, this, &ListSearchBar::apply);
    connect(model, &ModuleListModel::layoutChanged, this, &ListSearchBar::apply);
    connect(model, &ModuleListModel::rowsInserted, this, &ListSearchBar::apply);
    connect(&list_, &CFileView::filled, this, &ListSearchBar::apply);
}

void ListSearchBar::apply() {
    const std::string needle = text().toStdString();
    const ModuleListModel& model = list_.model();
    QTableView* table = list_.detailsView();
    QListView* icons = list_.iconView();
    const int count = model.rowCount();
    if (needle.empty() && hiddenRows_ == 0) {
        context_.state.shownCount.reset();
        return;
    }
    int shown = 0;
    int hidden = 0;
    table->setUpdatesEnabled(false);
    icons->setUpdatesEnabled(false);
    for (int row = 0; row < count; ++row) {
        const bool hide = !modules::rowMatchesSearch(model.row(row).record, needle);
        if (table->isRowHidden(row) != hide) table->setRowHidden(row, hide);
        if (icons->isRowHidden(row) != hide) icons->setRowHidden(row, hide);
        hide ? ++hidden : ++shown;
    }
    table->setUpdatesEnabled(true);
    icons->setUpdatesEnabled(true);
    hiddenRows_ = hidden;
    if (needle.empty())
        context_.state.shownCount.reset();
    else
        context_.state.shownCount = static_cast<std::uint32_t>(shown);
}

void ListSearchBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        clear();
        if (QWidget* rows = list_.listControl()) rows->setFocus();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool ListSearchBar::handleCommand(int id) {
    if (id != app::cmd::kFindModules) return false;
    setFocus(Qt::ShortcutFocusReason);
    selectAll();
    return true;
}

bool ListSearchBar::updateCommand(int id, CommandState& state) {
    if (id != app::cmd::kFindModules) return false;
    state.enabled = true;
    return true;
}

ListSearchBar* attachListSearch(GuiContext& context, CFileView& list) {
    auto* bar = new ListSearchBar(context, list);
    list.addTopBar(bar);
    list.addCommandSet(bar);
    return bar;
}

}  // namespace modshelf::gui
