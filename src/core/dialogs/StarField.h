#pragma once

#include <vector>

#include "core/dialogs/RandomSource.h"

namespace modshelf::dialogs {

// Stars flying towards the viewer. Each star has a fixed place across the
// view (x, y) and a depth z from -255 (near) to 255 (far); a star that passes
// the viewer comes back at the far end.
class StarField {
public:
    struct Star {
        int x = 0;
        int y = 0;
        int z = 0;
    };

    // Where a star lands on the screen and how bright it is (0 to 255).
    struct Point {
        int x = 0;
        int y = 0;
        int shade = 0;
    };

    static constexpr int kStarCount = 100;
    static constexpr int kNearest = -255;
    static constexpr int kFarthest = 255;

    explicit StarField(RandomSource& random, int count = kStarCount);

    // Moves every star `speed` closer, wrapping those that leave the depth range.
    void step(int speed);

    // The star on a view of the given size, in perspective around its centre.
    Point project(const Star& star, int width, int height) const;

    const std::vector<Star>& stars() const { return stars_; }
    std::vector<Star>& stars() { return stars_; }

private:
    std::vector<Star> stars_;
};

}  // namespace modshelf::dialogs
