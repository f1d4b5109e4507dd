#include "gui/printing/ListPrintCommands.h"

#include <QAbstractPrintDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableView>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/dialogs/Prompter.h"
#include "core/reports/ListPrinter.h"
#include "gui/GuiContext.h"
#include "gui/WaitCursor.h"
#include "gui/printing/ListPrintSourceView.h"
#include "gui/printing/PrintedPagePainter.h"
#include "gui/printing/ProgramPrinter.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"

namespace modshelf::gui {

namespace cmd = app::cmd;

namespace {

ListPrintCommands::Dialogs systemDialogs() {
    ListPrintCommands::Dialogs d;
    d.print = [](QPrinter& printer, int pageCount, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        dialog.setMinMax(1, pageCount);
        dialog.setFromTo(1, pageCount);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setPrintRange(QAbstractPrintDialog::AllPages);
        return dialog.exec() == QDialog::Accepted;
    };
    d.preview = [](QPrinter& printer, QWidget* parent,
                   const std::function<void(QPrinter*)>& paint) {
        QPrintPreviewDialog dialog(&printer, parent);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
        dialog.exec();
    };
    return d;
}

bool showsCheckPrefix(int nodeKind) {
    return app::node::isNumberedWorkspace(nodeKind) || nodeKind == app::node::kCurrentSettings;
}

}  // namespace

ListPrintCommands::ListPrintCommands(GuiContext& context, CFileView& list, QPrinter& printer)
    : QObject(&list),
      context_(context),
      list_(list),
      printer_(printer),
      dialogs_(systemDialogs()) {}

ListPrintCommands::~ListPrintCommands() = default;

bool ListPrintCommands::handleCommand(int id) {
    if (id == cmd::kPrint) {
        printList();
        return true;
    }
    if (id == cmd::kPrintPreview) {
        previewList();
        return true;
    }
    return false;
}

bool ListPrintCommands::updateCommand(int id, CommandState& state) {
    if (id != cmd::kPrint && id != cmd::kPrintPreview) return false;
    state.enabled = true;
    return true;
}

bool ListPrintCommands::inDetailsView() {
    if (list_.viewMode() == CFileView::ViewMode::Details) return true;
    context_.prompter.messageBox(
        "Please note : Printing requires the use of Details view mode only.",
        " Print in Details View Mode", dialogs::mb::kOk | dialogs::mb::kIconInformation,
        dialogs::standardParams(false));
    return false;
}

bool ListPrintCommands::layoutFor(QPrinter& printer, reports::ListPrinter& layout) const {
    // The measurements come from the list's first row: an empty list has
    // nothing to measure and nothing to print.
    if (list_.model().rowCount() == 0) return false;
    const ListPrintSourceView source(*list_.detailsView(), list_.model());
    reports::ListPrintMetrics metrics = source.screenMetrics();
    metrics.printerWidth = printer.width();
    metrics.printerHeight = printer.height();
    metrics.printerDpiY = printer.logicalDpiY();
    layout.setMetrics(metrics, source.itemCount());
    layout.setTitle(reports::listPrintTitle(context_.state.currentFolder));
    layout.setCheckPrefix(showsCheckPrefix(context_.state.nodeKind));
    return true;
}

int ListPrintCommands::render(QPrinter& printer, int fromPage, int toPage) {
    reports::ListPrinter layout;
    if (!layoutFor(printer, layout)) return 0;
    const int pages = layout.pageCount();
    const int first = fromPage > 0 ? fromPage : 1;
    const int last = toPage > 0 ? std::min(toPage, pages) : pages;
    if (first > last) return 0;

    WaitCursor wait;
    QPainter painter;
    if (!painter.begin(&printer)) return -1;
    const ListPrintSourceView source(*list_.detailsView(), list_.model());
    const QFont font = list_.detailsView()->font();
    for (int page = first; page <= last; ++page) {
        if (page > first) printer.newPage();
        paintPrintedPage(painter, layout.layoutPage(page, source), layout.horizontalScale(),
                         layout.verticalScale(), font);
    }
    painter.end();
    return last - first + 1;
}

void ListPrintCommands::printList() {
    if (!inDetailsView()) return;
    reports::ListPrinter layout;
    if (!layoutFor(printer_, layout)) return;
    printer_.setPrintRange(QPrinter::AllPages);
    printer_.setFromTo(0, 0);
    if (!dialogs_.print || !dialogs_.print(printer_, layout.pageCount(), list_.window())) return;
    const bool range = printer_.printRange() == QPrinter::PageRange;
    if (render(printer_, range ? printer_.fromPage() : 0, range ? printer_.toPage() : 0) < 0)
        context_.prompter.plainMessage(
            "The printout could not be started: the printer or the output file is not "
            "available.",
            " Print Module List");
}

void ListPrintCommands::previewList() {
    if (!inDetailsView()) return;
    reports::ListPrinter layout;
    if (!layoutFor(printer_, layout) || !dialogs_.preview) return;
    dialogs_.preview(printer_, list_.window(), [this](QPrinter* printer) { render(*printer); });
}

ListPrintCommands* attachListPrintCommands(GuiContext& context, CFileView& list) {
    auto* commands = new ListPrintCommands(context, list, programPrinter());
    list.addCommandSet(commands);
    return commands;
}

}  // namespace modshelf::gui
