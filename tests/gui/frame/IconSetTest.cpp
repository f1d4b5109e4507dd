#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPainter>

#include "core/app/CommandTable.h"
#include "gui/views/ViewIcons.h"

namespace modshelf::gui::testing {
namespace {

// How much of the image is drawn (not transparent).
double coverage(const QImage& image) {
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 64) ++drawn;
    return double(drawn) / (image.width() * image.height());
}

TEST(IconSet, EveryIconRendersCrisplyAtEverySize) {
    const QStringList names = QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("*.svg")});
    ASSERT_GE(names.size(), 40);
    // MODSHELF_ICON_SHEET names a PNG file to look at the whole set by eye.
    QImage sheet(names.size() * 40, 80, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.fillRect(0, 40, sheet.width(), 40, QColor(0x2b, 0x2b, 0x2b));
    int column = 0;
    for (const QString& name : names) {
        const QIcon icon(QStringLiteral(":/icons/") + name);
        for (int size : {16, 32, 48}) {
            const QImage image = icon.pixmap(size, size).toImage();
            ASSERT_EQ(image.width(), size) << name.toStdString();
            const double drawn = coverage(image);
            EXPECT_GT(drawn, 0.15) << name.toStdString() << " at " << size;
            EXPECT_LT(drawn, 0.98) << name.toStdString() << " at " << size;
        }
        icon.paint(&painter, column * 40 + 4, 4, 32, 32);
        icon.paint(&painter, column * 40 + 4, 44, 32, 32);
        ++column;
    }
    painter.end();
    if (const QByteArray path = qgetenv("MODSHELF_ICON_SHEET"); !path.isEmpty())
        sheet.save(QString::fromLocal8Bit(path));
}

TEST(IconSet, CommandsAndViewsNameIconsThatExist) {
    for (const auto& info : app::commandTable()) {
        if (info.icon.empty()) continue;
        EXPECT_TRUE(
            QFile::exists(QStringLiteral(":/icons/%1.svg").arg(QString::fromStdString(info.icon))))
            << info.icon;
    }
    for (ViewIcon icon : {ViewIcon::FixedDrive, ViewIcon::RemovableDrive, ViewIcon::OpticalDrive,
                          ViewIcon::FolderClosed, ViewIcon::FolderOpen, ViewIcon::HostFolder,
                          ViewIcon::ModuleFile, ViewIcon::OtherFile})
        EXPECT_TRUE(QFile::exists(QString::fromLatin1(viewIconResource(icon))))
            << viewIconResource(icon);
}

}  // namespace
}  // namespace modshelf::gui::testing
