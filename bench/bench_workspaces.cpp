// Storing a workspace's checks and activating it, for a list of 5,000 Bibles,
// commentaries and dictionaries, on a Wine prefix's user.reg (save included).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/dialogs/AutoAnswerPrompter.h"
#include "core/settings/WineHive.h"
#include "core/workspaces/WorkspaceActivation.h"
#include "core/workspaces/WorkspaceChecks.h"
#include "core/workspaces/WorkspaceStore.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "support/TempDir.h"

using namespace modshelf;

namespace {

constexpr int kRows = 5'000;

std::vector<workspaces::ListRow> listRows() {
    const char* types[] = {"Bible", "Commentary", "Dictionary"};
    std::vector<workspaces::ListRow> rows;
    for (int i = 0; i < kRows; ++i)
        rows.push_back({types[i % 3], "MOD" + std::to_string(i), i % 4 != 0});
    return rows;
}

// A prefix whose user.reg already holds Scrivel's flags for every module and
// the workspace's earlier state, as a prefix in daily use would.
class BenchPrefix {
public:
    BenchPrefix() {
        using namespace settings;
        WineHive user = newWineHive(HiveBranch::CurrentUser, "win64");
        for (const auto& row : listRows()) {
            const auto category = workspaces::activationCategory(row.typeName);
            user.tree.findOrCreate(workspaces::moduleDataKeyPath(tree::kSlotCurrent, category))
                .setValue(row.tabName, RegValue::fromString("False"));
            user.tree.findOrCreate(workspaces::moduleDataKeyPath(2, category))
                .setValue(row.tabName, RegValue::fromString("False"));
        }
        userText_ = serializeWineHive(user);
        systemText_ = serializeWineHive(newWineHive(HiveBranch::LocalMachine, "win64"));
    }
    void reset() {
        test::writeFile(dir_ / "user.reg", userText_);
        test::writeFile(dir_ / "system.reg", systemText_);
    }
    const std::filesystem::path& path() const { return dir_.path(); }

private:
    test::TempDir dir_;
    std::string userText_, systemText_;
};

BenchPrefix& prefix() {
    static BenchPrefix instance;
    return instance;
}

void BM_StoreWorkspaceChecks(benchmark::State& state) {
    const auto rows = listRows();
    for (auto _ : state) {
        state.PauseTiming();
        prefix().reset();
        platform::WinePrefixSettingsStore store(prefix().path(), {});
        state.ResumeTiming();
        auto result = workspaces::storeWorkspaceChecks(store, 3, rows);
        if (result.status != settings::kSuccess) state.SkipWithError(store.lastError().c_str());
    }
}

void BM_ActivateWorkspace(benchmark::State& state) {
    const auto rows = listRows();
    dialogs::AutoAnswerPrompter prompter;
    for (auto _ : state) {
        state.PauseTiming();
        prefix().reset();
        platform::WinePrefixSettingsStore store(prefix().path(), {});
        workspaces::WorkspaceActivation activation(store, prompter, {});
        state.ResumeTiming();
        if (activation.activateWorkspace("03", rows, {}) != kRows)
            state.SkipWithError(store.lastError().c_str());
    }
}

}  // namespace

BENCHMARK(BM_StoreWorkspaceChecks)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ActivateWorkspace)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
