#pragma once

#include <span>
#include <string>
#include <string_view>

namespace modshelf::demo {

// One title a sample module can carry: its file name without extension, the
// short name for its tab, and the description its Details row gives.
struct SampleTitle {
    std::string_view fileStem;
    std::string_view tabName;
    std::string_view description;
};

// What a module of one kind holds besides its Details row: one content table
// with a few rows, so that the files look like the real thing when opened in
// a database editor.
struct SampleContent {
    std::string_view table;
    std::string_view createStatement;
    std::span<const std::string_view> insertStatements;
};

// The invented titles available for a module kind, by its extension (".bblx").
// Unknown extensions give an empty list.
std::span<const SampleTitle> sampleTitles(std::string_view extension);
const SampleContent& sampleContent(std::string_view extension);

// The title for the index-th module of a kind: the list repeats with a number
// appended ("KJV", ..., "KJV 2"), so tab names stay unique within a kind.
struct NumberedTitle {
    std::string fileStem;
    std::string tabName;
    std::string description;
};
NumberedTitle numberedTitle(std::string_view extension, int index);

}  // namespace modshelf::demo
