#include "gui/dialogs/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

namespace modshelf::gui {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString sample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseX_ = (metrics.horizontalAdvance(sample) / 26.0 + 1) / 2.0;
    baseY_ = metrics.height();
}

int DialogUnits::px(int units) const {
    return static_cast<int>(units * baseX_ / 4.0 + 0.5);
}

int DialogUnits::py(int units) const {
    return static_cast<int>(units * baseY_ / 8.0 + 0.5);
}

QRect DialogUnits::rect(int x, int y, int width, int height) const {
    return QRect(px(x), py(y), px(width), py(height));
}

}  // namespace modshelf::gui
