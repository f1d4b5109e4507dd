#include "gui/ModshelfApplication.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <memory>

#include "core/app/AppState.h"
#include "core/dialogs/MessageBoxParams.h"
#include "core/host/DriveMap.h"
#include "core/host/HostControl.h"
#include "gui/CModshelfApp.h"
#include "gui/FrameViews.h"
#include "gui/GuiContext.h"
#include "gui/SaveFailureNotices.h"
#include "gui/dialogs/QtPrompter.h"
#include "gui/dialogs/XMessageBox.h"
#include "platform/Platform.h"

namespace modshelf::gui {

int runModshelf(int argc, char** argv) {
    QApplication application(argc, argv);
    // Desktops match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.modshelf.Modshelf"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/modshelf-app.svg")));
    const std::string programPath = QCoreApplication::applicationFilePath().toStdString();

    platform::OpenedSettingsStore opened = platform::openSettingsStore();
    settings::SettingsStore& store = *opened.store;
    QtPrompter prompter;
    // A failed save must not pass unnoticed: the change the user just made is
    // not on disk.
    SaveFailureNotices saveFailures(store, prompter);
    XMessageBox::setAnswerStore(&store);  // remembered "don't ask again" answers

    app::AppState state;
    const std::filesystem::path prefix = platform::winePrefixPath();
    const host::DriveMap drives = host::DriveMap::fromPrefix(prefix);
    platform::NativeWindowSystem windows;
    platform::NativeProgramLauncher launcher(prefix);
    host::HostControl host(windows, launcher, prompter, state);
    host.setWaitCursor([](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });

    GuiContext context{store, prompter, state, &host, nullptr, nullptr, &drives};
    platform::SingleInstance marker;
    CModshelfApp app(context, marker, programPath, programViews());
    if (!app.InitInstance()) return 1;
    prompter.setOwner(app.mainFrame());
    if (!opened.noticeText.empty())
        prompter.messageBox(opened.noticeText, " Modshelf Settings",
                            dialogs::mb::kOk | dialogs::mb::kIconInformation,
                            dialogs::standardParams(true));
    const int result = application.exec();
    // A save that failed at exit (the window's placement) is told now, while
    // this copy still holds the marker: none can start under the notice.
    prompter.setOwner(nullptr);
    saveFailures.showPending();
    return result;
}

}  // namespace modshelf::gui
