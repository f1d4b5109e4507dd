#pragma once

#include <QFont>
#include <QRect>

namespace modshelf::gui {

// Dialog units follow the dialog's font: a horizontal unit is a quarter of the
// average character width, a vertical unit an eighth of the character height.
// Our fixed-layout dialogs give their controls' places in these units.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int px(int units) const;
    int py(int units) const;
    QRect rect(int x, int y, int width, int height) const;

private:
    double baseX_ = 0;
    double baseY_ = 0;
};

}  // namespace modshelf::gui
