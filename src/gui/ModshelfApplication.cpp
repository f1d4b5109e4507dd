#include "gui/ModshelfApplication.h"

#include <QApplication>
#include <QMainWindow>

namespace modshelf::gui {

int runModshelf(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Modshelf");
    window.show();
    return app.exec();
}

}  // namespace modshelf::gui
