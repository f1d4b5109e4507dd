// The module list with 10,000 rows: filling the model, sorting by heading,
// sizing the columns and drawing a page while scrolling. Beside each, the
// usual Qt shortcut as a baseline: a QStandardItemModel that stores every
// cell's text, and a QSortFilterProxyModel sorting by the displayed text.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <string>
#include <vector>

#include "core/modules/ListColumns.h"
#include "core/modules/ListSort.h"
#include "gui/views/ModuleListModel.h"

using namespace modshelf;
using modshelf::gui::ModuleListModel;

namespace {

constexpr int kRows = 10000;

std::vector<modules::ModuleRow> makeRows() {
    static const modules::ModuleKind kinds[] = {
        modules::ModuleKind::Bible, modules::ModuleKind::Commentary,
        modules::ModuleKind::Dictionary, modules::ModuleKind::Unknown};
    std::vector<modules::ModuleRow> rows;
    rows.reserve(kRows);
    std::uint64_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return seed >> 33;
    };
    for (int i = 0; i < kRows; ++i) {
        modules::ModuleRow row;
        row.kind = kinds[next() % 4];
        const std::string stem = "Module " + std::to_string(next() % 100000);
        row.record.fileName = stem + std::string(modules::extension(row.kind));
        row.record.fullName = row.record.fileName;
        row.record.moduleType = std::string(modules::listTypeName(row.kind));
        row.record.tabName = (i % 7 == 0) ? "" : "T" + std::to_string(next() % 5000);
        row.record.description = (i % 5 == 0) ? "" : "A description of " + stem;
        row.record.size = next() % 50000000;
        row.record.lastModified = 130000000000000000ULL + next() * 10000000ULL;
        row.checked = i % 3 == 0;
        rows.push_back(std::move(row));
    }
    return rows;
}

const std::vector<modules::ModuleRow>& sampleRows() {
    static const std::vector<modules::ModuleRow> rows = makeRows();
    return rows;
}

void BM_ModelFill(benchmark::State& state) {
    ModuleListModel model;
    QTableView view;
    view.setModel(&model);
    for (auto _ : state) {
        model.setRows(sampleRows());
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_ModelFill)->Unit(benchmark::kMillisecond);

void BM_Baseline_StandardItemModelFill(benchmark::State& state) {
    const auto& rows = sampleRows();
    ModuleListModel texts;
    texts.setRows(rows);
    QStandardItemModel model;
    QTableView view;
    view.setModel(&model);
    for (auto _ : state) {
        model.clear();
        model.setColumnCount(modules::kListColumnCount);
        for (int r = 0; r < kRows; ++r) {
            QList<QStandardItem*> items;
            for (int c = 0; c < modules::kListColumnCount; ++c)
                items.push_back(new QStandardItem(QString::fromStdString(texts.cellText(r, c))));
            model.appendRow(items);
        }
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_Baseline_StandardItemModelFill)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State& state) {
    const int column = static_cast<int>(state.range(0));
    ModuleListModel model;
    QTableView view;
    view.setModel(&model);
    for (auto _ : state) {
        state.PauseTiming();
        model.setRows(sampleRows());
        view.selectRow(kRows / 2);  // a selection to carry through the sort
        state.ResumeTiming();
        model.sortBy(column, modules::SortDirection::First);
        benchmark::DoNotOptimize(model.row(0));
    }
    state.SetLabel(modules::listColumns()[column].heading);
}
BENCHMARK(BM_SortByColumn)
    ->Arg(modules::kColFileName)
    ->Arg(modules::kColModuleType)
    ->Arg(modules::kColTabName)
    ->Arg(modules::kColFileSize)
    ->Arg(modules::kColLastModified)
    ->Arg(modules::kColDescription)
    ->Unit(benchmark::kMillisecond);

void BM_Baseline_ProxySortByDisplayText(benchmark::State& state) {
    const int column = static_cast<int>(state.range(0));
    ModuleListModel model;
    model.setRows(sampleRows());
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setSortCaseSensitivity(Qt::CaseInsensitive);
    QTableView view;
    view.setModel(&proxy);
    for (auto _ : state) {
        proxy.sort(-1);
        proxy.sort(column, Qt::AscendingOrder);
        benchmark::DoNotOptimize(proxy.index(0, 0));
    }
    state.SetLabel(modules::listColumns()[column].heading);
}
BENCHMARK(BM_Baseline_ProxySortByDisplayText)
    ->Arg(modules::kColFileName)
    ->Arg(modules::kColFileSize)
    ->Unit(benchmark::kMillisecond);

void BM_SizeColumns(benchmark::State& state) {
    ModuleListModel model;
    model.setRows(sampleRows());
    QTableView view;
    view.setModel(&model);
    view.resize(900, 600);
    for (auto _ : state) {
        for (int c = 0; c < modules::kListColumnCount; ++c) {
            const QAbstractItemView* base = &view;
            benchmark::DoNotOptimize(base->sizeHintForColumn(c));
        }
    }
}
BENCHMARK(BM_SizeColumns)->Unit(benchmark::kMillisecond);

// One page down and a full repaint of the visible rows, as a scroll does.
void BM_ScrollPage(benchmark::State& state) {
    ModuleListModel model;
    model.setRows(sampleRows());
    QTableView view;
    view.setModel(&model);
    view.resize(900, 600);
    view.show();
    QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    QScrollBar* bar = view.verticalScrollBar();
    for (auto _ : state) {
        int value = bar->value() + bar->pageStep();
        if (value > bar->maximum()) value = 0;
        bar->setValue(value);
        QPainter painter(&image);
        view.viewport()->render(&painter);
    }
}
BENCHMARK(BM_ScrollPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
