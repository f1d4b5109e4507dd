#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "MotifHints.h"
#include "core/dialogs/MessageBoxModel.h"
#include "core/dialogs/MessageBoxParams.h"
#include "gui/dialogs/XMessageBox.h"

namespace {

using namespace modshelf;
using namespace modshelf::dialogs;
using modshelf::test::MotifHints;
using modshelf::test::offersClose;
using modshelf::test::readMotifHints;

TEST(MessageBoxWindowHints, OnlyABoxWithAnEscapeAnswerOffersClose) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    struct Case {
        std::uint32_t style;
        bool close;
    };
    const std::array<Case, 5> cases = {{
        {mb::kYesNo, false},
        {mb::kYesNo | mb::kIconQuestion, false},
        {mb::kYesNoCancel, true},
        {mb::kOkCancel, true},
        {mb::kOk, true},
    }};
    for (const Case& c : cases) {
        MessageBoxParams params = standardParams(true);
        gui::XMessageBox box(MessageBoxModel("Text", std::string(" Caption"), c.style, &params));
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        QApplication::processEvents();
        const std::optional<MotifHints> hints = readMotifHints(box.winId());
        ASSERT_TRUE(hints) << c.style;
        EXPECT_EQ(offersClose(*hints), c.close) << "style " << c.style << " flags " << hints->flags
                                                << " functions " << hints->functions;
        box.hide();
    }
}

}  // namespace
