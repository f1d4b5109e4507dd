// The window walk of X11WindowSystem against windows made by hand.

#include <gtest/gtest.h>

#include <memory>

#include "PrivateDisplay.h"
#include "RawWindows.h"
#include "platform/linux/X11WindowSystem.h"

namespace modshelf {
namespace {

using host::WindowId;
using Ids = std::vector<WindowId>;

class WindowWalkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!std::getenv("DISPLAY")) return;
        saved_ = std::getenv("DISPLAY");
        display_ = std::make_unique<test::PrivateDisplay>();
        if (!display_->name().empty()) ::setenv("DISPLAY", display_->name().c_str(), 1);
    }
    static void TearDownTestSuite() {
        display_.reset();
        if (!saved_.empty()) ::setenv("DISPLAY", saved_.c_str(), 1);
    }
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server (DISPLAY is unset)";
        raw = std::make_unique<test::RawWindows>();
        ASSERT_TRUE(raw->connected());
    }

    static inline std::unique_ptr<test::PrivateDisplay> display_;
    static inline std::string saved_;
    std::unique_ptr<test::RawWindows> raw;
    platform::X11WindowSystem x11;
};

TEST_F(WindowWalkTest, MatchesEitherNameExactlyWhetherShownOrHidden) {
    const WindowId both = raw->create("Scrivel");
    const WindowId utf8Only = raw->create("Scrivel - Bible Study Software", {.legacyName = false});
    const WindowId legacyOnly = raw->create("Scrivel - Bible Study Software", {.utf8Name = false});
    const WindowId hidden = raw->create("Scrivel", {.mapped = false});
    raw->create("Scrivel ");
    raw->create("scrivel");
    raw->create("Scrivel - Bible");

    Ids shortTitle = x11.findTopLevelWindows("Scrivel");
    std::sort(shortTitle.begin(), shortTitle.end());
    EXPECT_EQ(shortTitle, (Ids{both, hidden}));
    Ids mainTitle = x11.findTopLevelWindows("Scrivel - Bible Study Software");
    std::sort(mainTitle.begin(), mainTitle.end());
    EXPECT_EQ(mainTitle, (Ids{utf8Only, legacyOnly}));
}

TEST_F(WindowWalkTest, NonAsciiTitlesMatchInBothEncodings) {
    const std::string title =
        "Scrivel - B\xc3\xad"
        "blia de Estudo";  // í
    const WindowId utf8Only = raw->create(title, {.legacyName = false});
    const WindowId latin1Legacy = raw->create(title, {.utf8Name = false});
    Ids found = x11.findTopLevelWindows(title);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Ids{utf8Only, latin1Legacy}));
}

TEST_F(WindowWalkTest, FindsClientsInsideFramesAndWinesUnframedPopups) {
    // A reparenting window manager puts the client inside a frame of its own.
    const WindowId frame = raw->create("", {.utf8Name = false, .legacyName = false});
    const WindowId wrapper =
        raw->create("", {.utf8Name = false, .legacyName = false, .parent = frame});
    const WindowId client = raw->create("Scrivel", {.parent = wrapper});
    // Wine makes a hidden popup (Scrivel's window with its bare name)
    // override-redirect; what lies inside such a window is not top-level.
    const WindowId popup = raw->create("Scrivel", {.overrideRedirect = true});
    const WindowId menu = raw->create("", {.overrideRedirect = true});
    raw->create("Scrivel", {.parent = menu});

    Ids found = x11.findTopLevelWindows("Scrivel");
    std::sort(found.begin(), found.end());
    Ids expected{client, popup};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
}

TEST_F(WindowWalkTest, ADestroyedWindowIsGoneAndCannotBeClosed) {
    const WindowId window = raw->create("Scrivel");
    EXPECT_TRUE(x11.windowExists(window));
    EXPECT_TRUE(x11.requestClose(window));
    raw->destroy(window);
    EXPECT_FALSE(x11.windowExists(window));
    EXPECT_FALSE(x11.requestClose(window));
    EXPECT_TRUE(x11.findTopLevelWindows("Scrivel").empty());
}

}  // namespace
}  // namespace modshelf
