#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/settings/WineHive.h"
#include "platform/linux/AtomicFile.h"
#include "support/TempDir.h"

namespace modshelf::platform {
namespace {

using settings::RegValue;
using settings::WineHive;

constexpr int kKills = 1000;
const std::string kGenerationKey = "Software\\Quorvel\\Modshelf\\Settings";

// user.reg as the program saves it, generation n: fifteen workspaces of flags
// that change with every generation, so a file mixed from two saves cannot
// pass for either. About 50 KB, the size of a lived-in prefix's user.reg.
std::string userReg(std::uint32_t generation) {
    WineHive hive = settings::newWineHive(settings::HiveBranch::CurrentUser, "win64");
    hive.tree.findOrCreate(kGenerationKey).setValue("Generation", RegValue::fromDword(generation));
    for (int workspace = 1; workspace <= 15; ++workspace) {
        auto& bibles = hive.tree.findOrCreate("Software\\Quorvel\\Modshelf\\Workspace" +
                                              std::to_string(workspace) + "\\Bibles");
        for (int module = 0; module < 60; ++module)
            bibles.setValue(
                "Module " + std::to_string(module),
                RegValue::fromString((generation + module + workspace) % 3 ? "True" : "False"));
    }
    return settings::serializeWineHive(hive);
}

// The generation that a complete file holds; -1 for anything else.
long long generationOf(const std::string& text) {
    WineHive hive;
    std::string error;
    if (!settings::parseWineHive(text, hive, error)) return -1;
    const auto* key = hive.tree.find(kGenerationKey);
    const auto* value = key ? key->findValue("Generation") : nullptr;
    if (!value || value->value.type != settings::kRegDword || value->value.data.size() != 4)
        return -1;
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = n << 8 | static_cast<unsigned char>(value->value.data[i]);
    return n;
}

// A child saves user.reg again and again, one generation after the other, and
// is killed at a random moment; a thousand times over. Each time the file must
// be one whole save, byte for byte: the one before or a later one, never torn,
// never missing, never older than what was already there.
TEST(UserRegSaverKilled, FileIsAlwaysAWholeSave) {
    modshelf::test::TempDir dir;
    const auto target = dir / "user.reg";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(target, userReg(0), error)) << error;

    // How long one save takes here; the kills are spread over about two.
    std::vector<std::string> ahead;  // the texts of the next generations, made before the fork
    const auto prepare = [&](long long from) {
        ahead.clear();
        for (long long n = from; n < from + 4; ++n)
            ahead.push_back(userReg(static_cast<std::uint32_t>(n)));
    };
    prepare(1);
    const auto before = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(writeFileAtomically(target, ahead[0], error)) << error;
    const auto saveMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - before)
                                .count() /
                            5;
    ASSERT_TRUE(writeFileAtomically(target, userReg(0), error)) << error;

    std::mt19937 random(20261208);
    std::map<long long, std::string> expected;  // generation -> its exact text
    long long last = 0;
    int replaced = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kKills; ++round) {
        const auto next = static_cast<std::uint32_t>(last + 1);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (const auto& text : ahead) writeFileAtomically(target, text, error);
            for (std::uint32_t n = next + ahead.size();; ++n)
                writeFileAtomically(target, userReg(n), error);
        }
        // Anywhere from inside the first save to a few saves later.
        ::usleep(std::uniform_int_distribution<useconds_t>(
            0, static_cast<useconds_t>(saveMicros * 2 + 200))(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        std::string now;
        ASSERT_TRUE(readWholeFile(target, now, error)) << "round " << round << ": " << error;
        const long long generation = generationOf(now);
        ASSERT_GE(generation, 0) << "round " << round << ": torn file of " << now.size()
                                 << " bytes";
        auto& text = expected[generation];
        if (text.empty()) text = userReg(static_cast<std::uint32_t>(generation));
        ASSERT_EQ(now, text) << "round " << round << ": generation " << generation
                             << " differs from what was saved";
        ASSERT_GE(generation, last) << "round " << round << ": an older file came back";
        if (generation > last) {
            ++replaced;
            expected.erase(last);
        }
        if (last != generation) prepare(generation + 1);
        last = generation;
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Kills landed both before the first save ended and after saves.
    EXPECT_GT(replaced, 0);
    EXPECT_LT(replaced, kKills);
    RecordProperty("replaced", replaced);
    RecordProperty("generations", static_cast<int>(last));
    // A kill inside a save leaves its temporary file behind; Wine ignores them.
    int leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        leftovers += entry.path().filename() != "user.reg";
    std::cout << "one save takes " << saveMicros << " us; " << kKills << " kills in " << seconds
              << " s; the file was replaced in " << replaced << " rounds, " << last
              << " saves in all; " << leftovers << " temporary files left\n";
}

}  // namespace
}  // namespace modshelf::platform
