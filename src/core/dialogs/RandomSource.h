#pragma once

#include <cstdint>

namespace modshelf::dialogs {

// The pseudo-random numbers of the about box's animations. Its own generator
// rather than rand(), so that a seed gives the same sequence everywhere and
// tests can replay an animation exactly.
class RandomSource {
public:
    static constexpr int kMax = 32767;

    explicit RandomSource(std::uint32_t seed = 1) : state_(seed) {}

    void seed(std::uint32_t seed) { state_ = seed; }

    // A number from 0 to kMax.
    int next();

    // A number from 0 to bound - 1; 0 when bound is 0 or less.
    int below(int bound);

private:
    std::uint32_t state_;
};

}  // namespace modshelf::dialogs
