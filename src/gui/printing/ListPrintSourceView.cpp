#include "gui/printing/ListPrintSourceView.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

#include "gui/views/ModuleListModel.h"

namespace modshelf::gui {

ListPrintSourceView::ListPrintSourceView(const QTableView& table, const ModuleListModel& model)
    : table_(table), model_(model) {
    const QHeaderView* header = table_.horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 0 && !header->isSectionHidden(logical)) logical_.push_back(logical);
    }
}

int ListPrintSourceView::itemCount() const {
    return model_.rowCount();
}

int ListPrintSourceView::columnCount() const {
    return static_cast<int>(logical_.size());
}

std::string ListPrintSourceView::heading(int displayColumn) const {
    return model_.headerData(logical_[displayColumn], Qt::Horizontal, Qt::DisplayRole)
        .toString()
        .toStdString();
}

int ListPrintSourceView::columnWidth(int displayColumn) const {
    return table_.horizontalHeader()->sectionSize(logical_[displayColumn]);
}

std::string ListPrintSourceView::cell(int item, int displayColumn) const {
    return model_.cellText(item, logical_[displayColumn]);
}

bool ListPrintSourceView::checked(int item) const {
    return model_.row(item).checked;
}

reports::ListPrintMetrics ListPrintSourceView::screenMetrics() const {
    reports::ListPrintMetrics m;
    m.averageCharWidth = QFontMetrics(table_.font()).averageCharWidth();
    int width = 0;
    for (int c = 0; c < columnCount(); ++c) width += columnWidth(c);
    m.itemWidth = width;
    m.rowHeight = model_.rowCount() > 0 ? table_.rowHeight(0) : 0;
    m.headerHeight = table_.horizontalHeader()->height();
    if (m.headerHeight <= 0) m.headerHeight = table_.horizontalHeader()->sizeHint().height();
    m.screenDpiY = table_.logicalDpiY();
    return m;
}

}  // namespace modshelf::gui
