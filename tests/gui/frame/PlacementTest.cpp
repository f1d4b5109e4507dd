// The window opens where it was closed, whatever its stay-on-top state, and
// always on the screen.

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "FrameFixture.h"
#include "core/app/FrameSettings.h"
#include "core/settings/RegistryAccess.h"

namespace modshelf::gui::testing {
namespace {

using Placement = FrameFixture;

// Each start and close must give back the stored placement unchanged: a window
// that creeps by its frame's size at every start ends up off the screen.
TEST_F(Placement, StartAndCloseKeepThePlacementWithAndWithoutStayOnTop) {
    const std::string stored = "0:1:-1:-1:-1:-1:100:120:740:600";
    for (const std::uint32_t onTop : {0u, 1u}) {
        settings::SetRegDword(store, app::kSettingsKey, "StayOnTop", onTop);
        settings::SetRegString(store, app::kSettingsKey, "WindowPos", stored);
        for (int run = 0; run < 3; ++run) {
            state.stayOnTop = 0;
            auto frame = makeFrame();
            frame->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
            EXPECT_EQ(frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop == 1);
            EXPECT_EQ(frame->geometry(), QRect(100, 120, 640, 480)) << "on top " << onTop;
            frame->close();
            EXPECT_EQ(settings::GetRegString(store, settings::RegRoot::CurrentUser,
                                             app::kSettingsKey, "WindowPos"),
                      stored)
                << "on top " << onTop << ", run " << run;
        }
    }
}

// A placement stored at another scale (or on a larger screen) is brought
// inside the available area instead of opening partly off the screen.
TEST_F(Placement, APlacementLargerThanTheScreenIsClampedToTheAvailableArea) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        QRect rect;
    } cases[] = {
        {QRect(available.left() + 50, available.top() + 40, available.width() * 2,
               available.height() * 2)},
        {QRect(available.right() - 100, available.top() + 10, 600, 400)},
        {QRect(available.left() - 300, available.bottom() - 50, 500, 300)},
    };
    for (const auto& c : cases) {
        const std::string text = "0:1:-1:-1:-1:-1:" + std::to_string(c.rect.left()) + ":" +
                                 std::to_string(c.rect.top()) + ":" +
                                 std::to_string(c.rect.left() + c.rect.width()) + ":" +
                                 std::to_string(c.rect.top() + c.rect.height());
        settings::SetRegString(store, app::kSettingsKey, "WindowPos", text);
        auto frame = makeFrame();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        EXPECT_TRUE(available.contains(frame->frameGeometry())) << text;
        // What fits keeps its size.
        if (c.rect.width() <= available.width() && c.rect.height() <= available.height()) {
            EXPECT_EQ(frame->size(), c.rect.size()) << text;
        }
    }
}

}  // namespace
}  // namespace modshelf::gui::testing
