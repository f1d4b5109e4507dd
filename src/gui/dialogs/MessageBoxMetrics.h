#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "core/dialogs/MessageBoxLayout.h"
#include "core/dialogs/MessageBoxParams.h"

class QWidget;

namespace modshelf::gui {

// The message box's measuring, done with Qt's fonts and screens.
struct MessageBoxMetrics {
    QFont font;
    dialogs::LayoutMetrics layout;
};

// The message font and the system facts the layout needs, for the screen
// that `near` is on (the primary screen when null).
MessageBoxMetrics messageBoxMetrics(const QWidget* near);

// The message word-wrapped within a width, as the label will draw it.
dialogs::MeasuredText measureMessage(const QFont& font, const QString& text, int widthLimit);

// The width of a caption as it reads on screen ("&" marks removed).
int captionWidth(const QFont& font, const QString& caption);

// 0x00BBGGRR to a QColor.
QColor toQColor(dialogs::Colour colour);

}  // namespace modshelf::gui
