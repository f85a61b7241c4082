#include "model/default_matrix.h"

#include <gtest/gtest.h>

namespace mvk {
namespace {

TEST(BuiltInDefaultMatrix, HoldsTheKnownActionsAndNothingPastPosition63) {
  const KeyMatrix& matrix = BuiltInDefaultMatrix();
  const struct {
    std::size_t position;
    uint8_t action[3];
  } rows[] = {
      {0, {0x05, 0x00, 0x00}},  {5, {0x05, 0x00, 0x00}},  {6, {0x00, 0x00, 0x00}},
      {8, {0x02, 0x02, 0x29}},  {12, {0x02, 0x01, 0x02}}, {13, {0x02, 0x01, 0x01}},
      {19, {0x02, 0x02, 0x04}}, {21, {0x02, 0x01, 0x08}}, {29, {0x02, 0x01, 0x04}},
      {37, {0x02, 0x02, 0x2C}}, {38, {0x02, 0x02, 0x46}}, {45, {0x02, 0x01, 0x40}},
      {53, {0x05, 0x02, 0x02}}, {54, {0x02, 0x02, 0x2E}}, {61, {0x02, 0x02, 0x65}},
      {62, {0x02, 0x02, 0x48}}, {63, {0x00, 0x00, 0x00}},
  };
  for (const auto& row : rows) {
    const uint8_t* action = matrix.data() + row.position * kKeyActionSize;
    EXPECT_EQ(action[0], row.action[0]) << row.position;
    EXPECT_EQ(action[1], row.action[1]) << row.position;
    EXPECT_EQ(action[2], row.action[2]) << row.position;
  }
  for (std::size_t i = 64 * kKeyActionSize; i < matrix.size(); ++i) {
    ASSERT_EQ(matrix[i], 0) << i;
  }
}

}  // namespace
}  // namespace mvk
