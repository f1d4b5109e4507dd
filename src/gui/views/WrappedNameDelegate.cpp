#include "gui/views/WrappedNameDelegate.h"

#include <QApplication>
#include <QStyle>

namespace modshelf::gui {

namespace {

// A break chance that draws nothing.
constexpr QChar kZeroWidthSpace(0x200B);

bool endsWord(QChar c) {
    return c.isSpace() || c == QLatin1Char('-');
}

}  // namespace

QString WrappedNameDelegate::breakLongWords(const QString& text, const QFontMetrics& metrics,
                                            int width) {
    if (width <= 0 || metrics.horizontalAdvance(text) <= width) return text;
    QString result;
    result.reserve(text.size() * 2);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !endsWord(text[end])) ++end;
        const QString word = text.mid(start, end - start);
        if (metrics.horizontalAdvance(word) > width) {
            for (qsizetype i = 0; i < word.size(); ++i) {
                result += word[i];
                // Not inside a surrogate pair.
                if (i + 1 < word.size() && !word[i].isHighSurrogate()) result += kZeroWidthSpace;
            }
        } else {
            result += word;
        }
        if (end < text.size()) result += text[end];
        start = end + 1;
    }
    return result;
}

void WrappedNameDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!(option->features & QStyleOptionViewItem::WrapText)) return;
    const QStyle* style = option->widget ? option->widget->style() : QApplication::style();
    const int margin =
        2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1);
    option->text = breakLongWords(option->text, option->fontMetrics, option->rect.width() - margin);
}

}  // namespace modshelf::gui
