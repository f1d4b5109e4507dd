#pragma once

#include "core/reports/ListPrinter.h"

class QTableView;

namespace modshelf::gui {

class ModuleListModel;

// The details table as the printout reads it: visible columns in the order
// and widths the user gave them on screen, cell texts as the list shows them.
class ListPrintSourceView : public reports::ListPrintSource {
public:
    ListPrintSourceView(const QTableView& table, const ModuleListModel& model);

    int itemCount() const override;
    int columnCount() const override;
    std::string heading(int displayColumn) const override;
    int columnWidth(int displayColumn) const override;
    std::string cell(int item, int displayColumn) const override;
    bool checked(int item) const override;

    // The screen measurements of the list for the page layout; the printer's
    // own values are filled in by the caller.
    reports::ListPrintMetrics screenMetrics() const;

private:
    const QTableView& table_;
    const ModuleListModel& model_;
    std::vector<int> logical_;  // logical column of each displayed column
};

}  // namespace modshelf::gui
