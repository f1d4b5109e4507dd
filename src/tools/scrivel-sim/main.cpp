// scrivel-sim: stands in for Scrivel where Scrivel itself is not installed.
//
// Like Scrivel, it reads its activation keys once, when it starts, from the
// Wine prefix ($WINEPREFIX, else ~/.wine), shows the Bibles, commentaries and
// dictionaries they make active, keeps two top-level windows titled exactly
// "Scrivel" and "Scrivel - " + tagline, and ends when either is asked to close.
//
// Environment:
//   SCRIVEL_SIM_REPORT=<file>  write the active modules there at start, one
//                              "Bibles\<tab name>" (etc.) line each
//   SCRIVEL_SIM_REFUSE_CLOSE=<n>  refuse the first n close requests

#include <QApplication>

#include <cstdlib>

#include "ActiveModules.h"
#include "SimWindows.h"
#include "platform/linux/WinePrefixLocation.h"
#include "platform/linux/WinePrefixSettingsStore.h"

namespace {

using namespace modshelf;

int environmentNumber(const char* name) {
    const char* text = std::getenv(name);
    return text ? std::atoi(text) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Scrivel runs under Wine, whose windows are X11 windows. The stand-in's
    // must be too, so that Modshelf finds it the same way on any desktop.
    qputenv("QT_QPA_PLATFORM", "xcb");

    const std::filesystem::path prefix = platform::winePrefixPath();
    // Read only: the stand-in never writes the prefix.
    platform::WinePrefixSettingsStore store(prefix, platform::WinePrefixSettingsStore::Options{});
    const std::vector<scrivelsim::ActiveModule> modules = scrivelsim::readActiveModules(store);

    if (const char* report = std::getenv("SCRIVEL_SIM_REPORT"); report && *report)
        scrivelsim::writeReport(report, modules);

    QApplication app(argc, argv);
    app.setApplicationName("scrivel-sim");
    scrivelsim::ClosePolicy policy(environmentNumber("SCRIVEL_SIM_REFUSE_CLOSE"));

    // Declared first, so destroyed last: like Scrivel's own window of that
    // title, it lasts as long as the program.
    scrivelsim::SimNameWindow nameWindow(policy);
    scrivelsim::SimMainWindow mainWindow(
        modules, QObject::tr("Wine prefix: %1").arg(QString::fromStdString(prefix.string())),
        policy);
    nameWindow.show();
    mainWindow.show();
    return app.exec();
}
