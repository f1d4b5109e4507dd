#include "core/dialogs/Countdown.h"

namespace modshelf::dialogs {

Countdown::Step Countdown::tick(const std::string& currentCaption) {
    Step step;
    if (!running_) return step;
    if (!original_) original_ = currentCaption;
    if (remaining_ > 0) {
        step.caption = *original_ + " = " + std::to_string(remaining_);
        --remaining_;
        return step;
    }
    running_ = false;
    step.press = true;
    return step;
}

std::optional<std::string> Countdown::stop() {
    running_ = false;
    return original_;
}

std::string DisabledPeriod::title() const {
    if (!active()) return caption_;
    return caption_ + " " + std::to_string(remaining_);
}

bool DisabledPeriod::tick() {
    if (!active()) return false;
    --remaining_;
    return remaining_ == 0;
}

}  // namespace modshelf::dialogs
