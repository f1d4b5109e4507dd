// Writing many values: one save per operation against one save per value, on
// a Wine prefix whose user.reg holds 50,000 values.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/settings/RegistryAccess.h"
#include "core/settings/WineHive.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "support/TempDir.h"

using namespace modshelf::settings;
using modshelf::platform::WinePrefixSettingsStore;

namespace {

constexpr int kStoredValues = 50'000;
constexpr int kWrites = 10'000;

// A prefix folder with a user.reg of kStoredValues values in 500 keys.
class BenchPrefix {
public:
    BenchPrefix() {
        WineHive user = newWineHive(HiveBranch::CurrentUser, "win64");
        for (int k = 0; k < 500; ++k) {
            KeyNode& key = user.tree.findOrCreate("Software\\Bench\\Key" + std::to_string(k));
            for (int v = 0; v < kStoredValues / 500; ++v)
                key.setValue("Value" + std::to_string(v),
                             RegValue::fromString("some text " + std::to_string(v)));
        }
        userText_ = serializeWineHive(user);
        systemText_ = serializeWineHive(newWineHive(HiveBranch::LocalMachine, "win64"));
        reset();
    }
    void reset() {
        modshelf::test::writeFile(dir_ / "user.reg", userText_);
        modshelf::test::writeFile(dir_ / "system.reg", systemText_);
    }
    const std::filesystem::path& path() const { return dir_.path(); }
    std::size_t userBytes() const { return userText_.size(); }

private:
    modshelf::test::TempDir dir_;
    std::string userText_, systemText_;
};

BenchPrefix& prefix() {
    static BenchPrefix instance;
    return instance;
}

void writeValues(SettingsStore& store, int count) {
    for (int i = 0; i < count; ++i)
        SetRegString(
            store,
            "Software\\Quorvel\\Modshelf\\Workspace" + std::to_string(i % 15 + 1) + "\\Bibles",
            "Module" + std::to_string(i), (i % 3) ? "True" : "False");
}

// 10,000 SetRegString calls in one operation, its single save included.
void BM_TenThousandWritesInOneOperation(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        prefix().reset();
        WinePrefixSettingsStore store(prefix().path(), {});
        state.ResumeTiming();
        {
            SettingsOperation operation(store);
            writeValues(store, kWrites);
            if (operation.commit() != kSuccess) state.SkipWithError(store.lastError().c_str());
        }
    }
    state.counters["user.reg MB"] = static_cast<double>(prefix().userBytes()) / 1e6;
}

// The baseline: each call saved on its own. It runs `calls` writes and
// reports the time scaled to 10,000 in the "scaled_10000_s" counter.
void BM_EachWriteSavedAlone(benchmark::State& state) {
    const int calls = static_cast<int>(state.range(0));
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prefix().reset();
        WinePrefixSettingsStore store(prefix().path(), {});
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        writeValues(store, calls);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!store.lastError().empty()) state.SkipWithError(store.lastError().c_str());
    }
    state.counters["scaled_10000_s"] =
        seconds / static_cast<double>(state.iterations()) * kWrites / calls;
}

}  // namespace

BENCHMARK(BM_TenThousandWritesInOneOperation)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_EachWriteSavedAlone)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
