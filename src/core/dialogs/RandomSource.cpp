#include "core/dialogs/RandomSource.h"

namespace modshelf::dialogs {

int RandomSource::next() {
    // A linear congruential step; the upper bits are the better ones.
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

int RandomSource::below(int bound) {
    return bound > 0 ? next() % bound : 0;
}

}  // namespace modshelf::dialogs
