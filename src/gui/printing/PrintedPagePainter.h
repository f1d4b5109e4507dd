#pragma once

#include <QFont>

#include "core/reports/ListPrinter.h"

class QPainter;

namespace modshelf::gui {

// Draws one laid-out page. The painter is scaled so that one drawing unit is
// one screen pixel of the list enlarged by the page's factors; fonts are
// therefore sized in screen pixels.
void paintPrintedPage(QPainter& painter, const reports::PrintedPage& page, int horizontalScale,
                      int verticalScale, const QFont& listFont);

}  // namespace modshelf::gui
