#pragma once

class QAbstractItemView;
class QListView;
class QTableView;

namespace modshelf::gui {

// How the module list looks, apart from what it lists.
//
// The details view fills its width: the last column takes what is left, so
// no empty strip stays right of Description. Both views keep their cells in
// the icon and list modes wide enough for the longest file name, refitted
// whenever the list is filled again.
void applyListAppearance(QTableView& details, QListView& icons);

// Sizes the icon and list modes' cells for the names now listed; call after
// the view mode changes.
void fitNamesInCells(QListView& icons);

// On a dark palette, the empty check boxes keep an outline that shows.
void keepCheckBoxesVisible(QAbstractItemView& view);

// A pane without the focus shows its selection in a muted colour, so that
// the user sees which of the two panes the keyboard is in.
void showFocusInSelection(QAbstractItemView& view);

}  // namespace modshelf::gui
