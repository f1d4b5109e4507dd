#pragma once

#include <QObject>
#include <functional>

#include "gui/CommandTarget.h"

class QPrinter;
class QWidget;

namespace modshelf::reports {
class ListPrinter;
}

namespace modshelf::gui {

struct GuiContext;
class CFileView;

// "Print Module List" and "Print Preview" of the module list. Both work in
// details view only; elsewhere they explain why and do nothing. The pages
// are laid out by the program's list page layout and drawn on the printer
// chosen in "Print Setup". It lives as long as the list (its parent).
class ListPrintCommands : public QObject, public CommandTarget {
    Q_OBJECT
public:
    // The system's dialogs, replaceable for tests. print: shows the print
    // dialog for pages 1 to pageCount and leaves the chosen range in the
    // printer; true when the user went on. preview: shows the preview, which
    // calls paint for every rendering of the pages.
    struct Dialogs {
        std::function<bool(QPrinter& printer, int pageCount, QWidget* parent)> print;
        std::function<void(QPrinter& printer, QWidget* parent,
                           const std::function<void(QPrinter*)>& paint)>
            preview;
    };

    ListPrintCommands(GuiContext& context, CFileView& list, QPrinter& printer);
    ~ListPrintCommands() override;

    void setDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

    // Draws pages fromPage to toPage (counted from 1; 0 for either means the
    // first or last page) of the list on the printer. Gives the number of
    // pages drawn, or -1 when the printer could not be started.
    int render(QPrinter& printer, int fromPage = 0, int toPage = 0);

private:
    bool inDetailsView();
    void printList();
    void previewList();
    // The page layout for this printer; false when there is nothing to print.
    bool layoutFor(QPrinter& printer, reports::ListPrinter& layout) const;

    GuiContext& context_;
    CFileView& list_;
    QPrinter& printer_;
    Dialogs dialogs_;
};

// Gives the list its print commands (owned by the list), on the program's printer.
ListPrintCommands* attachListPrintCommands(GuiContext& context, CFileView& list);

}  // namespace modshelf::gui
