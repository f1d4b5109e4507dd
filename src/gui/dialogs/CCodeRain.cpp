#include "gui/dialogs/CCodeRain.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <ctime>

namespace modshelf::gui {

namespace {

// The rain's characters come from a Greek character set, the page text's from
// a Western one. Codes without a printable character there get Greek letters
// too, so that no cell of the rain stays blank by accident.
QChar glyph(unsigned char code, bool greek) {
    if (code < 0x7F) return QChar(code);
    if (code <= 0xA0) return QChar(0x03B1 + (code - 0x7F) % 25);
    if (greek && code >= 0xC1 && code <= 0xFE && code != 0xD2) return QChar(0x0391 + (code - 0xC1));
    return QChar(code);
}

QString glyphs(const std::string& text, bool greek) {
    QString result;
    result.reserve(static_cast<int>(text.size()));
    for (char c : text) result += glyph(static_cast<unsigned char>(c), greek);
    return result;
}

QColor qcolour(const dialogs::CodeRain::Colour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

QFont courier() {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(12);  // a text cell about 14 pixels high
    font.setBold(true);
    return font;
}

}  // namespace

CCodeRain::CCodeRain(QWidget* parent, const QRect& geometry, std::uint32_t seed)
    : QFrame(parent),
      font_(courier()),
      random_(seed != 0 ? seed : static_cast<std::uint32_t>(std::time(nullptr)) ^ 0x5EEDu) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(geometry);

    const QFontMetrics metrics(font_);
    cellHeight_ = std::max(1, metrics.height());
    cellWidth_ = std::max(1, metrics.averageCharWidth() + 2);
    const QSize size = contentsRect().size().expandedTo(QSize(1, 1));
    rain_ = QImage(size, QImage::Format_RGB32);
    rain_.fill(Qt::black);
    composite_ = rain_.copy();

    for (std::size_t i = 0; i < timers_.size(); ++i)
        connect(&timers_[i], &QTimer::timeout, this, [this, i] { tickTimer(static_cast<int>(i)); });

    dialogs::CodeRain::Geometry grid;
    grid.width = size.width();
    grid.height = size.height();
    grid.cellWidth = cellWidth_;
    grid.cellHeight = cellHeight_;
    grid.textWidth = [this](const std::string& text) {
        return QFontMetrics(font_).horizontalAdvance(glyphs(text, false));
    };
    dialogs::RainTimers& timers = *this;
    model_ = std::make_unique<dialogs::CodeRain>(grid, timers, random_);
    update();
}

CCodeRain::~CCodeRain() {
    for (QTimer& timer : timers_) timer.stop();
}

void CCodeRain::start(int timer, int milliseconds) {
    timers_[static_cast<std::size_t>(timer)].start(milliseconds);
}

void CCodeRain::stop(int timer) {
    timers_[static_cast<std::size_t>(timer)].stop();
}

bool CCodeRain::timerRunning(int timer) const {
    return timers_[static_cast<std::size_t>(timer)].isActive();
}

void CCodeRain::tickTimer(int timer) {
    if (model_->tick(timer)) redraw();
}

void CCodeRain::redraw() {
    {
        QPainter painter(&rain_);
        painter.setFont(font_);
        for (const auto& place : model_->takeChangedCells()) {
            const auto& cell = model_->cell(place.column, place.row);
            drawCell(painter, place.column, place.row, std::string(1, cell.code),
                     qcolour(cell.colour), true);
        }
    }
    QPainter painter(&composite_);
    painter.drawImage(0, 0, rain_);
    painter.setFont(font_);
    for (const auto& item : model_->overlay())
        drawCell(painter, item.column, item.row, item.text, qcolour(item.colour), false);
    painter.end();
    update(contentsRect());
}

void CCodeRain::drawCell(QPainter& painter, int column, int row, const std::string& text,
                         const QColor& colour, bool greek) const {
    if (text.empty()) return;
    const QString shown = glyphs(text, greek);
    const int x = column * cellWidth_;
    const int y = row * cellHeight_;
    const int width = text.size() > 1 ? painter.fontMetrics().horizontalAdvance(shown) : cellWidth_;
    const QRect cell(x, y, width, cellHeight_);
    if (text == std::string(1, dialogs::CodeRain::kBlock)) {
        painter.fillRect(cell, colour);
        return;
    }
    painter.fillRect(cell, Qt::black);
    if (text == " ") return;
    painter.setPen(colour);
    painter.drawText(cell, (text.size() > 1 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop,
                     shown);
}

void CCodeRain::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), composite_);
}

}  // namespace modshelf::gui
