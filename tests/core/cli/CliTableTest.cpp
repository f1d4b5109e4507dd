#include "core/app/CliTable.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace modshelf::app;
using Kind = CliTable::Kind;

namespace {

TEST(CliTable, JsonStringsAreAlwaysValidJson) {
    const std::pair<std::string, std::string> cases[] = {
        {"KJV", "\"KJV\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"tab\there\nline", "\"tab\\there\\nline\""},
        {"\x01", "\"\\u0001\""},
        {"Gen\xc3\xa8se", "\"Gen\xc3\xa8se\""},         // UTF-8 passes through
        {"Gen\xe8se", "\"Gen\\u00e8se\""},              // a Latin-1 byte becomes its character
        {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""},  // an encoded surrogate is no UTF-8
        {"\xc3", "\"\\u00c3\""},                        // a cut sequence
    };
    for (const auto& [bytes, json] : cases) EXPECT_EQ(jsonString(bytes), json) << bytes;
}

CliTable sample() {
    CliTable table;
    table.columns = {{"Active", "active", Kind::Flag},
                     {"File Name", "file_name", Kind::Text},
                     {"File Size", "file_size", Kind::Size}};
    table.rows = {{"1", "kjv.bblx", "1234567"}, {"0", "odd\tname.cmtx", "0"}};
    return table;
}

TEST(CliTable, EachFormatKeepsOneRowPerLine) {
    std::ostringstream text, tsv, json;
    writeTable(text, sample(), CommandLine::Format::Text);
    writeTable(tsv, sample(), CommandLine::Format::Tsv);
    writeTable(json, sample(), CommandLine::Format::Json);

    EXPECT_EQ(text.str(),
              "Active  File Name      File Size\n"
              "yes     kjv.bblx       1,234,567\n"
              "no      odd name.cmtx          0\n");
    EXPECT_EQ(tsv.str(),
              "Active\tFile Name\tFile Size\n"
              "yes\tkjv.bblx\t1234567\n"
              "no\todd name.cmtx\t0\n");
    EXPECT_EQ(json.str(),
              "[\n {\"active\": true, \"file_name\": \"kjv.bblx\", \"file_size\": 1234567},\n"
              " {\"active\": false, \"file_name\": \"odd\\tname.cmtx\", \"file_size\": 0}\n]\n");
}

TEST(CliTable, AnEmptyTableIsAnEmptyJsonArray) {
    CliTable table = sample();
    table.rows.clear();
    std::ostringstream json;
    writeTable(json, table, CommandLine::Format::Json);
    EXPECT_EQ(json.str(), "[]\n");
}

}  // namespace
