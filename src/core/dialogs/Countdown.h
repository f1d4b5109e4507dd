#pragma once

#include <optional>
#include <string>

namespace modshelf::dialogs {

// The countdown that presses the default button by itself. The view ticks it
// once a second and shows what each tick returns.
class Countdown {
public:
    // seconds <= 0: no countdown.
    explicit Countdown(int seconds)
        : remaining_(seconds > 0 ? seconds : 0), running_(seconds > 0) {}

    struct Step {
        bool press = false;   // the count has run out: press the default button
        std::string caption;  // otherwise the default button's new caption
    };

    // One tick. `currentCaption` is the default button's caption now; the
    // first tick keeps it as the caption to count from and to restore.
    Step tick(const std::string& currentCaption);

    // Stops the count. Returns the caption to restore when a tick has already
    // changed it.
    std::optional<std::string> stop();

    bool running() const { return running_; }
    int remaining() const { return remaining_; }

private:
    int remaining_;
    bool running_;
    std::optional<std::string> original_;
};

// The period in which every button stays disabled, shown in the window title.
class DisabledPeriod {
public:
    DisabledPeriod(int seconds, std::string caption)
        : remaining_(seconds > 0 ? seconds : 0), caption_(std::move(caption)) {}

    bool active() const { return remaining_ > 0; }
    // While active: the caption, a space and the seconds left; then the caption.
    std::string title() const;
    // One second has passed. Returns true at the tick that ends the period.
    bool tick();

private:
    int remaining_;
    std::string caption_;
};

}  // namespace modshelf::dialogs
