// The exchange with the registry helper, both ends of which read and write
// with these functions: what one end writes, the other must read exactly,
// and a damaged stream must be refused rather than half understood.
#include <gtest/gtest.h>

#include "platform/linux/RegistryHelperProtocol.h"

namespace modshelf::reghelper {
namespace {

TEST(RegistryHelperProtocol, EditsWithAnyBytesArriveUnchanged) {
    const std::vector<Edit> edits = {
        {Edit::Op::CreateKey, "HKEY_CURRENT_USER\\Software\\Q", "", 0, ""},
        {Edit::Op::SetValue, "HKCU\\S", "name:with\ncolons 12:", 1,
         std::string("T\0r\0u\0e\0\0\0", 10)},
        {Edit::Op::SetValue, "HKCU\\S", "", 3, std::string("\n\n\r\0:", 5)},
        {Edit::Op::SetValue, "HKCU\\S", "big", 0xffffffff, std::string(100000, 'x')},
        {Edit::Op::DeleteValue, "HKCU\\S", "N\xc3\xa4me", 0, ""},
        {Edit::Op::DeleteKey, "HKCU\\S\\\xf0\x9f\x93\x96", "", 0, ""},
    };
    std::vector<Edit> read;
    ASSERT_TRUE(decodeEdits(encodeEdits(edits), read));
    EXPECT_EQ(read, edits);
    ASSERT_TRUE(decodeEdits("", read));
    EXPECT_TRUE(read.empty());
}

TEST(RegistryHelperProtocol, DamagedEditsAreRefused) {
    const std::string good = encodeEdits({{Edit::Op::SetValue, "HKCU\\S", "n", 1, "ab"}});
    ASSERT_EQ(good, "S6:HKCU\\S1:n1:12:ab\n");
    for (const std::string& bad : std::vector<std::string>{
             good.substr(0, good.size() - 1),    // no line end
             good.substr(0, 10),                 // cut short
             "Z" + good.substr(1),               // unknown op
             "S6:HKCU\\S1:n1:x2:ab\n",           // type not a number
             "S6:HKCU\\S1:n1:12:abc\n",          // data longer than said
             "S99:HKCU\\S1:n1:12:ab\n",          // length past the end
             "S-1:HKCU\\S1:n1:12:ab\n",          // negative length
             "S6:HKCU\\S1:n1:99999999999:ab\n",  // type out of range
             "S6:HKCU\\S1:n1:12:ab\nS",          // a second edit cut short
         }) {
        std::vector<Edit> read;
        EXPECT_FALSE(decodeEdits(bad, read)) << bad;
    }
}

TEST(RegistryHelperProtocol, FrameHeaders) {
    struct Case {
        std::string line;
        bool ok;
        std::string verb;
        std::size_t length;
    };
    const std::vector<Case> cases = {
        {"OK 0", true, "OK", 0},
        {"EXPORT 17\r", true, "EXPORT", 17},
        {"ERR 12345", true, "ERR", 12345},
        {"OK", false, "", 0},
        {" 5", false, "", 0},
        {"OK -1", false, "", 0},
        {"OK 5x", false, "", 0},
        {"OK " + std::to_string(kMaxFrame + 1), false, "", 0},
        {"wine: configuration has been updated", false, "", 0},
    };
    for (const auto& c : cases) {
        std::string verb;
        std::size_t length = 99;
        EXPECT_EQ(parseFrameHeader(c.line, verb, length), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(verb, c.verb);
            EXPECT_EQ(length, c.length);
        }
    }
    const std::string framed = frame("APPLY", std::string("a\nb\0", 4));
    EXPECT_EQ(framed, std::string("APPLY 4\na\nb\0", 12));
}

TEST(RegistryHelperProtocol, RefusalLists) {
    const std::vector<Failure> failures = {{0, 5}, {4999, 2}, {7, 1018}};
    std::vector<Failure> read;
    ASSERT_TRUE(decodeFailures(encodeFailures(failures), read));
    EXPECT_EQ(read, failures);
    for (const std::string bad : {"1 5", "1\n", "x 5\n", "1 5\n2 y\n"})
        EXPECT_FALSE(decodeFailures(bad, read)) << bad;
}

}  // namespace
}  // namespace modshelf::reghelper
