// "About Modshelf" and "The Modshelf License" from the command, with the real boxes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/app/InstanceMarker.h"
#include "core/dialogs/CodeRain.h"
#include "core/dialogs/LicenseText.h"
#include "core/settings/MemorySettingsStore.h"
#include "gui/ApplicationCommands.h"
#include "gui/CModshelfApp.h"
#include "gui/GuiContext.h"
#include "gui/dialogs/AboutCommands.h"
#include "gui/dialogs/CAboutBox.h"
#include "gui/dialogs/CCodeRain.h"
#include "gui/dialogs/CLicenseBox.h"
#include "gui/dialogs/CStarCrawl.h"
#include "support/ScriptedPrompter.h"

namespace modshelf::gui {
namespace {

namespace cmd = app::cmd;

class AboutCommandsTest : public ::testing::Test {
protected:
    // Runs `check` on the modal box of type Box once it is up; the command
    // returns when the check has closed the box.
    template <typename Box>
    void whenShown(std::function<void(Box&)> check) {
        QTimer::singleShot(0, [check] {
            auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
            if (!box) {
                ADD_FAILURE() << "the box is not shown";
                if (auto* other = QApplication::activeModalWidget()) other->close();
                return;
            }
            check(*box);
            if (box->isVisible()) box->reject();
        });
    }

    settings::MemorySettingsStore store;
    test::ScriptedPrompter prompter;
    app::AppState state;
    GuiContext context{store, prompter, state};
    QWidget mainWindow;
    AboutCommands commands{context, [this] { return &mainWindow; }};
};

TEST_F(AboutCommandsTest, BothCommandsAreEnabledAndNoOthers) {
    for (int id : {cmd::kAbout, cmd::kLicense}) {
        CommandState commandState;
        commandState.enabled = false;
        EXPECT_TRUE(commands.updateCommand(id, commandState)) << id;
        EXPECT_TRUE(commandState.enabled) << id;
    }
    CommandState other;
    EXPECT_FALSE(commands.updateCommand(cmd::kFileProperties, other));
    EXPECT_FALSE(commands.handleCommand(cmd::kFileProperties));
}

TEST_F(AboutCommandsTest, AboutBoxRunsBothPanelsAndEscapeLeavesItOpen) {
    bool checked = false;
    whenShown<CAboutBox>([&](CAboutBox& box) {
        checked = true;
        EXPECT_EQ(box.windowTitle(), " About . . .");
        EXPECT_EQ(box.parentWidget(), &mainWindow);
        EXPECT_TRUE(box.starCrawl()->isRunning());
        EXPECT_EQ(box.starCrawl()->crawl().lines().at(10), "Quorvel Modshelf V.3.37");
        CCodeRain& rain = *box.codeRain();
        EXPECT_TRUE(rain.timerRunning(dialogs::CodeRain::kRainTimer));
        EXPECT_TRUE(rain.timerRunning(dialogs::CodeRain::kPageTimer));
        EXPECT_EQ(rain.model().maxScrambleCycles, 120);
        // The panels sit side by side, the crawl on the left.
        EXPECT_LT(box.starCrawl()->geometry().right(), rain.geometry().left());

        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &box,
                        Qt::Key_Escape);
        QTest::keyClick(&box, Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_TRUE(box.isVisible());

        QTest::mouseClick(box.findChild<QPushButton*>("ok"), Qt::LeftButton);
        EXPECT_FALSE(box.isVisible());
        EXPECT_EQ(box.result(), QDialog::Accepted);
    });
    EXPECT_TRUE(commands.handleCommand(cmd::kAbout));
    EXPECT_TRUE(checked);
}

TEST_F(AboutCommandsTest, LicenseCanBeReadAndCopiedButNotChanged) {
    bool checked = false;
    whenShown<CLicenseBox>([&](CLicenseBox& box) {
        checked = true;
        EXPECT_EQ(box.windowTitle(), " License");
        QPlainTextEdit* edit = box.textEdit();
        const auto paragraphs = dialogs::licenseParagraphs(state.programVersion);
        const QString first = QString::fromStdString(paragraphs.front());
        const QString shown = edit->toPlainText();
        EXPECT_TRUE(shown.startsWith(first + "\n\n"));
        EXPECT_TRUE(shown.endsWith("\n\n" + first));
        EXPECT_EQ(box.text(), dialogs::licenseText(paragraphs));

        QTest::keyClicks(edit, "typed");
        QTest::keyClick(edit, Qt::Key_Delete);
        EXPECT_EQ(edit->toPlainText(), shown);

        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), shown);

        // Longer than the box: it scrolls.
        EXPECT_GT(edit->verticalScrollBar()->maximum(), 0);

        QTest::mouseClick(box.findChild<QPushButton*>("ok"), Qt::LeftButton);
        EXPECT_FALSE(box.isVisible());
    });
    EXPECT_TRUE(commands.handleCommand(cmd::kLicense));
    EXPECT_TRUE(checked);
}

class UnusedMarker : public app::InstanceMarker {
public:
    Result create() override { return Result::Created; }
    void close() override {}
    bool isOpen() const override { return false; }
};

TEST_F(AboutCommandsTest, TheApplicationAnswersBothCommandsFromTheHelpMenu) {
    UnusedMarker marker;
    CModshelfApp application(context, marker, "", FrameViews{});
    installApplicationCommands(application, context);
    for (int id : {cmd::kAbout, cmd::kLicense}) {
        CommandState commandState;
        commandState.enabled = false;
        EXPECT_TRUE(application.updateCommand(id, commandState)) << id;
        EXPECT_TRUE(commandState.enabled) << id;
    }
    bool shown = false;
    whenShown<CLicenseBox>([&](CLicenseBox&) { shown = true; });
    EXPECT_TRUE(application.handleCommand(cmd::kLicense));
    EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace modshelf::gui
