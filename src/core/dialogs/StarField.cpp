#include "core/dialogs/StarField.h"

namespace modshelf::dialogs {

StarField::StarField(RandomSource& random, int count) {
    stars_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (Star& star : stars_) {
        star.x = random.below(1025) - 512;
        star.y = random.below(1025) - 512;
        star.z = random.below(513) - 256;
    }
}

void StarField::step(int speed) {
    for (Star& star : stars_) {
        star.z -= speed;
        if (star.z >= 256) star.z = kNearest;
        if (star.z < kNearest) star.z = kFarthest;
    }
}

StarField::Point StarField::project(const Star& star, int width, int height) const {
    // A star straight after construction may sit at -256; keep the divisor positive.
    const int depth = star.z + 256 > 0 ? star.z + 256 : 1;
    Point point;
    point.x = star.x * 100 / depth + width / 2;
    point.y = star.y * 100 / depth + height / 2;
    point.shade = ~star.z & 255;
    return point;
}

}  // namespace modshelf::dialogs
