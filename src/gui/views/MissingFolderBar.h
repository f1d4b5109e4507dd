#pragma once

#include <QLabel>

namespace modshelf::gui {

struct GuiContext;
class CFileView;

// A line above the list's rows that says which of Scrivel's folders is
// missing and where Modshelf looked, so that an empty list explains itself.
// Brought up to date at every fill of the list (F5 included); hidden while
// nothing is missing.
class MissingFolderBar : public QLabel {
    Q_OBJECT
public:
    MissingFolderBar(GuiContext& context, CFileView& list);

    // Reads the program state and the list's latest fill again.
    void update();

private:
    GuiContext& context_;
    CFileView& list_;
};

// Puts the bar above the list's rows (owned by the list).
MissingFolderBar* attachMissingFolderBar(GuiContext& context, CFileView& list);

}  // namespace modshelf::gui
