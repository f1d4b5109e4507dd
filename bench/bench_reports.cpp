// Reports and exports of large inputs: converting a 10 MB RTF comment, the
// whole file report of a module carrying it, and the two list formats of a
// 10,000-row list. The floor is copying the same bytes once.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/reports/FileProperties.h"
#include "core/reports/ListExport.h"
#include "core/reports/RtfToText.h"

namespace {

using namespace modshelf::reports;
namespace fs = std::filesystem;

// A word processor's document of about 10 MB: tables, a generator group,
// formatting words, hex escapes and many paragraphs.
const std::string& largeComment() {
    static const std::string rtf = [] {
        std::string text =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
            "{\\colortbl ;\\red0\\green0\\blue128;}{\\*\\generator Riched20 6.3;}\\viewkind4\\uc1 ";
        const std::string paragraph =
            "\\pard\\cf1\\b\\f0\\fs20 Chapter\\b0  text with caf\\'e9, \\ldblquote quotes"
            "\\rdblquote\\tab and a tab, set in the usual way for a commentary.\\par\r\n";
        while (text.size() < 10'000'000) text += paragraph;
        return text + "}";
    }();
    return rtf;
}

std::vector<ExportRow> listRows(int count) {
    std::vector<ExportRow> rows(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        rows[static_cast<std::size_t>(i)] = {
            {"module" + std::to_string(i) + ".bblx", "Bible", "M" + std::to_string(i), "1,234,567",
             "03/09/16  12:30 AM", "A description of a module of some length"},
            i % 3 == 0};
    return rows;
}

void BM_CopyCommentFloor(benchmark::State& state) {
    for (auto _ : state) {
        std::string copy = largeComment();
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(largeComment().size()));
}

void BM_ConvertComment10MB(benchmark::State& state) {
    for (auto _ : state) {
        std::string text;
        if (!ConvertRtfToText(largeComment(), text)) throw std::runtime_error("conversion");
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(largeComment().size()));
}

// The text report of a module whose comments are the 10 MB document: read,
// converted, cleaned and laid out.
void BM_FileReport10MBComment(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "modshelf-bench-reports";
    fs::create_directories(folder);
    const fs::path module = folder / "large.cmtx";
    fs::remove(module);
    sqlite3* db = nullptr;
    sqlite3_open(module.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE Details(Description TEXT, Abbreviation TEXT, Comments TEXT)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Details VALUES('Large', 'LRG', ?)", -1, &insert, nullptr);
    sqlite3_bind_text(insert, 1, largeComment().data(), static_cast<int>(largeComment().size()),
                      SQLITE_STATIC);
    sqlite3_step(insert);
    sqlite3_finalize(insert);
    sqlite3_close(db);
    for (auto _ : state) {
        const FileReport report =
            buildFileReport(folder.string(), {"large.cmtx", "large.cmtx"}, ReportUse::File);
        if (report.text.size() < 1'000'000) throw std::runtime_error("comments not read");
        benchmark::DoNotOptimize(report.text.data());
    }
    fs::remove_all(folder);
}

void BM_EvenColumns10000Rows(benchmark::State& state) {
    const std::vector<ExportRow> rows = listRows(10000);
    for (auto _ : state) benchmark::DoNotOptimize(BuildEvenColumnsText(rows, true).data());
}

void BM_TabDelimited10000Rows(benchmark::State& state) {
    const std::vector<ExportRow> rows = listRows(10000);
    for (auto _ : state) benchmark::DoNotOptimize(BuildTabDelimitedText(rows, true).data());
}

}  // namespace

BENCHMARK(BM_CopyCommentFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ConvertComment10MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FileReport10MBComment)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EvenColumns10000Rows)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TabDelimited10000Rows)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
