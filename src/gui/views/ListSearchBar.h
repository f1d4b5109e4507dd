#pragma once

#include <QLineEdit>

#include "gui/CommandTarget.h"

namespace modshelf::gui {

struct GuiContext;
class CFileView;

// The search box above the list: as the user types, only the rows whose file
// name, tab name or description contain the text stay visible, and the status
// bar counts them ("12 of 1,234"). Escape clears it. It only hides rows: the
// list keeps every row, so ticking, activating, exporting and the stored
// options see the whole folder as before.
class ListSearchBar : public QLineEdit, public CommandTarget {
    Q_OBJECT
public:
    ListSearchBar(GuiContext& context, CFileView& list);

    // "Find in List" (Ctrl+F) puts the focus here.
    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

    // Shows and hides the rows for the current text.
    void apply();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    GuiContext& context_;
    CFileView& list_;
    int hiddenRows_ = 0;
};

// Puts a search box above the list (owned by the list).
ListSearchBar* attachListSearch(GuiContext& context, CFileView& list);

}  // namespace modshelf::gui
