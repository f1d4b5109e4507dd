#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QHeaderView>
#include <QPageLayout>
#include <QPrinter>
#include <QTableView>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/settings/MemorySettingsStore.h"
#include "gui/CModshelfDoc.h"
#include "gui/GuiContext.h"
#include "gui/printing/ListPrintCommands.h"
#include "gui/printing/PrintSetupCommand.h"
#include "gui/printing/ProgramPrinter.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

using namespace modshelf;
namespace fs = std::filesystem;
namespace cmd = app::cmd;

namespace {

void writeModule(const fs::path& file, const std::string& tabName) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.string().c_str(), &db), SQLITE_OK);
    const std::string sql =
        "CREATE TABLE Details(Description TEXT, Abbreviation TEXT, Comments TEXT);"
        "INSERT INTO Details VALUES('The " +
        tabName + " Bible', '" + tabName + "', '');";
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

std::string run(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

// The text of each page of a PDF, as the reader lays it out, with every run
// of blanks made one blank (the reader guesses the widths of gaps).
std::vector<std::string> pdfPages(const fs::path& pdf) {
    const std::string text = run("pdftotext -layout '" + pdf.string() + "' - 2>/dev/null");
    std::vector<std::string> pages;
    std::stringstream in(text);
    std::string page;
    while (std::getline(in, page, '\f')) {
        std::string squeezed;
        for (char c : page)
            if (c != ' ' || squeezed.empty() || squeezed.back() != ' ') squeezed += c;
        if (!squeezed.empty()) pages.push_back(squeezed);
    }
    return pages;
}

// The last line of a page that holds more than blanks, without the blanks.
std::string lastLine(const std::string& page) {
    std::stringstream in(page);
    std::string line;
    std::string last;
    while (std::getline(in, line)) {
        const auto begin = line.find_first_not_of(' ');
        if (begin == std::string::npos) continue;
        last = line.substr(begin, line.find_last_not_of(' ') - begin + 1);
    }
    return last;
}

// A module list in a window, on a folder of our own, with the print commands
// on a PDF printer; the system's dialogs are replaced by scripted ones.
class ListPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(run("command -v pdftotext").empty()) << "pdftotext (poppler-utils) is needed";
        context.document = &document;
        window = std::make_unique<QWidget>();
        window->resize(900, 600);
        list = new gui::CFileView(context, window.get());
        list->resize(900, 600);
        document.addView(list);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        commands = new gui::ListPrintCommands(context, *list, printer);
        list->addCommandSet(commands);
        gui::ListPrintCommands::Dialogs dialogs;
        dialogs.print = [this](QPrinter& p, int pageCount, QWidget*) {
            dialogPageCount = pageCount;
            p.setOutputFileName(QString::fromStdString(pdf.string()));
            if (pageRange.first > 0) {
                p.setPrintRange(QPrinter::PageRange);
                p.setFromTo(pageRange.first, pageRange.second);
            }
            return true;
        };
        dialogs.preview = [this](QPrinter& p, QWidget*,
                                 const std::function<void(QPrinter*)>& paint) {
            p.setOutputFileName(QString::fromStdString(pdf.string()));
            ++previews;
            paint(&p);
        };
        commands->setDialogs(dialogs);
    }
    void TearDown() override {
        document.removeView(list);
        window.reset();
    }

    // Shows `count` modules of a folder of our own.
    void showModules(int count, int nodeKind = app::node::kDriveOrFolder) {
        const fs::path folder = temp / "Modules Folder";
        fs::create_directories(folder);
        // One module written, the rest copies of it: quicker than a database each.
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "m%03d.bblx", i);
            if (i == 0)
                writeModule(folder / name, "m000");
            else
                fs::copy_file(folder / "m000.bblx", folder / name);
        }
        state.nodeKind = nodeKind;
        state.currentFolder = folder.string();
        list->refill();
    }
    std::string rowName(int row) const { return list->model().cellText(row, 0); }

    test::TempDir temp;
    settings::MemorySettingsStore store;
    test::ScriptedPrompter prompter;
    app::AppState state;
    gui::CModshelfDoc document;
    gui::GuiContext context{store, prompter, state};
    std::unique_ptr<QWidget> window;
    gui::CFileView* list = nullptr;
    QPrinter printer{QPrinter::HighResolution};
    gui::ListPrintCommands* commands = nullptr;
    fs::path pdf = temp / "list.pdf";
    std::pair<int, int> pageRange{0, 0};
    int dialogPageCount = 0;
    int previews = 0;
};

TEST_F(ListPrintTest, PrintedPagesHoldEveryRowOnceWithTitleHeadingsAndNumbers) {
    showModules(130);
    ASSERT_EQ(list->model().rowCount(), 130);
    ASSERT_TRUE(list->handleCommand(cmd::kPrint));
    const auto pages = pdfPages(pdf);
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(static_cast<int>(pages.size()), dialogPageCount);

    // Rows per page from the first page; every later page starts where the
    // one before stopped, and the last holds the rest.
    int row = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const std::string& page = pages[p];
        EXPECT_NE(page.find("Modshelf - "), std::string::npos) << p;
        EXPECT_NE(page.find("Modules Folder"), std::string::npos) << p;
        EXPECT_NE(page.find("File Name"), std::string::npos) << p;
        EXPECT_NE(page.find("Description"), std::string::npos) << p;
        EXPECT_EQ(lastLine(page), std::to_string(p + 1));
        while (row < 130 && page.find(rowName(row)) != std::string::npos) ++row;
        if (p + 1 < pages.size()) {
            EXPECT_LT(row, 130) << "page " << p + 1 << " held everything";
        }
    }
    EXPECT_EQ(row, 130) << "row " << rowName(row) << " was not printed in order";
}

TEST_F(ListPrintTest, ChosenPageRangeAndPreviewPrintWhatTheyShould) {
    showModules(130);
    pageRange = {2, 2};
    list->handleCommand(cmd::kPrint);
    auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].find(rowName(0)), std::string::npos);
    int printedRows = 0;
    for (int row = 0; row < 130; ++row)
        printedRows += pages[0].find(rowName(row)) != std::string::npos;
    EXPECT_GT(printedRows, 0);

    fs::remove(pdf);
    list->handleCommand(cmd::kPrintPreview);
    EXPECT_EQ(previews, 1);
    pages = pdfPages(pdf);
    EXPECT_EQ(static_cast<int>(pages.size()), dialogPageCount);
    EXPECT_NE(pages.back().find(rowName(129)), std::string::npos);
}

TEST_F(ListPrintTest, DraggedColumnsPrintInTheirScreenOrder) {
    showModules(3);
    QHeaderView* header = list->detailsView()->horizontalHeader();
    header->moveSection(header->visualIndex(5), 0);  // Description first
    list->handleCommand(cmd::kPrint);
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const auto description = pages[0].find("Description");
    const auto fileName = pages[0].find("File Name");
    ASSERT_NE(description, std::string::npos);
    ASSERT_NE(fileName, std::string::npos);
    EXPECT_LT(description, fileName);
    EXPECT_LT(pages[0].find("The m000 Bible"), pages[0].find("m000.bblx"));
}

TEST_F(ListPrintTest, WorkspaceRowsCarryTheirCheckMark) {
    showModules(2, 3);  // workspace <03>: the boxes can be changed
    const int checkedRow = 0;
    ASSERT_TRUE(
        list->model().setData(list->model().index(checkedRow, 0), Qt::Checked, Qt::CheckStateRole));
    list->handleCommand(cmd::kPrint);
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("Y " + rowName(checkedRow)), std::string::npos) << pages[0];
    EXPECT_NE(pages[0].find("n " + rowName(1)), std::string::npos) << pages[0];
}

TEST_F(ListPrintTest, OtherViewModesOnlyExplain) {
    showModules(3);
    for (const auto mode : {gui::CFileView::ViewMode::LargeIcons,
                            gui::CFileView::ViewMode::SmallIcons, gui::CFileView::ViewMode::List}) {
        list->setViewMode(mode);
        for (const int command : {cmd::kPrint, cmd::kPrintPreview}) {
            prompter.answer(dialogs::id::kOk);
            EXPECT_TRUE(list->handleCommand(command));
        }
    }
    ASSERT_EQ(prompter.shown.size(), 6u);
    for (const auto& shown : prompter.shown) {
        EXPECT_EQ(shown.text, "Please note : Printing requires the use of Details view mode only.");
        EXPECT_EQ(shown.caption, " Print in Details View Mode");
        EXPECT_EQ(shown.style, 64u);
        EXPECT_EQ(shown.params.iconId, 100u);
    }
    EXPECT_EQ(dialogPageCount, 0);
    EXPECT_EQ(previews, 0);
    EXPECT_FALSE(fs::exists(pdf));
}

TEST_F(ListPrintTest, EmptyListStartsNothing) {
    showModules(0);
    list->handleCommand(cmd::kPrint);
    list->handleCommand(cmd::kPrintPreview);
    EXPECT_EQ(dialogPageCount, 0);
    EXPECT_EQ(previews, 0);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ListPrintTest, PageSetupChoiceIsKeptForPrinting) {
    showModules(3);
    gui::PrintSetupCommand setup([](QPrinter& p, QWidget*) {
        p.setPageOrientation(QPageLayout::Landscape);
        return true;
    });
    ASSERT_TRUE(setup.handleCommand(cmd::kPrintSetup));
    gui::CommandState state;
    ASSERT_TRUE(setup.updateCommand(cmd::kPrintSetup, state));
    EXPECT_TRUE(state.enabled);

    // The list's own commands print on the program's printer.
    gui::ListPrintCommands* programCommands = gui::attachListPrintCommands(context, *list);
    gui::ListPrintCommands::Dialogs dialogs;
    dialogs.print = [this](QPrinter& p, int, QWidget*) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromStdString(pdf.string()));
        return true;
    };
    programCommands->setDialogs(dialogs);
    ASSERT_TRUE(programCommands->handleCommand(cmd::kPrint));
    const std::string info = run("pdfinfo '" + pdf.string() + "' 2>/dev/null");
    const auto size = info.find("Page size:");
    ASSERT_NE(size, std::string::npos) << info;
    double width = 0, height = 0;
    std::sscanf(info.c_str() + size, "Page size: %lf x %lf", &width, &height);
    EXPECT_GT(width, height) << info;
    gui::programPrinter().setPageOrientation(QPageLayout::Portrait);
}

}  // namespace
