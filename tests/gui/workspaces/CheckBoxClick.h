#pragma once

#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"

namespace modshelf::gui::testing {

// A mouse click on the check box of a list row, where the list draws it: the
// style's check indicator rectangle of the row's first cell.
inline void clickCheckBox(CFileView& list, int row) {
    QTableView* table = list.detailsView();
    const QModelIndex index = list.model().index(row, 0);
    table->scrollTo(index);
    QStyleOptionViewItem option;
    option.initFrom(table->viewport());
    option.rect = table->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay |
                      QStyleOptionViewItem::HasDecoration;
    option.decorationSize = QSize(16, 16);
    option.text = index.data().toString();
    const QRect box =
        table->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, table);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
}

}  // namespace modshelf::gui::testing
