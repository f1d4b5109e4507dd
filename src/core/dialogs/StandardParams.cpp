#include "core/dialogs/MessageBoxParams.h"

namespace modshelf::dialogs {

MessageBoxParams standardParams(bool rightAlignButtons, int timeoutSeconds) {
    MessageBoxParams p;
    p.textColour = 0x00FF0000;        // blue (0x00BBGGRR)
    p.backgroundColour = 0x00FFFFFF;  // white
    p.iconId = 100;
    p.timeoutSeconds = timeoutSeconds;
    if (rightAlignButtons) p.options |= kOptionRightJustifyButtons;
    return p;
}

}  // namespace modshelf::dialogs
