#include "ui/Align.h"
#include "GeometryPrint.h"

#include <gtest/gtest.h>

using namespace morvi::ui;

// The editor's button row: three buttons on the left, a check box and two buttons packed
// against the right edge, listed in their designed order.
TEST(Align, LeftAndRightItemsPackAgainstTheirEdges) {
  const std::vector<AlignItem> row = {
      {Align::Left, {1, 1, 150, 28}},    {Align::Left, {151, 1, 150, 28}},
      {Align::Left, {301, 1, 150, 28}},  {Align::Right, {424, 1, 97, 28}},
      {Align::Right, {521, 1, 150, 28}}, {Align::Right, {671, 1, 150, 28}},
  };
  const std::vector<Box> designed = Arrange({1, 1, 820, 28}, row);
  for (std::size_t i = 0; i < row.size(); ++i) {
    EXPECT_EQ(designed[i], row[i].designed) << "item " << i;
  }
  const std::vector<Box> wide = Arrange({1, 1, 1020, 28}, row);
  EXPECT_EQ(wide[0], (Box{1, 1, 150, 28}));
  EXPECT_EQ(wide[2], (Box{301, 1, 150, 28}));
  EXPECT_EQ(wide[3], (Box{624, 1, 97, 28}));
  EXPECT_EQ(wide[5], (Box{871, 1, 150, 28}));
}

TEST(Align, TopItemsStackInDesignedOrderAndClientFillsTheRest) {
  // Listed out of order on purpose: the designed tops decide.
  const std::vector<AlignItem> column = {
      {Align::Top, {1, 22, 820, 21}},
      {Align::Top, {1, 1, 820, 21}},
      {Align::Client, {1, 56, 820, 21}},
      {Align::Top, {1, 43, 820, 13}},
  };
  const std::vector<Box> b = Arrange({1, 1, 1000, 76}, column);
  EXPECT_EQ(b[1], (Box{1, 1, 1000, 21}));
  EXPECT_EQ(b[0], (Box{1, 22, 1000, 21}));
  EXPECT_EQ(b[3], (Box{1, 43, 1000, 13}));
  EXPECT_EQ(b[2], (Box{1, 56, 1000, 21}));
}

TEST(Align, BottomItemsStackUpwardsAndUnalignedItemsStay) {
  const std::vector<AlignItem> items = {
      {Align::Bottom, {0, 78, 822, 30}},
      {Align::Top, {0, 0, 822, 78}},
      {Align::None, {5, 6, 7, 8}},
  };
  const std::vector<Box> b = Arrange({0, 0, 900, 108}, items);
  EXPECT_EQ(b[0], (Box{0, 78, 900, 30}));
  EXPECT_EQ(b[1], (Box{0, 0, 900, 78}));
  EXPECT_EQ(b[2], (Box{5, 6, 7, 8}));
}

TEST(Align, ItemsKeepTheirSizeAndOverlapWhereRoomRunsOut) {
  const std::vector<AlignItem> items = {
      {Align::Left, {0, 0, 150, 10}}, {Align::Right, {0, 0, 150, 10}}, {Align::Client, {}}};
  const std::vector<Box> b = Arrange({0, 0, 100, 10}, items);
  EXPECT_EQ(b[0], (Box{0, 0, 150, 10}));
  EXPECT_EQ(b[1], (Box{-50, 0, 150, 10}));
  EXPECT_EQ(b[2], (Box{150, 0, 0, 10})) << "no negative size for what fills the rest";
}

TEST(Align, ScalingKeepsTouchingBoxesTouching) {
  EXPECT_EQ(ScaleBox({1, 1, 150, 28}, 96, 96), (Box{1, 1, 150, 28}));
  EXPECT_EQ(ScaleBox({151, 1, 150, 28}, 144, 96), (Box{227, 2, 225, 42}));
  for (int dpi : {96, 120, 144, 168, 192, 250}) {
    const Box a = ScaleBox({1, 22, 820, 21}, dpi, 96);
    const Box b = ScaleBox({1, 43, 820, 13}, dpi, 96);
    EXPECT_EQ(a.Bottom(), b.top) << dpi;
  }
  EXPECT_EQ(ScaleLength(-7, 120, 96), -9);
}
