// Backing up and restoring Modshelf's settings when its fifteen workspaces
// hold 10,000 module flags each: on a Wine prefix's user.reg and in memory.
// The baseline is a restore that writes value by value, each write saved on
// its own, measured on a few hundred values and scaled.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryXmlExport.h"
#include "core/settings/RegistryXmlImport.h"
#include "core/settings/WineHive.h"
#include "core/settings/XmlReader.h"
#include "core/settings/XmlWriter.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "support/TempDir.h"

using namespace modshelf::settings;
using modshelf::platform::WinePrefixSettingsStore;

namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Quorvel\\Modshelf";
constexpr int kWorkspaces = 15;
constexpr int kValuesPerWorkspace = 10'000;
constexpr int kTotalValues = kWorkspaces * kValuesPerWorkspace;

void fillSettings(KeyNode& modshelf) {
    modshelf.setValue("CurrentVersion", RegValue::fromString("V.3.37"));
    KeyNode& settings = modshelf.subkey("Settings");
    settings.setValue("ExportSet", RegValue::fromDword(1));
    settings.setValue("ImportSet", RegValue::fromDword(1));
    settings.setValue("Workspaces", RegValue::fromDword(15));
    modshelf.subkey("WorkspaceA").setValue("WorkspaceName", RegValue::fromString("WorkspaceA"));
    modshelf.subkey("WorkspaceC").setValue("WorkspaceName", RegValue::fromString("WorkspaceC"));
    for (int w = 1; w <= kWorkspaces; ++w) {
        KeyNode& bibles = modshelf.subkey("Workspace" + std::to_string(w)).subkey("Bibles");
        for (int v = 0; v < kValuesPerWorkspace; ++v)
            bibles.setValue("Module " + std::to_string(v),
                            RegValue::fromString(v % 3 ? "True" : "False"));
    }
}

class BenchData {
public:
    BenchData() {
        WineHive user = newWineHive(HiveBranch::CurrentUser, "win64");
        fillSettings(user.tree.findOrCreate("Software\\Quorvel\\Modshelf"));
        userText_ = serializeWineHive(user);
        systemText_ = serializeWineHive(newWineHive(HiveBranch::LocalMachine, "win64"));
        resetPrefix();
        WinePrefixSettingsStore store(dir_.path(), {});
        exportTo(store, backupFile());
    }
    void resetPrefix() {
        modshelf::test::writeFile(dir_ / "user.reg", userText_);
        modshelf::test::writeFile(dir_ / "system.reg", systemText_);
    }
    const std::filesystem::path& prefix() const { return dir_.path(); }
    std::string backupFile() const { return (dir_ / "Modshelf.xml").string(); }

    static bool exportTo(SettingsStore& store, const std::string& file) {
        XmlWriter writer(file);
        writer.WriteStartTag(XmlElement("registry"));
        RegistryXmlExport context{store, writer};
        const bool ok = ExportRegistryTree(context, kKey);
        writer.WriteEndTag("registry");
        return writer.Close() && ok;
    }

private:
    modshelf::test::TempDir dir_;
    std::string userText_, systemText_;
};

BenchData& data() {
    static BenchData instance;
    return instance;
}

void restoreFrom(SettingsStore& store, benchmark::State& state) {
    XmlReader reader;
    reader.SetFile(data().backupFile());
    const RegistryXmlImport read = ReadRegistryXml(reader, kKey);
    std::string error;
    if (!read.ok() || !ApplyRegistryImport(store, kKey, read.keys, error))
        state.SkipWithError(("restore failed: " + read.detail + error).c_str());
}

void BM_BackupPrefix(benchmark::State& state) {
    data().resetPrefix();
    WinePrefixSettingsStore store(data().prefix(), {});
    const std::string file = (data().prefix() / "out.xml").string();
    for (auto _ : state)
        if (!BenchData::exportTo(store, file)) state.SkipWithError("backup failed");
    state.counters["file MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}

void BM_RestorePrefix(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        data().resetPrefix();
        WinePrefixSettingsStore store(data().prefix(), {});
        state.ResumeTiming();
        restoreFrom(store, state);  // the save of user.reg included
    }
}

void BM_BackupMemory(benchmark::State& state) {
    MemorySettingsStore store;
    fillSettings(store.branch(RegRoot::CurrentUser).findOrCreate("Software\\Quorvel\\Modshelf"));
    const std::string file = (data().prefix() / "memory.xml").string();
    for (auto _ : state)
        if (!BenchData::exportTo(store, file)) state.SkipWithError("backup failed");
}

void BM_RestoreMemory(benchmark::State& state) {
    MemorySettingsStore store;
    fillSettings(store.branch(RegRoot::CurrentUser).findOrCreate("Software\\Quorvel\\Modshelf"));
    for (auto _ : state) restoreFrom(store, state);
}

// Reading and checking the backup file alone, without writing anything.
void BM_ReadBackupOnly(benchmark::State& state) {
    for (auto _ : state) {
        XmlReader reader;
        reader.SetFile(data().backupFile());
        if (!ReadRegistryXml(reader, kKey).ok()) state.SkipWithError("read failed");
    }
}

// Reading the current settings as the restore keeps them for a rollback.
void BM_CaptureSettingsPrefix(benchmark::State& state) {
    data().resetPrefix();
    WinePrefixSettingsStore store(data().prefix(), {});
    for (auto _ : state)
        benchmark::DoNotOptimize(
            CaptureSubtree(store, RegRoot::CurrentUser, "Software\\Quorvel\\Modshelf"));
}

// The baseline: every value written and saved on its own, as a restore that
// wrote the file's values one by one would do. Scaled to all 150,000 values.
void BM_RestoreValueByValueBaseline(benchmark::State& state) {
    const int values = static_cast<int>(state.range(0));
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        data().resetPrefix();
        WinePrefixSettingsStore store(data().prefix(), {});
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (int v = 0; v < values; ++v)
            store.setValue(RegRoot::CurrentUser, "Software\\Quorvel\\Modshelf\\Workspace1\\Bibles",
                           "Module " + std::to_string(v), RegValue::fromString("True"));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["scaled_150000_s"] =
        seconds / static_cast<double>(state.iterations()) * kTotalValues / values;
}

}  // namespace

BENCHMARK(BM_BackupPrefix)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RestorePrefix)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BackupMemory)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RestoreMemory)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadBackupOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CaptureSettingsPrefix)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RestoreValueByValueBaseline)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
