#include "gui/printing/ProgramPrinter.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPrinter>
#include <memory>

namespace modshelf::gui {

namespace {

// Ties the printer's life to the application's, so that it is released while
// the print system is still there.
class PrinterHolder : public QObject {
public:
    explicit PrinterHolder(QObject* parent) : QObject(parent) {}
    QPrinter printer{QPrinter::HighResolution};
};

}  // namespace

QPrinter& programPrinter() {
    static QPointer<PrinterHolder> holder;
    if (!holder) holder = new PrinterHolder(QCoreApplication::instance());
    return holder->printer;
}

}  // namespace modshelf::gui
