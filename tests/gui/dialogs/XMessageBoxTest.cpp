#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "BoxWatcher.h"
#include "core/dialogs/MessageBoxModel.h"
#include "core/settings/MemorySettingsStore.h"
#include "gui/dialogs/XMessageBox.h"

using namespace modshelf::dialogs;
using modshelf::gui::XMessageBox;
using modshelf::gui::testing::BoxWatcher;

namespace {

class XMessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override { XMessageBox::setAnswerStore(nullptr); }

    // A box on screen, not yet answered.
    std::unique_ptr<XMessageBox> open(const std::string& text, std::optional<std::string> caption,
                                      std::uint32_t style, const MessageBoxParams* params) {
        auto box = std::make_unique<XMessageBox>(MessageBoxModel(text, caption, style, params));
        box->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(box.get()));
        return box;
    }
};

QColor pixelAt(QWidget& widget, int x, int y) {
    return widget.grab().toImage().pixelColor(x, y);
}

}  // namespace

TEST_F(XMessageBoxTest, CountdownShowsThreeTwoOneAndPressesOkMarked) {
    MessageBoxParams params = standardParams(true, 3);
    auto box = open("Scrivel was started.", std::string(" Scrivel Started"), mb::kOk, &params);
    QPushButton* ok = box->defaultPushButton();
    EXPECT_EQ(ok->text(), "OK");  // the first second shows the plain caption
    box->countdownTick();
    EXPECT_EQ(ok->text(), "OK = 3");
    box->countdownTick();
    EXPECT_EQ(ok->text(), "OK = 2");
    box->countdownTick();
    EXPECT_EQ(ok->text(), "OK = 1");
    EXPECT_FALSE(box->answer());
    box->countdownTick();
    ASSERT_TRUE(box->answer());
    EXPECT_EQ(static_cast<std::uint32_t>(*box->answer()), 0x80000001u);
    EXPECT_FALSE(box->isVisible());
}

TEST_F(XMessageBoxTest, CountdownRunsOnItsOwnTimerThroughShow) {
    std::vector<QString> seen;
    QTimer sampler;
    BoxWatcher watcher([&](XMessageBox& box) {
        box.setSecondLength(60);
        QPushButton* ok = box.defaultPushButton();
        QObject::connect(&sampler, &QTimer::timeout, &box, [&seen, ok] {
            if (seen.empty() || seen.back() != ok->text()) seen.push_back(ok->text());
        });
        sampler.start(5);
    });
    MessageBoxParams params = standardParams(true, 3);
    QElapsedTimer clock;
    clock.start();
    const int result = XMessageBox::show(nullptr, "Done.", std::string(" Done"), mb::kOk, &params);
    sampler.stop();
    EXPECT_EQ(static_cast<std::uint32_t>(result), 0x80000001u);
    EXPECT_EQ(seen, (std::vector<QString>{"OK", "OK = 3", "OK = 2", "OK = 1"}));
    EXPECT_GE(clock.elapsed(), 4 * 60 - 20);  // four ticks: three shown, one to press
}

TEST_F(XMessageBoxTest, AClickStopsTheCountdownAndRestoresTheCaption) {
    MessageBoxParams params = standardParams(true, 5);
    auto box = open("Text", std::string(" Caption"), mb::kOkCancel, &params);
    box->countdownTick();
    box->countdownTick();
    EXPECT_EQ(box->defaultPushButton()->text(), "OK = 4");
    QTest::mouseClick(box->messageLabel(), Qt::LeftButton);
    EXPECT_FALSE(box->countdownRunning());
    EXPECT_EQ(box->defaultPushButton()->text(), "OK");
    // The timer no longer presses anything.
    for (int i = 0; i < 8; ++i) box->countdownTick();
    EXPECT_FALSE(box->answer());
    EXPECT_TRUE(box->isVisible());

    // A click on the box itself does the same.
    auto other = open("Text", std::string(" Caption"), mb::kOk, &params);
    other->countdownTick();
    QTest::mouseClick(other.get(), Qt::LeftButton, {}, QPoint(2, other->height() - 2));
    EXPECT_EQ(other->defaultPushButton()->text(), "OK");
    EXPECT_FALSE(other->countdownRunning());
}

TEST_F(XMessageBoxTest, EscapeAndCloseFollowTheSet) {
    MessageBoxParams params = standardParams(true);
    auto yesNo = open("Really?", std::string(" Question"), mb::kYesNo, &params);
    EXPECT_FALSE(yesNo->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QTest::keyClick(yesNo->defaultPushButton(), Qt::Key_Escape);
    yesNo->close();
    EXPECT_FALSE(yesNo->answer());
    EXPECT_TRUE(yesNo->isVisible());

    struct Case {
        std::uint32_t style;
        int escape;
    };
    for (Case c : {Case{mb::kOkCancel, id::kCancel}, Case{mb::kOk, id::kOk},
                   Case{mb::kYesNoCancel | mb::kIconQuestion, id::kCancel}}) {
        auto box = open("Text", std::string(" Caption"), c.style, &params);
        EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QTest::keyClick(box->defaultPushButton(), Qt::Key_Escape);
        EXPECT_EQ(box->answer(), c.escape) << c.style;
        EXPECT_FALSE(box->isVisible());
    }
    // Close answers as Escape does.
    auto okCancel = open("Text", std::string(" Caption"), mb::kOkCancel, &params);
    okCancel->close();
    EXPECT_EQ(okCancel->answer(), id::kCancel);
}

TEST_F(XMessageBoxTest, CtrlCCopiesTheBoxAsSevenLines) {
    MessageBoxParams params = standardParams(true);
    auto box =
        open("No file is currently selected.", std::string(" No File Selected"), mb::kOk, &params);
    QApplication::clipboard()->clear();
    QTest::keyClick(box->defaultPushButton(), Qt::Key_C, Qt::ControlModifier);
    const QString sep = "---------------------------\r\n";
    EXPECT_EQ(QApplication::clipboard()->text(), sep + " No File Selected\r\n" + sep +
                                                     "No file is currently selected.\r\n" + sep +
                                                     "OK   \r\n" + sep);
    EXPECT_FALSE(box->answer());  // copying leaves the box standing

    auto yesNo = open("Q", std::string("C"), mb::kYesNoCancel, &params);
    QTest::keyClick(yesNo.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().contains("\r\nYes   No   Cancel   \r\n"));
}

TEST_F(XMessageBoxTest, ButtonsRightAlignedOrCentred) {
    MessageBoxParams right = standardParams(true);
    auto r = open("A message of some length to give the box width.", std::string(" R"),
                  mb::kOkCancel, &right);
    EXPECT_EQ(r->pushButtons().back()->geometry().right() + 1, r->width() - 16);

    MessageBoxParams centred = standardParams(false);
    auto c = open("A message of some length to give the box width.", std::string(" C"),
                  mb::kYesNoCancel | mb::kIconQuestion, &centred);
    const int left = c->pushButtons().front()->geometry().left();
    const int rightGap = c->width() - (c->pushButtons().back()->geometry().right() + 1);
    EXPECT_LE(std::abs(left - rightGap), 1);
    EXPECT_GT(left, 16);
    // The geometry is the layout's.
    EXPECT_EQ(c->width(), c->boxLayout().box.width);
    EXPECT_EQ(c->height(), c->boxLayout().box.height);
}

TEST_F(XMessageBoxTest, BandAndTextTakeTheGivenColours) {
    MessageBoxParams params = standardParams(true);
    params.backgroundColour = 0x0000FF00;  // green, 0x00BBGGRR
    params.textColour = 0x000000FF;        // red
    auto box = open("Coloured", std::string(" Colours"), mb::kOk, &params);
    EXPECT_EQ(box->bandColour(), QColor(0, 255, 0));
    EXPECT_EQ(box->messageTextColour(), QColor(255, 0, 0));
    const auto& band = box->boxLayout().band;
    EXPECT_EQ(pixelAt(*box, 2, 2), QColor(0, 255, 0));
    EXPECT_EQ(pixelAt(*box, box->width() - 2, band.bottom - 2), QColor(0, 255, 0));
    // Below the band the box keeps the button-face colour.
    EXPECT_EQ(pixelAt(*box, 2, box->height() - 2), QApplication::palette().color(QPalette::Button));

    MessageBoxParams standard = standardParams(true);
    auto blue = open("Standard", std::string(" S"), mb::kOk, &standard);
    EXPECT_EQ(blue->messageTextColour(), QColor(0, 0, 255));
    EXPECT_EQ(pixelAt(*blue, 2, 2), QColor(255, 255, 255));
}

TEST_F(XMessageBoxTest, IconHundredIsTheProgramsOwn) {
    MessageBoxParams params = standardParams(true);
    auto box = open("With icon", std::string(" I"), mb::kOk, &params);
    ASSERT_NE(box->iconLabel(), nullptr);
    EXPECT_FALSE(box->iconLabel()->pixmap().isNull());
    ASSERT_TRUE(box->boxLayout().icon);
    EXPECT_GT(box->messageLabel()->geometry().left(), box->iconLabel()->geometry().right());

    MessageBoxParams noIcon;
    EXPECT_EQ(open("Plain", std::string(" P"), mb::kOk, &noIcon)->iconLabel(), nullptr);
    MessageBoxParams missing;
    missing.iconId = 55;  // no such icon: the box goes without
    EXPECT_EQ(open("Plain", std::string(" P"), mb::kIconStop, &missing)->iconLabel(), nullptr);
    EXPECT_NE(open("Plain", std::string(" P"), mb::kIconStop, nullptr)->iconLabel(), nullptr);
}

TEST_F(XMessageBoxTest, DefaultButtonTakesEnterAndNullCaptionReadsError) {
    MessageBoxParams params = standardParams(false);
    auto box = open("Save?", std::nullopt, mb::kYesNoCancel | mb::kDefButton2, &params);
    EXPECT_EQ(box->windowTitle(), "Error");
    EXPECT_EQ(box->defaultPushButton()->text(), "&No");
    EXPECT_TRUE(box->defaultPushButton()->isDefault());
    QTest::keyClick(box->defaultPushButton(), Qt::Key_Return);
    EXPECT_EQ(box->answer(), id::kNo);
}

TEST_F(XMessageBoxTest, DisabledSecondsHoldTheButtonsAndShowInTheTitle) {
    MessageBoxParams params = standardParams(true);
    params.disabledSeconds = 2;
    auto box = open("Wait", std::string(" Wait"), mb::kOkCancel, &params);
    EXPECT_EQ(box->windowTitle(), " Wait 2");
    EXPECT_FALSE(box->defaultPushButton()->isEnabled());
    QTest::keyClick(box.get(), Qt::Key_Escape);
    EXPECT_FALSE(box->answer());
    box->disabledTick();
    EXPECT_EQ(box->windowTitle(), " Wait 1");
    box->disabledTick();
    EXPECT_EQ(box->windowTitle(), " Wait");
    EXPECT_TRUE(box->defaultPushButton()->isEnabled());
    QTest::mouseClick(box->buttonById(id::kCancel), Qt::LeftButton);
    EXPECT_EQ(box->answer(), id::kCancel);
}

TEST_F(XMessageBoxTest, TickedCheckBoxIsRememberedAndAnswersTheNextCall) {
    modshelf::settings::MemorySettingsStore store;
    XMessageBox::setAnswerStore(&store);
    BoxWatcher watcher([&](XMessageBox& box) {
        ASSERT_NE(box.checkBox(), nullptr);
        box.checkBox()->setChecked(true);
        QTest::mouseClick(box.buttonById(id::kYes), Qt::LeftButton);
    });
    MessageBoxParams params = standardParams(true);
    params.sourceName = "Export.cpp";
    params.sourceLine = 12;
    const std::uint32_t style = mb::kYesNo | mb::kDontAskAgain;
    const int first = XMessageBox::show(nullptr, "Overwrite?", std::string(" Q"), style, &params);
    EXPECT_EQ(static_cast<std::uint32_t>(first), id::kYes | mb::kDontAskAgain);
    const int second = XMessageBox::show(nullptr, "Overwrite?", std::string(" Q"), style, &params);
    EXPECT_EQ(second, first);
    EXPECT_EQ(watcher.seen(), 1);
}

TEST_F(XMessageBoxTest, HelpLeavesTheQuestionStandingAndReportCallsBack) {
    std::vector<std::uint32_t> helpAsked;
    XMessageBox::setHelpHandler([&](std::uint32_t helpId) { helpAsked.push_back(helpId); });
    std::string reported;
    MessageBoxParams params = standardParams(true);
    params.helpId = 42;
    params.reportData = 7;
    params.reportCallback = [&](const std::string& text, std::uint32_t data) {
        reported = text + "/" + std::to_string(data);
    };
    auto box =
        open("Something failed.", std::string(" Failure"), mb::kOkCancel | mb::kHelp, &params);
    QTest::mouseClick(box->buttonById(id::kHelp), Qt::LeftButton);
    EXPECT_EQ(helpAsked, std::vector<std::uint32_t>{42});
    EXPECT_FALSE(box->answer());
    QTest::mouseClick(box->buttonById(id::kReport), Qt::LeftButton);
    EXPECT_EQ(reported, "Something failed./7");
    EXPECT_EQ(box->answer(), id::kReport);
    XMessageBox::setHelpHandler(nullptr);
}
