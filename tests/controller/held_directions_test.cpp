// The directions that a pad's stick and hat hold, from the raw values.
#include <gtest/gtest.h>

#include "shared/entry_rules.h"
#include "shared/settings_tree.h"

namespace quillon {
namespace {

TEST(HeldDirectionsTest, AxesPastHalfTheirTravelAndTheHatsEighthsOfATurn) {
  constexpr uint32_t kCentred = 0xFFFFFFFF;
  struct {
    const char* label;
    int32_t x, y, min, max;
    uint32_t hat;
    uint32_t held;
  } cases[] = {
      {"centre", 0, 0, -1000, 1000, kCentred, 0},
      {"half way is not past it", 500, -500, -1000, 1000, kCentred, 0},
      {"past half way", 501, -501, -1000, 1000, kCentred, StickRight | StickUp},
      {"the ends, down and left", -1000, 1000, -1000, 1000, kCentred, StickDown | StickLeft},
      {"a range above 0", 65535, 32767, 0, 65535, kCentred, StickRight},
      {"the default range's low end", 0, 0, 0, 65535, kCentred, StickLeft | StickUp},
      {"the whole 32 bits", INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, kCentred, StickRight | StickUp},
      {"min == max: no stick", 0, 0, 0, 0, kCentred, 0},
      {"min > max: no stick", 0, 0, 10, -10, kCentred, 0},
      {"hat up", 0, 0, -1, 1, 0, HatUp},
      {"hat up-right", 0, 0, -1, 1, 4500, HatUp | HatRight},
      {"hat just short of up-right", 0, 0, -1, 1, 4400, HatUp},
      {"hat down-right", 0, 0, -1, 1, 13500, HatRight | HatDown},
      {"hat down-left", 0, 0, -1, 1, 22500, HatDown | HatLeft},
      {"hat up-left", 0, 0, -1, 1, 31500, HatLeft | HatUp},
      {"hat left", 0, 0, -1, 1, 27000, HatLeft},
      {"hat centred", 0, 0, -1, 1, kCentred, 0},
      {"hat centred by its low word", 0, 0, -1, 1, 0xFFFF, 0},
      {"stick and hat together", 1, 0, -1, 1, 18000, StickRight | HatDown},
  };
  for (const auto& c : cases) EXPECT_EQ(HeldDirections(c.x, c.y, c.min, c.max, c.hat), c.held) << c.label;
}

}  // namespace
}  // namespace quillon
