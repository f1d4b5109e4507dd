#include "gui/printing/PrintedPagePainter.h"

#include <QFontInfo>
#include <QPainter>

namespace modshelf::gui {

namespace {

QRect toRect(const reports::PrintRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

int alignmentOf(reports::PrintText::Align align) {
    switch (align) {
        case reports::PrintText::Align::Centre:
            return Qt::AlignCenter;
        case reports::PrintText::Align::LeftBottom:
            return Qt::AlignLeft | Qt::AlignBottom;
        case reports::PrintText::Align::LeftCentre:
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace

void paintPrintedPage(QPainter& painter, const reports::PrintedPage& page, int horizontalScale,
                      int verticalScale, const QFont& listFont) {
    painter.save();
    painter.scale(horizontalScale, verticalScale);

    // A point size would be measured against the printer's resolution and
    // then scaled again; the screen's pixel size keeps the list's proportions.
    QFont normal = listFont;
    normal.setPixelSize(QFontInfo(listFont).pixelSize());
    QFont heading = normal;
    heading.setBold(true);

    painter.setPen(QPen(Qt::black, 0));
    painter.setBackground(Qt::white);
    for (const reports::PrintLine& line : page.lines)
        painter.drawLine(line.x1, line.y1, line.x2, line.y2);

    for (const reports::PrintText& text : page.texts) {
        painter.setFont(text.font == reports::PrintText::Font::Heading ? heading : normal);
        const int flags =
            alignmentOf(text.align) | Qt::TextSingleLine | (text.clip ? 0 : Qt::TextDontClip);
        // Without Qt::TextDontClip the painter cuts the text at its rectangle.
        painter.drawText(toRect(text.rect), flags, QString::fromStdString(text.text));
    }
    painter.restore();
}

}  // namespace modshelf::gui
