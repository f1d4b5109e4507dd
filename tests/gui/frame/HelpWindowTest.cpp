#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>

#include "FrameFixture.h"
#include "core/app/CommandIds.h"
#include "gui/HelpCommands.h"
#include "gui/help/HelpContents.h"
#include "gui/help/HelpWindow.h"
#include "support/TempDir.h"

namespace modshelf::gui::testing {
namespace {

namespace cmd = app::cmd;
namespace fs = std::filesystem;

const fs::path kBuiltProgram = fs::path(MODSHELF_BINARY_DIR) / "src" / "modshelf";

std::vector<std::string> titlesOf(const QListWidget& list) {
    std::vector<std::string> titles;
    for (int row = 0; row < list.count(); ++row)
        titles.push_back(list.item(row)->text().toStdString());
    return titles;
}

TEST(HelpContents, LinkTextsAreReadAsPlainTextAndOnlyLocalPagesCountOnce) {
    const auto links = linksOf(
        "<p><a href=\"a.html\">The <b>&lt;A&gt;</b>\n  node</a> and "
        "<A class=\"x\" HREF=\"https://example.org/\">web</A></p>");
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].title, "The <A> node");
    EXPECT_EQ(links[0].page, "a.html");
    EXPECT_EQ(links[1].page, "https://example.org/");

    modshelf::test::TempDir dir;
    modshelf::test::writeFile(dir / "index.html",
                              "<a href=\"index.html\">Home</a><a href=\"topics.html\">Index</a>"
                              "<a href=\"b.html#part\">Bee</a><a href=\"b.html\">Bee again</a>"
                              "<a href=\"gone.html\">Missing</a><a href=\"mailto:x@y\">Mail</a>"
                              "<a href=\"#top\">Top</a><a href=\"/etc/passwd\">Outside</a>");
    modshelf::test::writeFile(dir / "b.html", "<html></html>");
    modshelf::test::writeFile(dir / "topics.html", "<html></html>");
    const auto topics = readHelpContents(dir.path());
    ASSERT_EQ(topics.size(), 3u);
    EXPECT_EQ(topics[0].page, "index.html");
    EXPECT_EQ(topics[1].title, "Bee");
    EXPECT_EQ(topics[1].page, "b.html");
    EXPECT_EQ(topics[2].title, "Index");
    EXPECT_EQ(topics[2].page, "topics.html");
}

using HelpWindowFromFrame = FrameFixture;

// The pages that the build puts beside the program open in our own window,
// whatever folder the build is in, with F1 and without any web browser.
TEST_F(HelpWindowFromFrame, F1ShowsTheContentsInTheProgramsOwnWindow) {
    programPath = kBuiltProgram.string();
    auto frame = makeFrame();
    frame->show();
    QApplication::setActiveWindow(frame.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));

    QTest::keyClick(frame.get(), Qt::Key_F1);
    EXPECT_TRUE(prompter.shown.empty());
    HelpWindow* window = frame->findChild<HelpWindow*>();
    ASSERT_NE(window, nullptr) << "F1 opened no help window";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->currentPage().filename(), "index.html");
    EXPECT_EQ(window->windowTitle(), "Modshelf Help");
    EXPECT_TRUE(window->browser()->toPlainText().contains("fifteen workspaces"));

    // The contents pane lists every page of the contents, the index last.
    const auto titles = titlesOf(*window->contents());
    ASSERT_GE(titles.size(), 8u);
    EXPECT_EQ(titles.front(), "Contents");
    EXPECT_EQ(titles.back(), "Index");
    EXPECT_NE(std::find(titles.begin(), titles.end(), "Keyboard shortcuts"), titles.end());
    EXPECT_EQ(window->contents()->currentRow(), 0);

    // Choosing an entry shows its page; Back returns.
    const auto keys = window->contents()->findItems("Keyboard shortcuts", Qt::MatchExactly);
    ASSERT_EQ(keys.size(), 1u);
    QTest::mouseClick(window->contents()->viewport(), Qt::LeftButton, {},
                      window->contents()->visualItemRect(keys[0]).center());
    EXPECT_EQ(window->currentPage().filename(), "keys.html");
    EXPECT_EQ(window->windowTitle(), "Keyboard shortcuts - Modshelf Help");
    EXPECT_EQ(window->contents()->currentItem(), keys[0]);
    window->browser()->backward();
    EXPECT_EQ(window->currentPage().filename(), "index.html");

    // Alt+F1 and Shift+F1 use the same window.
    frame->routeCommand(cmd::kHelpIndex);
    EXPECT_EQ(window->currentPage().filename(), "topics.html");
    EXPECT_EQ(window->contents()->currentItem()->text(), "Index");
    frame->routeCommand(cmd::kOfflineHelp);
    EXPECT_EQ(window->currentPage().filename(), "Modshelf.htm");
    EXPECT_EQ(frame->findChildren<HelpWindow*>().size(), 1);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(HelpWindowFromFrame, ClosedWindowComesBackOnTheNextRequest) {
    HelpCommands help(context, kBuiltProgram.string());
    ASSERT_TRUE(help.handleCommand(cmd::kHelpIndex));
    ASSERT_NE(help.window(), nullptr);
    help.window()->close();
    EXPECT_FALSE(help.window()->isVisible());
    help.handleCommand(cmd::kHelpContents);
    EXPECT_TRUE(help.window()->isVisible());
    EXPECT_EQ(help.window()->currentPage().filename(), "index.html");
    EXPECT_TRUE(prompter.shown.empty());
}

}  // namespace
}  // namespace modshelf::gui::testing
