#include "gui/FrameViews.h"

#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"

namespace modshelf::gui {

FrameViews programViews() {
    return {
        [](GuiContext& context, QWidget* parent) -> ModshelfView* { return new CFileView(context, parent); },
        [](GuiContext& context, QWidget* parent) -> ModshelfView* { return new CDriveView(context, parent); },
    };
}

}  // namespace modshelf::gui
