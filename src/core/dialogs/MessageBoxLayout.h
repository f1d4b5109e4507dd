#pragma once

#include <functional>
#include <optional>
#include <vector>

namespace modshelf::dialogs {

struct LayoutSize {
    int width = 0;
    int height = 0;
    bool operator==(const LayoutSize&) const = default;
};

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    void offset(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    bool operator==(const LayoutRect&) const = default;
};

// What the system says about sizes: dialog base units, the screen and the
// size of a standard icon.
struct LayoutMetrics {
    int baseUnitX = 8;
    int baseUnitY = 16;
    int screenWidth = 1280;
    LayoutSize iconSize{32, 32};
};

struct LayoutRequest {
    bool newerLook = false;
    bool narrow = false;
    bool rightAligned = false;
    bool styleHasIconBits = false;  // narrows the text, whichever icon is shown
    bool hasIcon = false;           // an icon is actually shown
    bool hasBand = false;
    bool countdown = false;
    std::vector<int> buttonTextWidths;  // the visible captions' widths, left to right
    bool hasCheckBox = false;
    int checkBoxWidth = 0;  // the check box with its caption
};

// Measures the message word-wrapped within `widthLimit` pixels.
struct MeasuredText {
    LayoutSize size;
    int lines = 1;
};
using TextMeasurer = std::function<MeasuredText(int widthLimit)>;

// Every position in pixels, relative to the box's client area.
struct MessageBoxLayout {
    int textWidthLimit = 0;
    LayoutRect message;
    std::optional<LayoutRect> icon;
    LayoutRect band;  // meaningful when the request has a band
    std::vector<LayoutRect> buttons;
    std::optional<LayoutRect> checkBox;
    LayoutSize box;
};

// a * b / c rounded to the nearest integer, as the system's MulDiv.
int mulDiv(int a, int b, int c);

int minimumButtonWidth(const LayoutMetrics& metrics, bool newerLook);
int buttonHeight(const LayoutMetrics& metrics, bool newerLook);
int checkBoxHeight(const LayoutMetrics& metrics);
int countdownExtraWidth(const LayoutMetrics& metrics);
int buttonWidth(const LayoutMetrics& metrics, int textWidth, bool newerLook, bool countdown);

MessageBoxLayout layOutMessageBox(const LayoutMetrics& metrics, const LayoutRequest& request,
                                  const TextMeasurer& measure);

// Pixels to dialog units: x*4/bx and y*8/by, integer division.
LayoutSize toDialogUnits(const LayoutMetrics& metrics, LayoutSize pixels);

}  // namespace modshelf::dialogs
