// While Scrivel runs under Wine its wineserver holds the registry: activating
// a workspace of 5,000 modules goes through the server (one import and a
// read-back), and refilling <C> reads the 5,000 flags from the server. Needs
// Wine; the prefix is made by wineboot once for all runs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/app/AppState.h"
#include "core/dialogs/AutoAnswerPrompter.h"
#include "core/workspaces/WorkspaceActivation.h"
#include "core/workspaces/WorkspaceStore.h"
#include "platform/linux/WinePrefixSettingsStore.h"
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
    platform::WinePrefixSettingsStore::Options options() const {
        platform::WinePrefixSettingsStore::Options options;
        options.serverProbe = platform::systemWineServerProbe();
        options.liveRegistry = platform::wineRegistryTool(dir_.path());
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
    test::TempDir dir_;
    bool ok_ = false;
};

RunningPrefix& prefix() {
    static RunningPrefix instance;
    return instance;
}

void BM_ActivateWorkspaceThroughServer(benchmark::State& state) {
    if (!prefix().ok()) {
        state.SkipWithError("Wine could not make a prefix with a running server");
        return;
    }
    dialogs::AutoAnswerPrompter prompter;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto rows = listRows(++round);  // every run changes a quarter of the flags
        platform::WinePrefixSettingsStore store(prefix().path(), prefix().options());
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
    const auto rows = listRows(0);
    for (auto _ : state) {
        // A fresh store reads the server's registry once, then every flag.
        platform::WinePrefixSettingsStore store(prefix().path(), prefix().options());
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

BENCHMARK(BM_ActivateWorkspaceThroughServer)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RefillCurrentFromServer)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
