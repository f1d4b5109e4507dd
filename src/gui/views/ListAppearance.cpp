#include "gui/views/ListAppearance.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QListView>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "gui/views/WrappedNameDelegate.h"

namespace modshelf::gui {

namespace {

int longestNameWidth(const QListView& icons) {
    const QAbstractItemModel* model = icons.model();
    if (!model) return 0;
    const QFontMetrics metrics = icons.fontMetrics();
    int widest = 0;
    const int column = icons.modelColumn();
    for (int row = 0, rows = model->rowCount(); row < rows; ++row)
        widest = std::max(widest,
                          metrics.horizontalAdvance(model->index(row, column).data().toString()));
    return widest;
}

}  // namespace

void fitNamesInCells(QListView& icons) {
    const int text = longestNameWidth(icons);
    const QStyle* style = icons.style();
    const int check = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &icons);
    const int spacing = 3 * style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &icons) + 8;
    const int lineHeight = icons.fontMetrics().height();
    if (icons.viewMode() == QListView::IconMode) {
        // Large icons: the name wraps below the icon on up to three lines. Each
        // item takes the height its own name needs: a size shared by all
        // would be the first name's, and would cut the longer ones.
        const int width = std::clamp(text / 2 + 2 * spacing + 40, 96, 260);
        icons.setGridSize(QSize(width, icons.iconSize().height() + 3 * lineHeight + 16));
        icons.setUniformItemSizes(false);
        return;
    }
    // Small icons and list: each cell as wide as the longest name. A uniform
    // size would be taken from the first name alone and cut the longer ones.
    const int height = std::max({lineHeight, icons.iconSize().height(), check}) + 6;
    icons.setUniformItemSizes(false);
    icons.setGridSize(QSize(check + icons.iconSize().width() + text + 2 * spacing, height));
}

void keepCheckBoxesVisible(QAbstractItemView& view) {
    QPalette palette = view.palette();
    const QColor base = palette.color(QPalette::Base);
    if (base.lightness() >= 128) return;
    // Styles draw a box's outline a shade darker than the window colour, which
    // on a dark theme is as dark as the list itself: the empty boxes vanish.
    // Between the list's background and its text the outline shows.
    const QColor text = palette.color(QPalette::Text);
    const QColor between((base.red() + 2 * text.red()) / 3, (base.green() + 2 * text.green()) / 3,
                         (base.blue() + 2 * text.blue()) / 3);
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Window, between);
    view.setPalette(palette);
}

void applyListAppearance(QTableView& details, QListView& icons) {
    details.horizontalHeader()->setStretchLastSection(true);
    keepCheckBoxesVisible(details);
    keepCheckBoxesVisible(icons);
    showFocusInSelection(details);
    showFocusInSelection(icons);
    icons.setItemDelegate(new WrappedNameDelegate(&icons));
    QListView* view = &icons;
    const auto refit = [view] { fitNamesInCells(*view); };
    QAbstractItemModel* model = icons.model();
    QObject::connect(model, &QAbstractItemModel::modelReset, &icons, refit);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &icons, refit);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, &icons, refit);
}

void showFocusInSelection(QAbstractItemView& view) {
    QPalette palette = view.palette();
    const QColor muted = palette.color(QPalette::Active, QPalette::Mid);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, muted);
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::Text));
    view.setPalette(palette);
}

}  // namespace modshelf::gui
