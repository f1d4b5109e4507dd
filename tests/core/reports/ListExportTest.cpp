#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/reports/ExportFile.h"
#include "core/reports/ExportNotices.h"
#include "core/reports/ListExport.h"
#include "support/ScriptedPrompter.h"

namespace modshelf::reports {
namespace {

const std::vector<ExportRow> kRows = {
    {{"KJV.bblx", "Bible", "KJV", "1,234,567", "03/09/16  12:30 AM", "King James"}, true},
    {{"notes.txt", "", "", "12", "01/01/00  11:00 AM", ""}, false},
    {{"A very long module file name here.cmtx", "Commentary", "Tab\tName\r\n", " 1,000 ",
      "12/31/09  11:59 PM", "Line one\r\nline\ttwo"},
     false},
};

TEST(ListExport, TabDelimitedByteForByte) {
    EXPECT_EQ(BuildTabDelimitedText(kRows, false),
              "FILE NAME\tMODULE TYPE\tTAB NAME\tFILE SIZE\tLAST MODIFIED\tDESCRIPTION\r\n"
              "KJV.bblx\tBible\tKJV\t1234567\t03/09/16  12:30 AM\tKing James\r\n"
              "notes.txt\t \t \t12\t01/01/00  11:00 AM\t \r\n"
              "A very long module file name here.cmtx\tCommentary\tTab Name\t1000\t"
              "12/31/09  11:59 PM\tLine oneline two\r\n");
    EXPECT_EQ(BuildTabDelimitedText(kRows, true),
              "SEL\tFILE NAME\tMODULE TYPE\tTAB NAME\tFILE SIZE\tLAST MODIFIED\tDESCRIPTION\r\n"
              "Sel\tKJV.bblx\tBible\tKJV\t1234567\t03/09/16  12:30 AM\tKing James\r\n"
              " \tnotes.txt\t \t \t12\t01/01/00  11:00 AM\t \r\n"
              " \tA very long module file name here.cmtx\tCommentary\tTab Name\t1000\t"
              "12/31/09  11:59 PM\tLine oneline two\r\n");
}

TEST(ListExport, EvenColumnsByteForByte) {
    const std::string header =
        "FILE NAME                      MODULE TYPE      TAB NAME         FILE SIZE   "
        "LAST MODIFIED        DESCRIPTION                   \r\n";
    const std::string kjv =
        "KJV.bblx                       Bible            KJV              1,234,567   "
        "03/09/16  12:30 AM   King James                    \r\n";
    const std::string notes =
        "notes.txt                                                               12   "
        "01/01/00  11:00 AM                                 \r\n";
    const std::string longName =
        "A very long module file name   Commentary       Tab\tName            1,000    "
        "12/31/09  11:59 PM   Line oneline\ttwo              \r\n";
    EXPECT_EQ(BuildEvenColumnsText(kRows, false), header + kjv + notes + longName);
    EXPECT_EQ(BuildEvenColumnsText(kRows, true),
              "SEL   " + header + "Sel   " + kjv + "      " + notes + "      " + longName);
    for (const bool selection : {false, true}) {
        std::istringstream lines(BuildEvenColumnsText(kRows, selection));
        for (std::string line; std::getline(lines, line);)
            EXPECT_EQ(line.size(), selection ? 135u : 129u) << line;  // with its "\r"
    }
}

TEST(ListExport, EvenColumnsCountCharactersNotBytes) {
    const std::vector<ExportRow> rows = {
        {{"\xC3\xA9t\xC3\xA9.bblx", "Bible", "\xC3\xA9", "1", "", ""}, false}};
    std::string text = BuildEvenColumnsText(rows, false, CodePage::Utf8);
    text = text.substr(text.find("\r\n") + 2);
    EXPECT_TRUE(text.starts_with("\xC3\xA9t\xC3\xA9.bblx" + std::string(23, ' ') + "Bible"));
    EXPECT_EQ(BuildEvenColumnsText(rows, false, CodePage::SingleByte).find("\xC3\xA9t"), 130u);
}

TEST(ListExport, AnEmptyListIsTheHeaderAlone) {
    EXPECT_EQ(BuildTabDelimitedText({}, true),
              "SEL\tFILE NAME\tMODULE TYPE\tTAB NAME\tFILE SIZE\tLAST MODIFIED\tDESCRIPTION\r\n");
    EXPECT_EQ(BuildEvenColumnsText({}, false).size(), 130u);
}

TEST(ListExport, SelectionColumnOnlyWhereBoxesMeanActive) {
    EXPECT_TRUE(exportHasSelectionColumn(1));
    EXPECT_TRUE(exportHasSelectionColumn(15));
    EXPECT_TRUE(exportHasSelectionColumn(app::node::kCurrentSettings));
    for (int kind : {app::node::kNone, app::node::kResourceFolder, app::node::kUserFilesFolder,
                     app::node::kDriveOrFolder, app::node::kAllModules})
        EXPECT_FALSE(exportHasSelectionColumn(kind)) << kind;
}

TEST(ExportNotices, OnlyOutsideDetailsViewAndOnlyOkGoesOn) {
    test::ScriptedPrompter prompter;
    EXPECT_TRUE(ConfirmDetailsViewExport(prompter, true));
    EXPECT_TRUE(prompter.shown.empty());

    prompter.answer(dialogs::id::kCancel);
    EXPECT_FALSE(ConfirmDetailsViewExport(prompter, false));
    prompter.answer(dialogs::id::kOk);
    EXPECT_TRUE(ConfirmDetailsViewExport(prompter, false));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].caption, " Export in Details View Mode");
    EXPECT_EQ(prompter.shown[0].style, 65u);
    EXPECT_EQ(prompter.shown[0].params.iconId, 0u);
    EXPECT_EQ(prompter.shown[0].params.textColour, 0x00FF0000);

    EXPECT_EQ(saveDialogFor(ExportKind::EvenColumns).initialName, "EvenColumns.txt");
    EXPECT_EQ(saveDialogFor(ExportKind::FileProperties).initialName, "FileProperties.txt");
}

TEST(ExportFile, AFailureNamesTheFileAndTheReason) {
    test::ScriptedPrompter prompter;
    std::string written;
    const ExportFileWriter good = [&](const std::filesystem::path&, std::string_view bytes,
                                      std::string&) {
        written = bytes;
        return true;
    };
    EXPECT_TRUE(writeExportFile("/tmp/out.txt", "a\0b", good, prompter));
    EXPECT_TRUE(prompter.plainMessages.empty());

    const ExportFileWriter bad = [](const std::filesystem::path&, std::string_view,
                                    std::string& error) {
        error = "No space left on device.";
        return false;
    };
    EXPECT_FALSE(writeExportFile("/tmp/out.txt", "text", bad, prompter));
    ASSERT_EQ(prompter.plainMessages.size(), 1u);
    EXPECT_NE(prompter.plainMessages[0].find("/tmp/out.txt"), std::string::npos);
    EXPECT_NE(prompter.plainMessages[0].find("No space left on device."), std::string::npos);
}

}  // namespace
}  // namespace modshelf::reports
