// The helper's process as Modshelf sees it, with small shell scripts standing
// in for the helper under Wine: a helper that dies, hangs, refuses or chatters
// must never hang Modshelf, and a helper that died is replaced once.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "core/settings/RegEditFile.h"
#include "platform/linux/ChildProcessPipe.h"
#include "platform/linux/WineRegistryHelper.h"
#include "support/TempDir.h"

using namespace std::chrono_literals;
using modshelf::platform::ChildProcessPipe;
using modshelf::platform::WineRegistryHelper;
using modshelf::test::readFile;
using modshelf::test::TempDir;
using modshelf::test::writeFile;
using Result = ChildProcessPipe::Result;

namespace {

constexpr const char* kGreeting = "echo 'MODSHELF-REG 1'\n";

bool gone(pid_t pid) {
    return pid <= 0 || (::kill(pid, 0) != 0 && errno == ESRCH);
}

// Runs the shell script `body` as the helper, in its own folder, where the
// file "runs" counts its starts.
struct FakeHelper {
    explicit FakeHelper(const std::string& body) {
        writeFile(script(), "cd '" + dir.path().string() + "'\necho run >> runs\n" + body);
    }
    std::filesystem::path script() const { return dir / "helper.sh"; }
    std::filesystem::path runsFile() const { return dir / "runs"; }
    int runs() const {
        const std::string text = std::filesystem::exists(runsFile()) ? readFile(runsFile()) : "";
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }
    std::unique_ptr<WineRegistryHelper> helper(std::chrono::milliseconds timeout = 5s) const {
        WineRegistryHelper::Options options;
        options.launcher = {"/bin/sh"};
        options.startTimeout = timeout;
        options.replyTimeout = timeout;
        return std::make_unique<WineRegistryHelper>(dir.path(), script(), options);
    }
    TempDir dir;
};

// Answers every request with an OK frame holding `reply`, after reading it.
std::string answering(const std::string& reply) {
    std::string escaped;
    for (char c : reply) escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
    return std::string(kGreeting) +
           "while read verb len; do head -c \"$len\" >/dev/null; printf 'OK " +
           std::to_string(reply.size()) + "\\n" + escaped + "'; done\n";
}

}  // namespace

TEST(ChildProcessPipe, EndsTimeoutsAndBrokenPipesAreToldApart) {
    const auto soon = [] { return ChildProcessPipe::Clock::now() + 3s; };
    std::string error, line, bytes;
    {
        // What a child wrote just before it ended is still read, then the end.
        ChildProcessPipe child;
        ASSERT_TRUE(child.start({"/bin/sh", "-c", "printf 'OK 3\\nabc'; exit 4"}, {}, error));
        EXPECT_EQ(child.readLine(line, soon(), 100), Result::Done);
        EXPECT_EQ(line, "OK 3");
        EXPECT_EQ(child.readExact(3, bytes, soon()), Result::Done);
        EXPECT_EQ(bytes, "abc");
        EXPECT_EQ(child.readLine(line, soon(), 100), Result::Ended);
        EXPECT_EQ(child.exitCode(1s), 4);
    }
    {
        // A child that ended while something it started keeps its output open
        // is seen as ended at once, not after the deadline.
        ChildProcessPipe child;
        ASSERT_TRUE(child.start({"/bin/sh", "-c", "sleep 2 & exit 0"}, {}, error));
        const auto start = ChildProcessPipe::Clock::now();
        EXPECT_EQ(child.readLine(line, start + 10s, 100), Result::Ended);
        EXPECT_LT(ChildProcessPipe::Clock::now() - start, 1500ms);
    }
    {
        // Writing to a child that has gone must not end us with SIGPIPE.
        ChildProcessPipe child;
        ASSERT_TRUE(child.start({"/bin/sh", "-c", "exit 0"}, {}, error));
        std::this_thread::sleep_for(200ms);
        EXPECT_EQ(child.write(std::string(1 << 20, 'x'), soon()), Result::Ended);
    }
    {
        // A silent child runs into the deadline; stop() does not wait for ever
        // for one that ignores its closed input.
        ChildProcessPipe child;
        ASSERT_TRUE(child.start({"/bin/sh", "-c", "exec sleep 30"}, {}, error));
        const pid_t pid = child.pid();
        EXPECT_EQ(child.readLine(line, ChildProcessPipe::Clock::now() + 200ms, 100),
                  Result::TimedOut);
        const auto start = ChildProcessPipe::Clock::now();
        child.stop(300ms);
        EXPECT_LT(ChildProcessPipe::Clock::now() - start, 2s);
        EXPECT_TRUE(gone(pid));
    }
    {
        ChildProcessPipe child;
        ASSERT_TRUE(child.start({"no-such-program-here"}, {"PATH=/usr/bin:/bin"}, error));
        EXPECT_EQ(child.readLine(line, soon(), 100), Result::Ended);
        EXPECT_EQ(child.exitCode(1s), 127);
    }
}

TEST(WineRegistryHelperProcess, AHelperThatEndsIsStartedAgainOnce) {
    struct Case {
        const char* what;
        std::string body;
        bool succeeds;
        int runs;
        std::string errorPart;
    };
    const std::string answer = answering("hello");
    const std::vector<Case> cases = {
        {"chatter before the greeting is passed over",
         "echo 'wine: configuration updated'\necho\n" + answer, true, 1, ""},
        {"the first helper dies on the request: a second one answers",
         "if [ \"$(wc -l < runs)\" -eq 1 ]; then " + std::string(kGreeting) +
             "read verb len; exit 0; fi\n" + answer,
         true, 2, ""},
        {"every helper dies on the request: no third try",
         std::string(kGreeting) + "read verb len; exit 0\n", false, 2, "ended"},
        {"a refusal is passed on and not retried",
         std::string(kGreeting) +
             "while read verb len; do head -c \"$len\" >/dev/null; printf 'ERR 8\\nrefused!'; "
             "done\n",
         false, 1, "refused!"},
        {"a helper that never greets", "exit 3\n", false, 1, "could not be started"},
        {"a garbled answer ends that helper",
         std::string(kGreeting) + "read verb len; echo 'what?'; exec sleep 30\n", false, 1,
         "failed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHelper fake(c.body);
        auto helper = fake.helper();
        std::string text, error;
        EXPECT_EQ(helper->exportKey("HKEY_CURRENT_USER\\Software", text, error), c.succeeds)
            << error;
        if (c.succeeds) {
            EXPECT_EQ(text, "hello");
        }
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << error;
        EXPECT_EQ(fake.runs(), c.runs);
        helper.reset();
    }
}

TEST(WineRegistryHelperProcess, AHungHelperIsKilledAndReported) {
    for (const bool greets : {false, true}) {
        FakeHelper fake((greets ? std::string(kGreeting) : "") + "exec sleep 30\n");
        auto helper = fake.helper(400ms);
        std::string text, error;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(helper->exportKey("HKEY_CURRENT_USER", text, error));
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
        EXPECT_NE(error.find("in time"), std::string::npos) << error;
        EXPECT_EQ(helper->helperProcess(), 0);
        EXPECT_EQ(fake.runs(), 1);
    }
}

TEST(WineRegistryHelperProcess, OneHelperServesEveryCallAndEndsWithItsOwner) {
    FakeHelper fake(answering("x"));
    auto helper = fake.helper();
    std::string text, error;
    ASSERT_TRUE(helper->exportKey("HKEY_CURRENT_USER", text, error)) << error;
    const pid_t pid = helper->helperProcess();
    ASSERT_GT(pid, 0);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(helper->exportKey("HKEY_CURRENT_USER", text, error));
    EXPECT_EQ(helper->helperProcess(), pid);
    EXPECT_EQ(fake.runs(), 1);

    // Killed between calls (Wine's server gone, say): the next call starts another.
    ::kill(pid, SIGKILL);
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(helper->exportKey("HKEY_CURRENT_USER", text, error)) << error;
    const pid_t second = helper->helperProcess();
    EXPECT_NE(second, pid);
    EXPECT_EQ(fake.runs(), 2);

    // Its input closes with its owner, and it ends: nothing is left running.
    const auto start = std::chrono::steady_clock::now();
    helper.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_TRUE(gone(second));
}

// The server's own save is refused without the backup privilege: reading
// value by value takes over, and for good; a refusal for a missing key does
// not give the save up.
TEST(WineRegistryHelperProcess, ASaveThatIsRefusedFallsBackToReadingValueByValue) {
    const std::string exported = "Windows Registry Editor Version 5.00\\r\\n";
    FakeHelper fake(std::string(kGreeting) +
                    "while read verb len; do head -c \"$len\" > payload; echo \"$verb\" >> "
                    "verbs\n"
                    "  if grep -q Missing payload; then printf 'ERR 7\\nmissing';\n"
                    "  elif [ \"$verb\" = SAVE ]; then printf 'ERR 9\\nprivilege';\n"
                    "  else printf 'OK 38\\n" +
                    exported + "'; fi; done\n");
    auto helper = fake.helper();
    std::string text, error;
    EXPECT_FALSE(helper->exportKey("HKEY_CURRENT_USER\\Missing", text, error));
    EXPECT_EQ(error, "missing");
    ASSERT_TRUE(helper->exportKey("HKEY_CURRENT_USER", text, error)) << error;
    EXPECT_EQ(text, "Windows Registry Editor Version 5.00\r\n");
    ASSERT_TRUE(helper->exportKey("HKEY_CURRENT_USER", text, error)) << error;
    EXPECT_EQ(readFile(fake.dir / "verbs"), "SAVE\nEXPORT\nSAVE\nEXPORT\nEXPORT\n");
}

TEST(WineRegistryHelperProcess, RefusedChangesAreNamed) {
    // The helper refuses the second edit: the value (the first opens its key).
    FakeHelper fake(answering("1 5\n"));
    auto helper = fake.helper();
    const std::string text = modshelf::settings::regEditText(
        {{modshelf::settings::RegEditChange::Kind::SetValue, "HKEY_CURRENT_USER\\Software\\S",
          "KJV", modshelf::settings::RegValue::fromString("True")}});
    std::string error;
    ASSERT_TRUE(helper->import(text, error)) << error;
    ASSERT_EQ(helper->lastRefusals().size(), 1u);
    EXPECT_EQ(helper->lastRefusals()[0],
              "\"KJV\" in HKEY_CURRENT_USER\\Software\\S (access denied)");

    EXPECT_FALSE(helper->import("not regedit text", error));
    EXPECT_FALSE(error.empty());
}

TEST(WineRegistryHelperProcess, TheHelperIsFoundBesideTheProgramOrInItsLibexecFolder) {
    using modshelf::platform::findRegistryHelper;
    struct Case {
        const char* what;
        std::vector<std::string> files;  // made below the root
        std::optional<std::string> found;
    };
    const std::vector<Case> cases = {
        {"a build folder", {"build/src/modshelf-reg.exe"}, "build/src/modshelf-reg.exe"},
        {"an installed program",
         {"usr/libexec/modshelf/modshelf-reg.exe"},
         "usr/libexec/modshelf/modshelf-reg.exe"},
        {"beside the program comes first",
         {"usr/bin/modshelf-reg.exe", "usr/libexec/modshelf/modshelf-reg.exe"},
         "usr/bin/modshelf-reg.exe"},
        {"a folder of that name is no helper", {"usr/bin/modshelf-reg.exe/"}, std::nullopt},
        {"nowhere", {"usr/lib/modshelf/modshelf-reg.exe"}, std::nullopt},
    };
    for (const auto& c : cases) {
        TempDir root;
        for (const auto& file : c.files) {
            if (file.back() == '/') {
                std::filesystem::create_directories(root / file);
            } else {
                std::filesystem::create_directories((root / file).parent_path());
                writeFile(root / file, "MZ");
            }
        }
        const bool build = std::string(c.what) == "a build folder";
        const auto programDir = root / (build ? "build/src" : "usr/bin");
        std::filesystem::create_directories(programDir);
        const auto found = findRegistryHelper(programDir);
        if (c.found)
            EXPECT_EQ(found, (root / *c.found).lexically_normal()) << c.what;
        else
            EXPECT_EQ(found, std::nullopt) << c.what;
    }
}

// Wine finds its server through TMPDIR: a server found under another one needs
// a helper started with it, a new server under the same one does not.
TEST(WineRegistryHelperProcess, AServerUnderAnotherTmpdirGetsAHelperOfItsOwn) {
    FakeHelper fake(std::string(kGreeting) +
                    "while read verb len; do head -c \"$len\" >/dev/null; "
                    "printf \"OK %d\\n%s\" ${#TMPDIR} \"$TMPDIR\"; done\n");
    auto helper = fake.helper();
    std::string text, error;
    const auto expectTmpdir = [&](const std::string& tmpdir, int runs) {
        ASSERT_TRUE(helper->exportKey("HKEY_CURRENT_USER", text, error)) << error;
        EXPECT_EQ(text, tmpdir);
        EXPECT_EQ(fake.runs(), runs);
    };
    TempDir first, second;
    helper->useServerFolder(first / "wine-abc123/server-803-1f");
    expectTmpdir(first.path().string(), 1);
    helper->useServerFolder(first / "wine-def456/server-803-1f");  // restarted, same TMPDIR
    expectTmpdir(first.path().string(), 1);
    helper->useServerFolder(second / "wine-abc123/server-803-1f");
    expectTmpdir(second.path().string(), 2);
}

namespace {

class RecordingRegistry : public modshelf::platform::LiveRegistry {
public:
    std::vector<std::string> calls;
    bool exportKey(const std::string& key, std::string& text, std::string&) override {
        calls.push_back("export " + key);
        text = "from reg";
        return true;
    }
    bool import(const std::string&, std::string&) override {
        calls.push_back("import");
        return true;
    }
};

}  // namespace

// A helper that cannot run under this Wine at all (a Wine without 64-bit
// support) hands the work to Wine's "reg" for the rest of the session; one
// that hangs does not: "reg" would hang as well.
TEST(WineRegistryHelperProcess, AHelperThatCannotRunHereHandsOverToReg) {
    for (const bool hangs : {false, true}) {
        SCOPED_TRACE(hangs ? "hangs" : "cannot run");
        FakeHelper fake(hangs ? "exec sleep 30\n" : "echo 'wine: Bad EXE format'; exit 1\n");
        WineRegistryHelper::Options options;
        options.launcher = {"/bin/sh"};
        options.startTimeout = 400ms;
        auto fallback = std::make_shared<RecordingRegistry>();
        options.fallback = fallback;
        WineRegistryHelper helper(fake.dir.path(), fake.script(), options);
        std::string text, error;
        EXPECT_EQ(helper.exportKey("HKEY_CURRENT_USER", text, error), !hangs) << error;
        EXPECT_EQ(helper.import(modshelf::settings::regEditText({}), error), !hangs) << error;
        if (hangs) {
            EXPECT_NE(error.find("in time"), std::string::npos) << error;
            EXPECT_TRUE(fallback->calls.empty());
            EXPECT_EQ(fake.runs(), 2);
        } else {
            EXPECT_EQ(text, "from reg");
            EXPECT_EQ(fallback->calls,
                      (std::vector<std::string>{"export HKEY_CURRENT_USER", "import"}));
            EXPECT_EQ(fake.runs(), 1);
        }
    }
}
