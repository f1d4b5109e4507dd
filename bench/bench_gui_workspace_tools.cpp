// The command line's reports as whole processes, and the workspace matrix, on
// a prefix whose fifteen workspaces and Scrivel's settings list 5,000 modules.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QTableView>
#include <string>
#include <vector>

#include "core/app/AppState.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/WineHive.h"
#include "core/workspaces/WorkspaceMatrix.h"
#include "core/workspaces/WorkspaceStore.h"
#include "gui/CModshelfDoc.h"
#include "gui/GuiContext.h"
#include "gui/workspaces/WorkspaceMatrixDialog.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

using namespace modshelf;

namespace {

constexpr int kModules = 5'000;
const char* const kTypes[] = {"Bible", "Commentary", "Dictionary"};

std::string tabName(int i) {
    return "MOD" + std::to_string(i);
}

// Every workspace and Scrivel's own keys hold a flag for every module.
settings::WineHive userHive() {
    using namespace settings;
    WineHive user = newWineHive(HiveBranch::CurrentUser, "win64");
    for (int i = 0; i < kModules; ++i) {
        const auto category = workspaces::activationCategory(kTypes[i % 3]);
        for (int slot = 0; slot < 15; ++slot)
            user.tree.findOrCreate(workspaces::moduleDataKeyPath(slot, category))
                .setValue(tabName(i), RegValue::fromString((i + slot) % 3 ? "True" : "False"));
        user.tree.findOrCreate(workspaces::moduleDataKeyPath(app::kSlotCurrent, category))
            .setValue(tabName(i), RegValue::fromString(i % 2 ? "True" : "False"));
    }
    return user;
}

class BenchPrefix {
public:
    BenchPrefix() {
        const settings::WineHive user = userHive();
        test::writeFile(dir_ / "user.reg", settings::serializeWineHive(user));
        test::writeFile(dir_ / "system.reg", settings::serializeWineHive(settings::newWineHive(
                                                 settings::HiveBranch::LocalMachine, "win64")));
    }
    std::string path() const { return dir_.path().string(); }

private:
    test::TempDir dir_;
};

BenchPrefix& prefix() {
    static BenchPrefix p;
    return p;
}

// Runs the program to its end with its output thrown away; false on failure.
bool runProgram(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv;
        const std::string program = MODSHELF_BINARY_DIR "/src/modshelf";
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (!freopen("/dev/null", "w", stdout)) ::_exit(126);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_ProcessWorkspaces(benchmark::State& state) {
    const std::string p = prefix().path();
    for (auto _ : state)
        if (!runProgram({"--prefix", p, "workspaces"})) state.SkipWithError("workspaces failed");
}
BENCHMARK(BM_ProcessWorkspaces)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_ProcessDiff(benchmark::State& state) {
    const std::string p = prefix().path();
    for (auto _ : state)
        if (!runProgram({"--prefix", p, "diff", "3", "C"})) state.SkipWithError("diff failed");
}
BENCHMARK(BM_ProcessDiff)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// Baseline: a process that does nothing but load the program's libraries.
void BM_ProcessVersion(benchmark::State& state) {
    for (auto _ : state)
        if (!runProgram({"--version"})) state.SkipWithError("--version failed");
}
BENCHMARK(BM_ProcessVersion)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

std::vector<modules::ModuleRow> listedRows() {
    std::vector<modules::ModuleRow> rows(kModules);
    for (int i = 0; i < kModules; ++i) {
        rows[i].record.fileName = tabName(i) + ".bblx";
        rows[i].record.moduleType = kTypes[i % 3];
        rows[i].record.tabName = tabName(i);
        rows[i].record.description = "Module number " + std::to_string(i);
    }
    return rows;
}

// Opening the matrix: reading sixteen sets of flags, building the table and
// showing the window with its first page sorted.
void BM_MatrixOpens(benchmark::State& state) {
    settings::MemorySettingsStore store;
    const settings::WineHive user = userHive();
    store.branch(settings::RegRoot::CurrentUser) = user.tree;
    const auto rows = listedRows();
    test::ScriptedPrompter prompter;
    app::AppState appState;
    gui::CModshelfDoc document;
    gui::GuiContext context{store, prompter, appState, nullptr, &document};
    for (auto _ : state) {
        gui::WorkspaceMatrixDialog dialog(context, workspaces::WorkspaceMatrix::build(rows, store));
        dialog.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.table()->model()->rowCount());
    }
}
BENCHMARK(BM_MatrixOpens)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
