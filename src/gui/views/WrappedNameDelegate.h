#pragma once

#include <QStyledItemDelegate>

namespace modshelf::gui {

// Draws the large icons' names as Windows does: wrapped at spaces and
// hyphens, and a word too long for the cell broken anywhere rather than cut.
class WrappedNameDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // `text` with break chances inside each word wider than `width`.
    static QString breakLongWords(const QString& text, const QFontMetrics& metrics, int width);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace modshelf::gui
