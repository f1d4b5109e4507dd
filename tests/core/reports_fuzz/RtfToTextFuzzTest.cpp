#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "core/reports/RtfToText.h"

namespace modshelf::reports {
namespace {

// Seeds in the shapes module comments take, from word-processor documents to
// bare text; the mutations below splice in the bytes RTF gives meaning to.
const std::vector<std::string> kSeeds = {
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;\\red0\\green0\\blue128;}{\\*\\generator Riched20 6.3;}\\viewkind4\\uc1 "
    "\\pard\\cf1\\b\\f0\\fs24 Title\\cf0\\b0\\fs20\\par Caf\\'e9 \\ldblquote x\\rdblquote\\par}",
    "{\\rtf1{\\pict\\wmetafile8\\picw100 0100\\bin4 {}\\\\}\\u8220?Quoted\\u8221? \\{\\}\\\\}",
    "{\\rtf1{\\info{\\title T}{\\author A}}{\\header h}\\tab a\\line b\\emdash c\\par}",
    "plain text without markup\r\nsecond line",
    "{{{{{\\*\\unknown {nested}}}}}}",
};

const std::string kAlphabet =
    std::string("{}\\'*-0123456789abcdefgGxXparbintl \r\n") + '\0' + '\xff';

std::string mutate(std::string text, std::mt19937& random) {
    std::uniform_int_distribution<int> operations(1, 8);
    const int count = operations(random);
    for (int i = 0; i < count; ++i) {
        std::uniform_int_distribution<std::size_t> at(0, text.size());
        std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
        const std::size_t pos = at(random);
        switch (random() % 5) {
            case 0:
                text.insert(pos, 1, kAlphabet[pick(random)]);
                break;
            case 1:
                if (pos < text.size()) text.erase(pos, 1 + random() % 8);
                break;
            case 2:
                if (pos < text.size()) text[pos] = static_cast<char>(random());
                break;
            case 3: {
                const std::size_t from = at(random);
                text.insert(pos, text.substr(from, random() % 32));
                break;
            }
            default:
                text.resize(pos);
                break;
        }
    }
    return text;
}

TEST(RtfToTextFuzz, MutatedInputNeverMisbehaves) {
    std::mt19937 random(20261208);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int runs = 0;
    for (; runs < 200'000 && std::chrono::steady_clock::now() < deadline; ++runs) {
        const std::string input = mutate(kSeeds[runs % kSeeds.size()], random);
        std::string out = "untouched";
        std::string parsed;
        const RtfResult result = parseRtf(input, parsed);
        const bool converted = ConvertRtfToText(input, out);
        ASSERT_EQ(converted, result == RtfResult::Ok) << testing::PrintToString(input);
        if (converted) {
            ASSERT_EQ(out, parsed);
            // Every output byte consumes at least one input byte.
            ASSERT_LE(out.size(), input.size());
        } else {
            ASSERT_EQ(out, "untouched");
        }
    }
    EXPECT_GT(runs, 1000);
}

}  // namespace
}  // namespace modshelf::reports
