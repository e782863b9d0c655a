#include <gtest/gtest.h>

#include <climits>

#include "orvo_event_add.h"

namespace {

_orvoEvent at(int32_t frame, int32_t id, int32_t x0, int32_t type = 0) {
  return {frame, id, type, x0, 2 * x0, x0 + 10, 2 * x0 + 10};
}

std::vector<std::pair<int32_t, int32_t>> frame_and_x0(const orvoEventSet& set) {
  std::vector<std::pair<int32_t, int32_t>> out;
  for (const _orvoEvent& e : set.events) out.emplace_back(e.frame, e.x0);
  return out;
}

}  // namespace

TEST(AddOffset, OnlyPositiveOffsetsShiftIds) {
  struct Case {
    int32_t offset;
    std::vector<int32_t> ids;
  } cases[] = {{5, {6, 7, INT_MIN + 4}}, {0, {1, 2, INT_MAX}}, {-3, {1, 2, INT_MAX}}};
  for (const Case& c : cases) {
    orvoEventSet set;
    set.events = {at(0, 1, 0), at(0, 2, 0), at(0, INT_MAX, 0)};
    orvo_event_set_offset_ids(&set, c.offset);
    std::vector<int32_t> ids;
    for (const _orvoEvent& e : set.events) ids.push_back(e.id);
    EXPECT_EQ(ids, c.ids) << "offset " << c.offset;  // wraps, so IDs stay distinct
  }
}

TEST(AddCatmullRom, PassesThroughTheControlPoints) {
  EXPECT_EQ(CatmullRom(3, 7.25f, -4, 9, 0.0f), 7.25f);
  EXPECT_EQ(CatmullRom(3, 7.25f, -4, 9, 1.0f), -4.0f);
  EXPECT_EQ(CatmullRom(3, 7.25f, -4, 9, 5.0f), -4.0f);   // t clamped
  EXPECT_EQ(CatmullRom(3, 7.25f, -4, 9, -1.0f), 7.25f);
  EXPECT_FLOAT_EQ(CatmullRom(0, 0, 30, 30, 1.0f / 3.0f), 80.0f / 9.0f);
}

TEST(AddInterpolate, FillsEveryFrameOfEachObjectsSpan) {
  orvoEventSet set;
  set.events = {at(13, 1, 30, 2), at(10, 1, 0, 2)};  // out of frame order on purpose
  set.frames = {10, 13};
  set.types = {2};
  ASSERT_EQ(InterpolateEventSet(&set), 1);
  EXPECT_EQ(frame_and_x0(set),
            (std::vector<std::pair<int32_t, int32_t>>{{10, 0}, {11, 8}, {12, 21}, {13, 30}}));
  EXPECT_EQ(set.events[1].y1, 27);  // every coordinate is splined on its own: 10 + 60 * 8/27
  EXPECT_EQ(set.events[3].y1, 70);              // the last annotation is kept unchanged
  EXPECT_EQ(set.events[2].type, 2);
  EXPECT_EQ(set.frames, (std::vector<int32_t>{10, 11, 12, 13}));
  EXPECT_EQ(set.types, std::vector<int32_t>{2});
}

TEST(AddInterpolate, GroupsByObjectInOrderOfFirstAppearance) {
  orvoEventSet set;
  set.events = {at(5, 2, 100), at(3, 1, 0), at(7, 2, 100), at(40, 9, 50), at(4, 1, 0)};
  set.frames = {3, 4, 5, 7, 40, 99};  // 99 named only by a frame line: dropped
  ASSERT_EQ(InterpolateEventSet(&set), 1);
  std::vector<std::pair<int32_t, int32_t>> ids_frames;
  for (const _orvoEvent& e : set.events) ids_frames.emplace_back(e.id, e.frame);
  EXPECT_EQ(ids_frames, (std::vector<std::pair<int32_t, int32_t>>{
                            {2, 5}, {2, 6}, {2, 7}, {1, 3}, {1, 4}, {9, 40}}));
  EXPECT_EQ(set.frames, (std::vector<int32_t>{3, 4, 5, 6, 7, 40}));
  EXPECT_EQ(set.events[5].x0, 50);  // a lone annotation is copied
}

TEST(AddInterpolate, TwoAnnotationsInOneFrame) {
  orvoEventSet set;
  set.events = {at(5, 1, 0), at(5, 1, 40), at(8, 1, 40)};
  ASSERT_EQ(InterpolateEventSet(&set), 1);
  // The empty interval emits nothing; the later box is used from frame 5 on,
  // and the earlier one still bends the curve as its outer control point.
  EXPECT_EQ(frame_and_x0(set),
            (std::vector<std::pair<int32_t, int32_t>>{{5, 40}, {6, 42}, {7, 41}, {8, 40}}));
}

TEST(AddInterpolate, NegativeFramesOrderSignedWithinAnObject) {
  orvoEventSet set;
  set.events = {at(1, 1, 30), at(-2, 1, 0)};
  ASSERT_EQ(InterpolateEventSet(&set), 1);
  ASSERT_EQ(set.event_count(), 4u);
  EXPECT_EQ(set.events.front().frame, -2);
  EXPECT_EQ(set.frames, (std::vector<int32_t>{0, 1, -2, -1}));  // list order is unsigned
}

TEST(AddInterpolate, RefusesASpanTooLargeAndLeavesTheSet) {
  orvoEventSet set;
  set.events = {at(INT_MIN, 1, 0), at(INT_MAX, 1, 0)};
  set.frames = {INT_MAX, INT_MIN};
  EXPECT_EQ(InterpolateEventSet(&set), -1);
  EXPECT_EQ(set.event_count(), 2u);
  EXPECT_EQ(set.frames, (std::vector<int32_t>{INT_MAX, INT_MIN}));
}
