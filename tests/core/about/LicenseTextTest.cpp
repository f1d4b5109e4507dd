#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/dialogs/LicenseText.h"

using namespace modshelf::dialogs;

namespace {

// The paragraphs of the LICENSE file at the root, each on one line.
std::vector<std::string> licenseFileParagraphs() {
    std::ifstream in(std::string(MODSHELF_SOURCE_DIR) + "/LICENSE");
    std::vector<std::string> paragraphs;
    std::string line;
    std::string paragraph;
    while (std::getline(in, line)) {
        if (line.empty()) {
            if (!paragraph.empty()) paragraphs.push_back(paragraph);
            paragraph.clear();
        } else {
            paragraph += (paragraph.empty() ? "" : " ") + line;
        }
    }
    if (!paragraph.empty()) paragraphs.push_back(paragraph);
    return paragraphs;
}

}  // namespace

TEST(LicenseTextTest, CarriesTheWholeLicenseFileWordForWord) {
    const auto file = licenseFileParagraphs();
    ASSERT_EQ(file.size(), 5u);  // title, copyright line, the three clauses
    const auto paragraphs = licenseParagraphs("V.3.37");
    ASSERT_EQ(paragraphs.size(), 8u);
    EXPECT_NE(paragraphs[0].find(file[0]), std::string::npos);
    EXPECT_NE(paragraphs[0].find(file[1]), std::string::npos);
    for (std::size_t i = 2; i < file.size(); ++i)
        EXPECT_EQ(paragraphs[i - 1], file[i]) << "clause " << i - 1;
}

TEST(LicenseTextTest, FirstParagraphStandsAtBothEnds) {
    const std::vector<std::string> paragraphs = {"first", "second", "third"};
    EXPECT_EQ(licenseText(paragraphs), "first\r\n\r\nsecond\r\n\r\nthird\r\n\r\nfirst");
    EXPECT_EQ(licenseText({}), "");
}
