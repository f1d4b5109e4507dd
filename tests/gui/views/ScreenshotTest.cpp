// Screenshots of the two panes at scale 1 and 2, in a light and a dark
// palette, kept in the build's Testing folder for a person to look at. The
// test checks that each was drawn and that the palettes make a difference.

#include <gtest/gtest.h>

#include <map>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

#include "ViewFixture.h"
#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"
#include "gui/views/ListAppearance.h"
#include "gui/views/ViewIcons.h"

using namespace modshelf;

namespace {

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(45, 45, 48));
    p.setColor(QPalette::WindowText, QColor(230, 230, 230));
    p.setColor(QPalette::Base, QColor(30, 30, 32));
    p.setColor(QPalette::AlternateBase, QColor(40, 40, 44));
    p.setColor(QPalette::Text, QColor(230, 230, 230));
    p.setColor(QPalette::Button, QColor(55, 55, 60));
    p.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    p.setColor(QPalette::Highlight, QColor(38, 110, 190));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Mid, QColor(80, 80, 86));
    return p;
}

// The window drawn at a device pixel ratio, as a screen of that scale shows it.
QImage render(QWidget& window, qreal scale) {
    QImage image(window.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    window.render(&painter);
    return image;
}

TEST(Screenshots, BothPanesAtScaleOneAndTwoInLightAndDark) {
    const QString folder = QStringLiteral(MODSHELF_BINARY_DIR "/Testing/screenshots");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QPalette light = QApplication::palette();
    std::map<QString, QImage> shots;
    for (const bool dark : {false, true}) {
        QApplication::setPalette(dark ? darkPalette() : light);
        test::ViewFixture fixture;
        fixture.createViews();
        fixture.window->resize(900, 420);
        fixture.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.window.get()));
        fixture.tree->setCurrentItem(fixture.tree->workspaceItem(0));  // check boxes shown
        QApplication::processEvents();
        for (const int scale : {1, 2}) {
            const QString name =
                QStringLiteral("modshelf-%1-x%2.png").arg(dark ? "dark" : "light").arg(scale);
            QImage image = render(*fixture.window, scale);
            EXPECT_EQ(image.width(), 900 * scale);
            EXPECT_TRUE(image.save(folder + "/" + name)) << name.toStdString();
            EXPECT_GT(QFileInfo(folder + "/" + name).size(), 1000) << name.toStdString();
            shots[name] = image;
        }
    }
    QApplication::setPalette(light);
    for (const int scale : {1, 2}) {
        const QImage a = shots[QStringLiteral("modshelf-light-x%1.png").arg(scale)];
        const QImage b = shots[QStringLiteral("modshelf-dark-x%1.png").arg(scale)];
        EXPECT_NE(a, b) << "scale " << scale;
        // The dark palette darkens the list's empty background.
        const QPoint empty(a.width() * 3 / 4, a.height() * 3 / 4);
        EXPECT_LT(b.pixelColor(empty).lightness(), 100) << "scale " << scale;
        EXPECT_GT(a.pixelColor(empty).lightness(), 200) << "scale " << scale;
    }
}

// The navy outlines of the list's and the tree's images stay visible on a
// dark background.
TEST(Screenshots, ImageOutlinesAreLightOnADarkPalette) {
    const QPalette light = QApplication::palette();
    const auto outline = [] {
        const QImage image = gui::viewIcon(gui::ViewIcon::ModuleFile).pixmap(16, 16).toImage();
        return image.pixelColor(3, 8);  // on the page's left edge
    };
    const QColor onLight = outline();
    QApplication::setPalette(darkPalette());
    const QColor onDark = outline();
    QApplication::setPalette(light);
    EXPECT_LT(onLight.lightness(), 100);
    EXPECT_GT(onDark.lightness(), 150);
    EXPECT_GT(onDark.alpha(), 100);
}

// An empty check box in the list must stand out from the list's background.
TEST(Screenshots, EmptyCheckBoxesShowOnADarkPalette) {
    QTableView view;
    view.setPalette(darkPalette());
    gui::keepCheckBoxesVisible(view);
    QImage image(20, 20, QImage::Format_ARGB32);
    const QColor base = view.palette().color(QPalette::Base);
    image.fill(base);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = QRect(2, 2, 16, 16);
    option.state = QStyle::State_Enabled | QStyle::State_Off;
    QPainter painter(&image);
    view.style()->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &option, &painter, &view);
    painter.end();
    int standingOut = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (std::abs(image.pixelColor(x, y).lightness() - base.lightness()) > 40) ++standingOut;
    EXPECT_GT(standingOut, 20);
}

}  // namespace
