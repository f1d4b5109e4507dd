#include "gui/views/MissingFolderBar.h"

#include <QTimer>

#include "core/app/AppState.h"
#include "core/host/DriveMap.h"
#include "core/host/MissingFolderHint.h"
#include "gui/GuiContext.h"
#include "gui/views/CFileView.h"

namespace modshelf::gui {

MissingFolderBar::MissingFolderBar(GuiContext& context, CFileView& list)
    : QLabel(&list), context_(context), list_(list) {
    setObjectName(QStringLiteral("missingFolderBar"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setContentsMargins(6, 4, 6, 4);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    hide();
    connect(&list, &CFileView::filled, this, &MissingFolderBar::update);
    // Scrivel's folders are searched after the list is made, and a folder
    // not found leaves the list unfilled: look once the window is up.
    QTimer::singleShot(0, this, &MissingFolderBar::update);
}

void MissingFolderBar::update() {
    static const host::DriveMap noDrives;
    const app::AppState& state = context_.state;
    const std::string hint =
        host::missingFolderHint(state, state.currentFolder, list_.listedFolderReadable(),
                                context_.drives ? *context_.drives : noDrives);
    setText(QString::fromStdString(hint));
    setVisible(!hint.empty());
}

MissingFolderBar* attachMissingFolderBar(GuiContext& context, CFileView& list) {
    auto* bar = new MissingFolderBar(context, list);
    list.addTopBar(bar);
    return bar;
}

}  // namespace modshelf::gui
