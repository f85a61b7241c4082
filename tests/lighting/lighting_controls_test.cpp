#include "ui/main/lighting_controls.h"

#include <gtest/gtest.h>

namespace mvk {
namespace {

struct ShownCase {
  int effect;
  LightingControlsShown shown;
};

TEST(LightingControls, EachEffectShowsItsGroups) {
  // effect list, speed, direction, group A, group B, options, user modes
  const ShownCase cases[] = {
      {1, {true, true, true, false, true, false, false}},
      {4, {true, true, false, false, false, false, false}},
      {6, {true, false, false, true, false, false, false}},
      {12, {true, true, true, false, false, false, false}},
      {16, {true, false, false, true, false, false, false}},
      {17, {true, false, false, false, false, true, false}},
      {18, {true, false, true, false, false, false, false}},
      {19, {false, false, false, false, false, false, false}},
      {20, {true, false, false, false, false, false, true}},
  };
  for (const auto& c : cases) EXPECT_EQ(ControlsShownFor(c.effect), c.shown) << c.effect;
}

TEST(LightingControls, DirectionControlsOfTheEffect) {
  EXPECT_EQ(DirectionGeometrySuffix(3), u"2");
  EXPECT_EQ(DirectionGeometrySuffix(12), u"3");
  EXPECT_EQ(DirectionGeometrySuffix(18), u"");
  EXPECT_EQ(DirectionPicturesFor(12), DirectionPictures::kVertical);
  EXPECT_EQ(DirectionPicturesFor(18), DirectionPictures::kCircle);
  EXPECT_EQ(DirectionPicturesFor(1), DirectionPictures::kStandard);
}

TEST(LightingControls, KeyLedsLeaveOutIndexesWithoutAKey) {
  const auto leds = KeyLedIndexes();
  const auto has = [&](int led) { return std::find(leds.begin(), leds.end(), led) != leds.end(); };
  for (int led : {0, 34, 85, 110, 112, 124, 125}) EXPECT_TRUE(has(led)) << led;
  for (int led : {13, 17, 75, 96, 114, 122}) EXPECT_FALSE(has(led)) << led;
}

}  // namespace
}  // namespace mvk
