// Vectors and graphics lists: room, length, growth and statistics.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "pixcore.h"

namespace {

TEST(Vector, RoomLengthAndDestroy) {
  VectorStruct v;
  ASSERT_EQ(InitVectorSize(&v, 100), 1);
  EXPECT_EQ(v.length(), 0);
  EXPECT_GE(v.values.capacity(), 100u);
  ASSERT_EQ(SetVectorLength(&v, 3), 1);
  v.values[2] = 7;
  ASSERT_EQ(SetVectorLength(&v, 5), 1);  // kept values stay, new ones are 0
  EXPECT_EQ(v.values[2], 7);
  EXPECT_EQ(v.values[4], 0);
  ASSERT_EQ(SetVectorLength(&v, 200), 1);  // beyond the room: grows
  EXPECT_EQ(v.length(), 200);
  EXPECT_EQ(InitVectorSize(&v, -1), -1);
  EXPECT_EQ(SetVectorLength(&v, PixMaxVectorLength + 1), -1);
  EXPECT_EQ(v.length(), 200);
  ASSERT_EQ(DestroyVector(&v), 1);
  EXPECT_EQ(v.length(), 0);
  EXPECT_EQ(v.values.capacity(), 0u);
  EXPECT_EQ(InitVectorSize(nullptr, 1), -1);
}

TEST(Vector, StatisticsSkipNaNAndReportEmptiness) {
  VectorStruct v;
  v.values = {3, std::numeric_limits<float>::quiet_NaN(), -1, 2, 4};
  float lo, hi, mean, dev;
  ASSERT_EQ(VectorStatistics(&lo, &hi, &mean, &dev, &v), 1);
  EXPECT_EQ(lo, -1);
  EXPECT_EQ(hi, 4);
  EXPECT_FLOAT_EQ(mean, 2);
  EXPECT_FLOAT_EQ(dev, std::sqrt(3.5f));
  EXPECT_EQ(VectorStatistics(&lo, nullptr, nullptr, nullptr, &v), 1);  // outputs optional

  v.values = {std::numeric_limits<float>::quiet_NaN()};
  EXPECT_EQ(VectorStatistics(&lo, &hi, &mean, &dev, &v), -1);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 0);
  v.values.clear();
  EXPECT_EQ(VectorStatistics(&lo, &hi, nullptr, nullptr, &v), -1);
}

TEST(List, GrowsPastItsRoomAndClearKeepsIt) {
  GraphicsListStruct list;
  ASSERT_EQ(InitListSize(&list, 64), 1);
  EXPECT_EQ(list.count(), 0);
  for (int k = 0; k < 150; ++k) {  // a crowded frame
    GraphicsRectangleStruct r{0xFFu, float(k), 1, float(k + 10), 20};
    ASSERT_EQ(AddRectangleToList(&list, &r), k);
  }
  ASSERT_EQ(list.count(), 150);
  const GraphicsItemStruct* last = GetFromList(&list, 149);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->type, GraphicsRectangle);
  EXPECT_EQ(last->color, 0xFFu);
  EXPECT_EQ(last->p1, 149);
  EXPECT_EQ(last->p4, 20);
  EXPECT_EQ(GetFromList(&list, 150), nullptr);
  EXPECT_EQ(GetFromList(&list, -1), nullptr);
  ASSERT_EQ(ClearList(&list), 1);
  EXPECT_EQ(list.count(), 0);
  EXPECT_GE(list.items.capacity(), 150u);
  ASSERT_EQ(DestroyList(&list), 1);
  EXPECT_EQ(list.items.capacity(), 0u);
}

TEST(List, SetLineGrowsTheCountWithEmptyGapsAndEditsInPlace) {
  GraphicsListStruct list;
  InitListSize(&list, 2);
  GraphicsLineStruct cursor{255, 0, 0, 0, 104};
  ASSERT_EQ(SetLineToList(&list, &cursor, 0), 1);
  EXPECT_EQ(list.count(), 1);
  ASSERT_EQ(SetLineToList(&list, &cursor, 3), 1);
  ASSERT_EQ(list.count(), 4);
  EXPECT_EQ(GetFromList(&list, 1)->type, GraphicsEmpty);
  EXPECT_EQ(GetLineFromList(&list, 2), nullptr);  // a gap is no line
  EXPECT_EQ(SetLineToList(&list, &cursor, -1), -1);
  EXPECT_EQ(SetLineToList(&list, &cursor, PixMaxListIndex + 1), -1);
  EXPECT_EQ(list.count(), 4);

  GraphicsItemStruct* line = GetLineFromList(&list, 0);
  ASSERT_NE(line, nullptr);
  line->p1 = line->p3 = 605;  // move the cursor
  EXPECT_EQ(GetFromList(&list, 0)->p3, 605);
  GraphicsLineStruct moved{255, 10, 0, 10, 104};
  ASSERT_EQ(SetLineToList(&list, &moved, 0), 1);  // replacing keeps the count
  EXPECT_EQ(list.count(), 4);
  EXPECT_EQ(GetFromList(&list, 0)->p1, 10);

  ASSERT_EQ(RemoveFromList(&list, 1), 1);
  EXPECT_EQ(list.count(), 3);
  EXPECT_EQ(GetFromList(&list, 2)->type, GraphicsLine);
  EXPECT_EQ(RemoveFromList(&list, 3), -1);
}

}  // namespace
