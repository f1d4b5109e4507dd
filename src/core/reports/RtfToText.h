#pragma once

#include <string>
#include <string_view>

namespace modshelf::reports {

// Why a conversion stopped.
enum class RtfResult {
    Ok = 0,
    StackUnderflow = 1,  // a "}" with no open group
    OutOfMemory = 2,     // no memory for a new group
    UnmatchedBrace = 3,  // the text ended with groups still open
    InvalidHex = 4,      // a byte that is not a hex digit where one was expected
    EndOfFile = 7,       // the text ended inside a control word
};

// Reads RTF and appends its body text to `out`: destinations that are not
// body text (font and colour tables, style sheet, document information,
// headers, footers, pictures, unknown "\*" groups) are dropped, "\par" and
// "\tab" become a line feed and a tab, hex escapes become their byte, line
// breaks of the source vanish and formatting is not carried. Control words
// and parameters longer than any the reader knows are cut, never stored
// whole. Runs in one pass, whatever the nesting depth.
RtfResult parseRtf(std::string_view rtf, std::string& out);

// Converts a module's RTF comments to plain 8-bit text. On success
// `plainText` receives the text and the result is true; on any error the
// result is false and `plainText` is left exactly as it was. Works in memory:
// no file is created.
bool ConvertRtfToText(std::string rtfText, std::string& plainText);

}  // namespace modshelf::reports
