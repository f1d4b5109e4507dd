#include "core/dialogs/CreditCrawl.h"

#include <algorithm>

namespace modshelf::dialogs {

std::vector<CreditCrawl::VisibleLine> CreditCrawl::frame(int height, int lineHeight) {
    std::vector<VisibleLine> visible;
    const int lastStart = scrollPosition_;
    bool restart = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const int y = lastStart + static_cast<int>(i) * lineHeight;
        if (y > 0) {
            // Lines fade in from the top edge, where the distance swallows them.
            const Colour colour = y < 256 ? Colour{y, y, 0} : Colour{255, 255, 0};
            visible.push_back({i, y, colour});
        } else if (i + 1 == lines_.size()) {
            restart = true;
        }
    }
    if (restart) scrollPosition_ = height;
    scrollPosition_ -= scrollStep_;
    return visible;
}

std::vector<PerspectiveRow> perspectiveRows(int width, int height) {
    std::vector<PerspectiveRow> rows;
    if (width <= 0 || height <= 0) return rows;
    rows.reserve(static_cast<std::size_t>(height));
    double targetY = height - 1;
    for (int g = height - 1; g >= 0; --g) {
        const double ratio = static_cast<double>(g) / height;
        const double targetWidth = ratio * width;
        targetY -= std::min(ratio * 1.45, 1.0);
        PerspectiveRow row;
        row.sourceRow = g;
        row.x = static_cast<int>((width - targetWidth) / 2);
        row.y = std::max(0, static_cast<int>(targetY));
        row.width = static_cast<int>(targetWidth);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace modshelf::dialogs
