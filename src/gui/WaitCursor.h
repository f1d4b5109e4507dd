#pragma once

#include <QApplication>

namespace modshelf::gui {

// The wait cursor for the span of one operation that touches the disk or the
// settings in a loop.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace modshelf::gui
