#pragma once

#include <string>

#include "core/reports/CodePage.h"

namespace modshelf::reports {

// Tidies a description or converted comments for the information report:
// trims white space at both ends, turns tabs into spaces, halves pairs of
// spaces and runs of three line feeds (one pass each), ends lines with
// "\r\n" and turns the right single quotation mark into an apostrophe. In a
// single-byte code page "©" and "®" given in UTF-8 become their one byte; in
// UTF-8 they stay as they are. The display variant doubles "&", which the
// message box would otherwise take for a mnemonic.
std::string CleanTextForDisplay(std::string text, CodePage codePage = systemCodePage());
std::string CleanTextForFile(std::string text, CodePage codePage = systemCodePage());

}  // namespace modshelf::reports
