#pragma once

#include <QFont>
#include <QFrame>
#include <QImage>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/dialogs/CodeRain.h"
#include "core/dialogs/RandomSource.h"

namespace modshelf::gui {

// Green characters raining down a black grid while text pages are decoded in
// place behind a moving cursor. The rain is kept in an image of its own and
// only its changed cells are drawn; each redraw copies it into a second image
// and puts the glints, the page and the cursor over it. The paint copies that
// image, so nothing flickers.
class CCodeRain : public QFrame, private dialogs::RainTimers {
    Q_OBJECT

public:
    // Takes its place at `geometry` in the parent and starts at once: the
    // rain falls and the first page comes after the page-start delay.
    CCodeRain(QWidget* parent, const QRect& geometry, std::uint32_t seed = 0);
    ~CCodeRain() override;

    // The animation's state and parameters; set the pages and timings here.
    dialogs::CodeRain& model() { return *model_; }

    void setCursorMode(bool on, bool block) { model_->setCursorMode(on, block); }

    // One tick of a timer, as the timer itself gives it.
    void tickTimer(int timer);
    bool timerRunning(int timer) const;

    const QImage& frameImage() const { return composite_; }
    QSize cellSize() const { return {cellWidth_, cellHeight_}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void start(int timer, int milliseconds) override;
    void stop(int timer) override;

    void redraw();
    void drawCell(QPainter& painter, int column, int row, const std::string& text,
                  const QColor& colour, bool greek) const;

    QFont font_;
    int cellWidth_ = 1;
    int cellHeight_ = 1;
    QImage rain_;
    QImage composite_;
    std::array<QTimer, dialogs::CodeRain::kTimerCount> timers_;
    dialogs::RandomSource random_;
    std::unique_ptr<dialogs::CodeRain> model_;
};

}  // namespace modshelf::gui
