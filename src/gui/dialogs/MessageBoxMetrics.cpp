#include "gui/dialogs/MessageBoxMetrics.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace modshelf::gui {

MessageBoxMetrics messageBoxMetrics(const QWidget* near) {
    MessageBoxMetrics m;
    m.font = QApplication::font("QMessageBox");
    const QFontMetrics fm(m.font);
    // The dialog base units follow the font: the average width of the letters
    // A-Z and a-z, rounded, and the height of a line.
    const int letters = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m.layout.baseUnitX = std::max(1, (letters / 26 + 1) / 2);
    m.layout.baseUnitY = std::max(1, fm.height());

    QScreen* screen = near ? near->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) m.layout.screenWidth = screen->availableGeometry().width();

    const int icon = QApplication::style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    m.layout.iconSize = {icon, icon};
    return m;
}

dialogs::MeasuredText measureMessage(const QFont& font, const QString& text, int widthLimit) {
    const QFontMetrics fm(font);
    const QRect bounds = fm.boundingRect(QRect(0, 0, std::max(1, widthLimit), 1 << 24),
                                         Qt::TextWordWrap | Qt::TextExpandTabs, text);
    dialogs::MeasuredText measured;
    measured.size = {bounds.width(), bounds.height()};
    measured.lines = std::max(1, bounds.height() / std::max(1, fm.lineSpacing()));
    return measured;
}

int captionWidth(const QFont& font, const QString& caption) {
    QString shown = caption;
    shown.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    shown.remove(QLatin1Char('&'));
    shown.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return QFontMetrics(font).horizontalAdvance(shown);
}

QColor toQColor(dialogs::Colour colour) {
    const auto c = static_cast<std::uint32_t>(colour);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

}  // namespace modshelf::gui
