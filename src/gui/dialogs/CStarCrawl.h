#pragma once

#include <QFont>
#include <QFrame>
#include <QImage>
#include <QTimer>
#include <cstdint>
#include <string>

#include "core/dialogs/CreditCrawl.h"
#include "core/dialogs/RandomSource.h"
#include "core/dialogs/StarField.h"

namespace modshelf::gui {

// A star field flying towards the viewer with yellow credit lines rolling
// away into the distance. Each frame is drawn into an image off screen; the
// paint only copies it, so nothing flickers. It runs by itself from the
// moment it has a size.
class CStarCrawl : public QFrame {
    Q_OBJECT

public:
    static constexpr int kFrameInterval = 75;  // milliseconds
    static constexpr int kDefaultStarSpeed = 15;

    explicit CStarCrawl(QWidget* parent = nullptr, std::uint32_t seed = 0);

    void addLine(const std::string& line);
    void setStarSpeed(int speed) { starSpeed_ = speed; }
    void setScrollStep(int step) { crawl_.setScrollStep(step); }

    // One frame of the animation: what the timer does every tick.
    void advanceFrame();

    const QImage& frameImage() const { return scene_; }
    int lineHeight() const;
    const dialogs::CreditCrawl& crawl() const { return crawl_; }
    bool isRunning() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawStars();
    void drawText();
    void tiltTextOntoStars();

    dialogs::RandomSource random_;
    dialogs::StarField stars_;
    dialogs::CreditCrawl crawl_;
    int starSpeed_ = kDefaultStarSpeed;
    bool placed_ = false;
    QFont font_;
    QImage scene_;  // the stars with the tilted text: what the paint copies
    QImage text_;   // the text, flat, before it is tilted
    QTimer timer_;
};

}  // namespace modshelf::gui
