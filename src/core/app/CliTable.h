#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/app/CommandLine.h"

namespace modshelf::app {

// What the command-line commands print: one table, written as aligned text
// for people, or as tab-separated values or JSON for scripts.
struct CliTable {
    enum class Kind {
        Text,      // as it is
        Number,    // a decimal number; right-aligned in text
        Size,      // bytes: "1,234" in text, digits in tsv and json
        FileTime,  // a file time (100 ns units since 1601) as decimal digits:
                   // the list's local "Last Modified" text, ISO 8601 UTC elsewhere
        Flag,      // "1"/"0": "yes"/"no" in text and tsv, true/false in json
    };
    struct Column {
        std::string heading;  // the text and tsv heading
        std::string key;      // the json member name
        Kind kind = Kind::Text;
    };
    std::vector<Column> columns;
    std::vector<std::vector<std::string>> rows;
};

void writeTable(std::ostream& out, const CliTable& table, CommandLine::Format format);

// A JSON string literal of bytes: valid UTF-8 passes through; a byte that is
// not part of valid UTF-8 is written as the character of the same number, so
// that the output is always valid JSON.
std::string jsonString(const std::string& bytes);

}  // namespace modshelf::app
