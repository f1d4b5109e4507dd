#include "core/dialogs/MessageBoxLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace modshelf::dialogs {

namespace {
constexpr int kGapBetweenButtons = 6;
constexpr int kCheckBoxLeft = 17;
constexpr int kCheckBoxGap = 12;
constexpr int kCheckBoxBottomMargin = 16;
}  // namespace

int mulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int minimumButtonWidth(const LayoutMetrics& m, bool newerLook) {
    return mulDiv(38, m.baseUnitX, 4) + (newerLook ? mulDiv(6, m.baseUnitX, 4) : 0);
}

int buttonHeight(const LayoutMetrics& m, bool newerLook) {
    return mulDiv(12, m.baseUnitY, 8) + (newerLook ? mulDiv(1, m.baseUnitY, 8) : 0);
}

int checkBoxHeight(const LayoutMetrics& m) {
    return mulDiv(10, m.baseUnitY, 8);
}

int countdownExtraWidth(const LayoutMetrics& m) {
    return mulDiv(13, m.baseUnitX, 4);
}

int buttonWidth(const LayoutMetrics& m, int textWidth, bool newerLook, bool countdown) {
    int width = std::max(textWidth + 20, minimumButtonWidth(m, newerLook));
    if (countdown) width += countdownExtraWidth(m);
    return width;
}

MessageBoxLayout layOutMessageBox(const LayoutMetrics& m, const LayoutRequest& r,
                                  const TextMeasurer& measure) {
    MessageBoxLayout out;

    int limit = r.newerLook ? m.screenWidth / 2 - 10 : m.screenWidth / 2 + 80;
    if (r.narrow) limit = m.screenWidth / 3;
    if (r.styleHasIconBits) limit -= m.iconSize.width + 16;
    out.textWidthLimit = limit;

    const MeasuredText text = measure(limit);
    out.message = {16, r.newerLook ? 32 : 16, text.size.width + 28,
                   text.size.height + (r.newerLook ? 61 : 29)};
    int boxWidth = out.message.width() + 16 + (r.newerLook ? 16 : 0);

    if (r.hasIcon) {
        const int margin = r.newerLook ? 24 : 8;
        out.message.offset(margin + m.iconSize.width, 0);
        boxWidth = out.message.right + (r.newerLook ? 24 : 8);
        out.icon = LayoutRect{margin, margin, margin + m.iconSize.width + 2,
                              margin + m.iconSize.height + 2};
        if (r.newerLook && text.lines > 1) out.message.offset(0, out.icon->top - out.message.top);
    }

    const bool newer = r.newerLook;
    std::vector<int> widths;
    for (int textWidth : r.buttonTextWidths) {
        widths.push_back(buttonWidth(m, textWidth, newer, r.countdown));
    }
    int rowWidth = 0;
    for (int w : widths) rowWidth += w;
    if (widths.size() > 1) rowWidth += kGapBetweenButtons * static_cast<int>(widths.size() - 1);

    int contentBottom = out.message.bottom;
    if (out.icon) contentBottom = std::max(contentBottom, out.icon->bottom);
    const int rowTop = contentBottom + ((r.hasIcon || r.hasBand) ? 14 : 5);
    const int rowHeight = buttonHeight(m, newer);

    boxWidth = std::max(boxWidth, rowWidth + 32);
    // The check box keeps its caption whole: the box grows for a long one.
    if (r.hasCheckBox) boxWidth = std::max(boxWidth, kCheckBoxLeft + r.checkBoxWidth + 16);

    int x = r.rightAligned ? boxWidth - rowWidth - 16 : (boxWidth - rowWidth) / 2;
    for (int w : widths) {
        out.buttons.push_back({x, rowTop, x + w, rowTop + rowHeight});
        x += w + kGapBetweenButtons;
    }

    int boxHeight = rowTop + rowHeight + 12;
    if (r.hasCheckBox) {
        const int top = rowTop + rowHeight + kCheckBoxGap;
        out.checkBox = LayoutRect{kCheckBoxLeft, top, kCheckBoxLeft + r.checkBoxWidth,
                                  top + checkBoxHeight(m)};
        boxHeight = out.checkBox->bottom + kCheckBoxBottomMargin;
    }

    out.band = {0, 0, boxWidth, out.message.bottom};
    out.box = {boxWidth, boxHeight};
    return out;
}

LayoutSize toDialogUnits(const LayoutMetrics& m, LayoutSize pixels) {
    return {pixels.width * 4 / m.baseUnitX, pixels.height * 8 / m.baseUnitY};
}

}  // namespace modshelf::dialogs
