// While Scrivel runs under Wine its wineserver holds the registry: activating
// a workspace of 5,000 modules goes through the server (one import and a
// read-back), and refilling <C> reads the 5,000 flags from the server. Needs
// Wine; the prefix is made by wineboot once for all runs.
//
// Each is measured three ways in one run: through Wine's "reg" program (a
// Wine start per call: the baseline), through our helper kept running (as
// Modshelf keeps it between calls), and through a helper started afresh for
// the run (the first call after the helper ended while idle).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/app/AppState.h"
#include "core/dialogs/AutoAnswerPrompter.h"
#include "core/workspaces/WorkspaceActivation.h"
#include "core/workspaces/WorkspaceStore.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "platform/linux/WineRegistryHelper.h"
#include "platform/linux/WineRegistryTool.h"
#include "platform/linux/WineServerProbe.h"
#include "support/TempDir.h"

using namespace modshelf;

namespace {

constexpr int kRows = 5'000;

std::vector<workspaces::ListRow> listRows(int round) {
    const char* types[] = {"Bible", "Commentary", "Dictionary"};
    std::vector<workspaces::ListRow> rows;
    for (int i = 0; i < kRows; ++i)
        rows.push_back({types[i % 3], "MOD" + std::to_string(i), (i + round) % 4 != 0});
    return rows;
}

// A wineboot prefix with a server kept running for the whole benchmark.
class RunningPrefix {
public:
    RunningPrefix() {
        ok_ = run("wineboot -i && wineserver -w && wineserver -p 600") == 0 &&
              platform::systemWineServerProbe()->probe(dir_.path()).running;
    }
    ~RunningPrefix() { run("wineserver -k"); }
    bool ok() const { return ok_; }
    const std::filesystem::path& path() const { return dir_.path(); }
    // way: 0 Wine's "reg", 1 the helper kept running, 2 a fresh helper.
    platform::WinePrefixSettingsStore::Options options(std::int64_t way) {
        platform::WinePrefixSettingsStore::Options options;
        options.serverProbe = platform::systemWineServerProbe();
        if (way == 0) {
            options.liveRegistry = platform::wineRegistryTool(dir_.path());
        } else {
            if (!keptHelper_ || way == 2) {
                keptHelper_ = std::make_shared<platform::WineRegistryHelper>(dir_.path(), kHelper);
                std::string text, error;
                if (way == 1) keptHelper_->exportKey("HKEY_CURRENT_USER\\Console", text, error);
            }
            options.liveRegistry = keptHelper_;
        }
        return options;
    }

private:
    int run(const std::string& command) const {
        return std::system(
            ("WINEPREFIX='" + dir_.path().string() +
             "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe=d' "
             "sh -c '" +
             command + "' >/dev/null 2>&1")
                .c_str());
    }
    static constexpr const char* kHelper = MODSHELF_BINARY_DIR "/src/modshelf-reg.exe";
    test::TempDir dir_;
    bool ok_ = false;
    std::shared_ptr<platform::WineRegistryHelper> keptHelper_;
};

const char* wayName(std::int64_t way) {
    return way == 0 ? "reg tool" : way == 1 ? "helper running" : "helper started";
}

bool helperMissing(benchmark::State& state) {
    if (state.range(0) == 0 || std::filesystem::exists(MODSHELF_BINARY_DIR "/src/modshelf-reg.exe"))
        return false;
    state.SkipWithError("modshelf-reg.exe was not built (mingw-w64 missing)");
    return true;
}

RunningPrefix& prefix() {
    static RunningPrefix instance;
    return instance;
}

void BM_ActivateWorkspaceThroughServer(benchmark::State& state) {
    if (!prefix().ok()) {
        state.SkipWithError("Wine could not make a prefix with a running server");
        return;
    }
    if (helperMissing(state)) return;
    state.SetLabel(wayName(state.range(0)));
    dialogs::AutoAnswerPrompter prompter;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto rows = listRows(++round);  // every run changes a quarter of the flags
        platform::WinePrefixSettingsStore store(prefix().path(), prefix().options(state.range(0)));
        workspaces::WorkspaceActivation activation(store, prompter, {});
        state.ResumeTiming();
        if (activation.activateWorkspace("03", rows, {}) != kRows || !store.lastError().empty())
            state.SkipWithError(store.lastError().c_str());
    }
}

void BM_RefillCurrentFromServer(benchmark::State& state) {
    if (!prefix().ok()) {
        state.SkipWithError("Wine could not make a prefix with a running server");
        return;
    }
    if (helperMissing(state)) return;
    state.SetLabel(wayName(state.range(0)));
    const auto rows = listRows(0);
    for (auto _ : state) {
        state.PauseTiming();
        auto options = prefix().options(state.range(0));
        state.ResumeTiming();
        // A fresh store reads the server's registry once, then every flag.
        platform::WinePrefixSettingsStore store(prefix().path(), options);
        int active = 0;
        for (const auto& row : rows)
            active += workspaces::readActiveFlag(store, app::kSlotCurrent,
                                                 workspaces::activationCategory(row.typeName),
                                                 row.tabName);
        benchmark::DoNotOptimize(active);
        if (active == 0) state.SkipWithError("no flag was read");
    }
}

}  // namespace

BENCHMARK(BM_ActivateWorkspaceThroughServer)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->DenseRange(0, 2);
BENCHMARK(BM_RefillCurrentFromServer)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->DenseRange(0, 2);
BENCHMARK_MAIN();
