#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/settings/WineHive.h"

namespace modshelf::settings {
namespace {

constexpr int kCases = 3000;
constexpr auto kTimeLimit = std::chrono::seconds(20);
// AddressSanitizer holds freed memory back in quarantine (256 MB by default),
// so the peak grows further in the sanitizer build without anything leaking.
#ifdef __SANITIZE_ADDRESS__
constexpr long kPeakGrowthLimitKb = 1024 * 1024;
#else
constexpr long kPeakGrowthLimitKb = 256 * 1024;
#endif

std::string readSeed(const std::string& name) {
    std::ifstream in(std::string(MODSHELF_SOURCE_DIR) + "/tests/core/hive_fuzz/seeds/" + name,
                     std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Real hives as Wine writes them, and one with every kind of value and escape.
std::vector<std::string> seeds() {
    std::vector<std::string> all = {readSeed("user.reg"), readSeed("system.reg"),
                                    readSeed("userdef.reg")};
    all.push_back(
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n\n"
        "[Software\\\\Quorvel\\\\Modshelf\\\\Settings] 1700000000\n#time=1da1e0a3b6c7d80\n"
        "\"Big\"=hex(b):ef,cd,ab,89,67,45,23,01\n\"Blob\"=hex:00,01,ff,\\\n  02,03\n"
        "\"Expand\"=str(2):\"%ProgramFiles%\\\\Scrivel\"\n\"GridLines\"=dword:0000002a\n"
        "\"List\"=str(7):\"a\\0b c\\0\"\n\"None\"=hex(0):\n\"Open\"=hex(1):61,00,62,00\n"
        "\"Quote \\\"q\\\"\"=\"say \\\"hi\\\"\\tand\\nbye\\r\\a\\b\\v\\f\\e\\1x\\0017\"\n"
        "\"Unicode\"=\"G\\xfcnter \\x20ac5 \\x4e2d\\xd83d\\xde00\"\n\n"
        "[Software\\\\Quorvel\\\\Modshelf\\\\Workspace1\\\\Bibles] 1700000001\n"
        "\"KJV\"=\"True\"\n@=\"default\"\n");
    return all;
}

// Pieces that steer the parser into its corners.
const std::vector<std::string> kTokens = {"\\",
                                          "\\\\",
                                          "\"",
                                          "[",
                                          "]",
                                          "\n",
                                          "\r\n",
                                          "=",
                                          ",",
                                          ":",
                                          "@=",
                                          "hex:",
                                          "hex(7):",
                                          "hex(ffffffff):",
                                          "str(2):\"",
                                          "str(7):\"",
                                          "dword:",
                                          "dword:ffffffff",
                                          "\\x",
                                          "\\xd83d",
                                          "\\xdfff",
                                          "\\0",
                                          "\\\n",
                                          "#time=",
                                          "#arch=win32",
                                          "#link",
                                          "ff,",
                                          " 99999999999999999999",
                                          std::string(1, '\0'),
                                          "\xff",
                                          "\xc3",
                                          "\xe2\x82",
                                          "[]",
                                          "[\\\\]",
                                          "WINE REGISTRY Version 2\n",
                                          std::string(300, ','),
                                          std::string(200, '\\')};

std::string mutate(std::string text, const std::vector<std::string>& all, std::mt19937& random) {
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n ? n - 1 : 0)(random);
    };
    const int mutations = 1 + static_cast<int>(pick(8));
    for (int m = 0; m < mutations; ++m) {
        const std::size_t at = pick(text.size() + 1);
        switch (pick(7)) {
            case 0:  // flip a bit
                if (at < text.size()) text[at] = static_cast<char>(text[at] ^ (1 << pick(8)));
                break;
            case 1:  // a byte of any value
                if (at < text.size()) text[at] = static_cast<char>(pick(256));
                break;
            case 2:
                text.insert(at, kTokens[pick(kTokens.size())]);
                break;
            case 3:  // cut a stretch
                text.erase(at, pick(200));
                break;
            case 4: {  // repeat a stretch
                const std::string piece = text.substr(at, pick(400));
                text.insert(at, piece);
                break;
            }
            case 5:
                text.resize(at);
                break;
            default: {  // a stretch of another hive
                const std::string& other = all[pick(all.size())];
                const std::size_t from = pick(other.size());
                text.insert(at, other.substr(from, pick(600)));
                break;
            }
        }
    }
    return text;
}

// Where two texts part, with a little of each around it; the whole would be
// tens of kilobytes.
std::string firstDifference(const std::string& a, const std::string& b) {
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const std::size_t from = at < 80 ? 0 : at - 80;
    return "at byte " + std::to_string(at) + ":\n  first:  " + a.substr(from, 160) +
           "\n  second: " + b.substr(from, 160);
}

long maxResidentKb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Mutated real hives: the reader never crashes (the sanitizer build would
// say so), what it accepts it writes in bounded size, and what it writes it
// reads back.
TEST(HiveReaderFuzz, MutatedHivesNeverCrashAndStayBounded) {
    const auto all = seeds();
    for (const auto& seed : all) {
        WineHive hive;
        std::string error;
        ASSERT_TRUE(parseWineHive(seed, hive, error)) << error;
    }
    std::mt19937 random(13);
    const auto start = std::chrono::steady_clock::now();
    const long residentBefore = maxResidentKb();
    int accepted = 0, cases = 0, unstable = 0;
    std::string firstUnstable;
    for (; cases < kCases && std::chrono::steady_clock::now() - start < kTimeLimit; ++cases) {
        const std::string input = mutate(all[random() % all.size()], all, random);
        WineHive hive;
        std::string error;
        if (!parseWineHive(input, hive, error)) {
            EXPECT_FALSE(error.empty()) << "case " << cases << ": refused without a reason";
            continue;
        }
        ++accepted;
        const std::string written = serializeWineHive(hive);
        // Every input byte becomes at most a few output bytes ("\x1234", "ff,").
        ASSERT_LE(written.size(), input.size() * 8 + 4096) << "case " << cases;
        WineHive again;
        ASSERT_TRUE(parseWineHive(written, again, error)) << "case " << cases << ": " << error;
        // Written once more it should not change; where it does, say so
        // without failing: the reader's treatment of such damage is a matter
        // of choice, a crash or a runaway allocation is not.
        if (serializeWineHive(again) != written && unstable++ == 0)
            firstUnstable = "case " + std::to_string(cases) + ", " +
                            firstDifference(written, serializeWineHive(again));
    }
    const long grownKb = maxResidentKb() - residentBefore;
    EXPECT_LT(grownKb, kPeakGrowthLimitKb) << "memory grew by " << grownKb << " KB";
    EXPECT_GT(accepted, cases / 10) << "the mutations hardly ever reach past the header";
    std::cout << cases << " mutated hives, " << accepted << " accepted, in "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
              << " s; peak memory grew by " << grownKb << " KB; " << unstable
              << " changed when written a second time\n";
    if (unstable) std::cout << "first of them: " << firstUnstable << "\n";
}

// A key time too large for any clock once overflowed into a negative number
// (undefined behaviour) and was written back as "-4790...".
TEST(HiveReaderFuzz, KeyTimeBeyondAnyClockIsReadAsUnknown) {
    WineHive hive;
    std::string error;
    ASSERT_TRUE(
        parseWineHive("WINE REGISTRY Version 2\n\n[A] 99999999999999999999999\n\"v\"=\"1\"\n"
                      "\n[B] 1700000000\n\"w\"=\"2\"\n",
                      hive, error))
        << error;
    ASSERT_NE(hive.tree.find("A"), nullptr);
    EXPECT_EQ(hive.tree.find("A")->modified, 0);
    EXPECT_EQ(hive.tree.find("B")->modified, 1700000000);
    EXPECT_EQ(serializeWineHive(hive).find("-"), std::string::npos);
}

}  // namespace
}  // namespace modshelf::settings
