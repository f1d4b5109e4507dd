#include "gui/dialogs/CStarCrawl.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <ctime>

namespace modshelf::gui {

namespace {

std::uint32_t seedFromClock(std::uint32_t seed) {
    return seed != 0 ? seed : static_cast<std::uint32_t>(std::time(nullptr));
}

}  // namespace

CStarCrawl::CStarCrawl(QWidget* parent, std::uint32_t seed)
    : QFrame(parent), random_(seedFromClock(seed)), stars_(random_) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
    font_ = QFont(QStringLiteral("Tahoma"));
    font_.setStyleHint(QFont::SansSerif);
    font_.setPixelSize(20);  // a text cell about 24 pixels high
    font_.setBold(true);
    timer_.setInterval(kFrameInterval);
    connect(&timer_, &QTimer::timeout, this, &CStarCrawl::advanceFrame);
}

void CStarCrawl::addLine(const std::string& line) {
    crawl_.addLine(line);
}

void CStarCrawl::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const QSize size = contentsRect().size();
    if (size.isEmpty()) return;
    scene_ = QImage(size, QImage::Format_RGB32);
    scene_.fill(Qt::black);
    text_ = QImage(size, QImage::Format_RGB32);
    if (!placed_) {
        // The first time the panel has a size, the crawl starts from its bottom.
        placed_ = true;
        crawl_.setScrollPosition(size.height());
        advanceFrame();
        timer_.start();
    }
}

void CStarCrawl::advanceFrame() {
    if (scene_.isNull()) return;
    drawStars();
    drawText();
    tiltTextOntoStars();
    update();
}

void CStarCrawl::drawStars() {
    scene_.fill(Qt::black);
    stars_.step(starSpeed_);
    QPainter painter(&scene_);
    for (const auto& star : stars_.stars()) {
        const auto point = stars_.project(star, scene_.width(), scene_.height());
        const QColor shade(point.shade, point.shade, point.shade);
        painter.setPen(shade);
        painter.setBrush(shade);
        painter.drawEllipse(QRect(point.x, point.y, 3, 3));
    }
}

int CStarCrawl::lineHeight() const {
    return QFontMetrics(font_).height();
}

void CStarCrawl::drawText() {
    text_.fill(Qt::black);
    QPainter painter(&text_);
    painter.setFont(font_);
    const int lineHeight = this->lineHeight();
    const auto& lines = crawl_.lines();
    for (const auto& line : crawl_.frame(text_.height(), lineHeight)) {
        const auto& colour = line.colour;
        painter.setPen(QColor(colour.red, colour.green, colour.blue));
        painter.drawText(QRect(0, line.y, text_.width(), lineHeight),
                         Qt::AlignHCenter | Qt::AlignTop,
                         QString::fromStdString(lines[line.index]));
    }
}

void CStarCrawl::tiltTextOntoStars() {
    QPainter painter(&scene_);
    // OR-ing keeps the stars visible through the black around the letters.
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    const int width = text_.width();
    for (const auto& row : dialogs::perspectiveRows(width, text_.height())) {
        if (row.width <= 0) continue;
        painter.drawImage(QRect(row.x, row.y, row.width, 1), text_,
                          QRect(0, row.sourceRow, width, 1));
    }
}

void CStarCrawl::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    if (scene_.isNull())
        painter.fillRect(contentsRect(), Qt::black);
    else
        painter.drawImage(contentsRect().topLeft(), scene_);
}

}  // namespace modshelf::gui
