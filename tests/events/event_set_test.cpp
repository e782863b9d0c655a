#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "orvo_event_set.h"
#include "orvo_frame_index.h"
#include "temp_dir.h"

namespace {

_orvoEvent box(int32_t frame, int32_t id, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
               int32_t type = 0) {
  return {frame, id, type, x0, y0, x1, y1};
}

std::vector<int32_t> ids_of(const orvoEventSelection& selection) {
  std::vector<int32_t> ids;
  for (const _orvoEvent* e : selection.events) ids.push_back(e->id);
  return ids;
}

orvoEventSet typed_set() {
  orvoEventSet set;
  set.events = {box(1, 10, 0, 0, 1, 1, 1), box(2, 11, 0, 0, 1, 1, 1), box(1, 12, 0, 0, 1, 1, 4),
                box(1, 13, 0, 0, 1, 1, 1)};
  set.frames = {1, 2};
  set.types = {1, 4};
  return set;
}

}  // namespace

TEST(EventSetSelect, FiltersByFrameAndTypeInSetOrder) {
  const orvoEventSet set = typed_set();
  const int32_t type0[] = {0};
  const int32_t type1[] = {1};
  const int32_t both[] = {4, 1};
  struct Case {
    int32_t frame;
    const int32_t* types;
    uint32_t count;
    std::vector<int32_t> ids;
  } cases[] = {
      {1, nullptr, 0, {10, 12, 13}},  // no list: every type
      {1, type0, 1, {}},              // a type the frame lacks
      {1, type1, 1, {10, 13}},
      {1, both, 2, {10, 12, 13}},     // set order, not list order
      {1, both, 0, {}},               // a given list with count 0 takes nothing
      {3, nullptr, 0, {}},            // a frame without events
  };
  const orvoFrameIndex index(set);
  for (const Case& c : cases) {
    orvoEventSelection plain, indexed;
    orvo_event_set_select(&plain, &set, c.frame, c.types, c.count);
    orvo_event_set_select_indexed(&indexed, &set, index, c.frame, c.types, c.count);
    EXPECT_EQ(ids_of(plain), c.ids) << "frame " << c.frame << " count " << c.count;
    EXPECT_EQ(plain.events, indexed.events);
  }
}

TEST(EventSetSelect, IndexedEqualsPlainOnShuffledSet) {
  std::mt19937 rng(7);
  orvoEventSet set;
  for (int i = 0; i < 3000; ++i) {
    int32_t frame = static_cast<int32_t>(rng() % 40) - 5;  // negative frames too
    set.events.push_back(box(frame, static_cast<int32_t>(rng() % 9), 0, 0, 1, 1,
                             static_cast<int32_t>(rng() % 3)));
  }
  const orvoFrameIndex index(set);
  const int32_t types[] = {2, 0};
  for (int32_t frame = -6; frame < 36; ++frame) {
    for (uint32_t count : {0u, 1u, 2u}) {
      orvoEventSelection plain, indexed;
      orvo_event_set_select(&plain, &set, frame, count ? types : nullptr, count);
      orvo_event_set_select_indexed(&indexed, &set, index, frame, count ? types : nullptr, count);
      ASSERT_EQ(plain.events, indexed.events) << "frame " << frame;
    }
  }
}

TEST(EventSetMerge, AppendsEventsNewFramesAndNewTypes) {
  orvoEventSet empty_a, empty_b;
  orvo_event_set_merge(&empty_a, &empty_b);
  EXPECT_TRUE(orvo_event_set_is_empty(&empty_a));
  EXPECT_TRUE(empty_a.frames.empty());
  EXPECT_TRUE(empty_a.types.empty());

  orvoEventSet dst, src;
  dst.events = {box(1, 1, 0, 0, 1, 1), box(5, 1, 0, 0, 1, 1)};
  dst.frames = {1, 5};
  dst.types = {0};
  dst.default_type = 9;
  src.events = {box(5, 1, 0, 0, 1, 1, 3), box(7, 2, 0, 0, 1, 1, 2), box(-1, 2, 0, 0, 1, 1, 0)};
  src.frames = {5, 7, -1};
  src.types = {3, 0, 2};
  orvo_event_set_merge(&dst, &src);
  EXPECT_EQ(dst.event_count(), 5u);  // frame 5 is there twice, nothing deduplicated
  EXPECT_EQ(dst.events[2].type, 3);
  EXPECT_EQ(dst.frames, (std::vector<int32_t>{1, 5, 7, -1}));
  EXPECT_EQ(dst.types, (std::vector<int32_t>{0, 3, 2}));
  EXPECT_EQ(dst.default_type, 9);
  EXPECT_EQ(src.event_count(), 3u);

  orvo_event_set_merge(&dst, &dst);  // into itself: events doubled, lists kept
  EXPECT_EQ(dst.event_count(), 10u);
  EXPECT_EQ(dst.frames.size(), 4u);
}

TEST(EventSetFrames, SortByUnsignedValue) {
  orvoEventSet set;
  set.frames = {3, -1, 2, INT_MIN, 0};
  orvo_event_set_sort_frames(&set);
  EXPECT_EQ(set.frames, (std::vector<int32_t>{0, 2, 3, INT_MIN, -1}));
}

TEST(EventSetReset, ResizesAndClearsListsButKeepsDefaultType) {
  orvoEventSet set = typed_set();
  set.default_type = 6;
  orvo_event_set_reset(&set, 3);
  EXPECT_EQ(set.event_count(), 3u);
  EXPECT_EQ(set.events[2].id, 0);
  EXPECT_TRUE(set.frames.empty() && set.types.empty());
  EXPECT_EQ(set.default_type, 6);
  orvo_event_set_reset(&set, 0);
  EXPECT_TRUE(orvo_event_set_is_empty(&set));
}

TEST(EventSetGeometry, AreaOverlapAndFmeasure) {
  struct Case {
    _orvoEvent a, b;
    double overlap, fmeasure;
  } cases[] = {
      {box(0, 1, 0, 0, 10, 10), box(0, 2, 10, 0, 20, 10), 0, 0},       // touching
      {box(0, 1, 0, 0, 10, 10), box(0, 2, 5, 0, 15, 10), 50, 0.5},
      {box(0, 1, 0, 0, 10, 10), box(0, 2, 0, 0, 10, 10), 100, 1},
      {box(0, 1, 0, 0, 10, 10), box(0, 2, 20, 20, 30, 30), 0, 0},      // disjoint
      {box(0, 1, 5, 5, 5, 5), box(0, 2, 5, 5, 5, 5), 0, 0},            // both areas 0
      {box(0, 1, 10, 10, 0, 0), box(0, 2, 0, 0, 10, 10), 0, 0},        // reversed edges
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(orvo_event_set_intersection(&c.a, &c.b), c.overlap);
    EXPECT_DOUBLE_EQ(orvo_event_set_fmeasure(&c.a, &c.b), c.fmeasure);
  }
  const _orvoEvent reversed = box(0, 1, 10, 10, 0, 0);
  EXPECT_DOUBLE_EQ(orvo_event_set_area(&reversed), 100.0);  // absolute value
}

TEST(EventSetGeometry, SaturatedBoxesDoNotOverflow) {
  const _orvoEvent huge = box(0, 1, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  const _orvoEvent big = box(0, 2, 0, 0, 1 << 25, 1 << 25);
  const double side = 4294967295.0;
  EXPECT_DOUBLE_EQ(orvo_event_set_area(&huge), side * side);
  EXPECT_DOUBLE_EQ(orvo_event_set_intersection(&huge, &huge), side * side);
  EXPECT_EQ(orvo_event_set_area(&big), 1125899906842624.0);  // exact below 2^26
  EXPECT_DOUBLE_EQ(orvo_event_set_fmeasure(&huge, &huge), 1.0);
  EXPECT_GT(orvo_event_set_fmeasure(&huge, &big), 0.0);
}

TEST(EventSetOcclusion, OnlyOtherIdsAboveTheThreshold) {
  orvoEventSelection selection;
  const _orvoEvent a = box(0, 1, 0, 0, 10, 10);
  const _orvoEvent same_id = box(0, 1, 0, 0, 10, 10);
  const _orvoEvent b = box(0, 2, 5, 0, 15, 10);  // F-measure 0.5 with a
  selection.events = {&a, &same_id};
  EXPECT_FALSE(orvo_event_set_is_occluded(&a, &selection, 0.1));
  selection.events.push_back(&b);
  EXPECT_TRUE(orvo_event_set_is_occluded(&a, &selection, 0.49));
  EXPECT_TRUE(orvo_event_set_is_occluded(&b, &selection, 0.49));  // symmetric
  EXPECT_FALSE(orvo_event_set_is_occluded(&a, &selection, 0.5));  // strictly greater
}

TEST(EventSetLoad, ChoosesTheReaderByTheThreeCharactersAfterTheLastDot) {
  struct Case {
    const char* path;
    bool xml;
  } cases[] = {{"a.xml", true},      {"a.xmlx", true},   {"a.XML", false}, {"a.xml.bak", false},
               {"a.txt", false},     {"xmlfile", true},  {"a", false},
               {"a.xm", false},      {"", false}};
  for (const Case& c : cases) EXPECT_EQ(orvo_event_set_is_xml_name(c.path), c.xml) << c.path;
}

TEST(EventSetLoad, ReportsUnreadableFilesAndLeavesTheSetUntouched) {
  TempDir dir;
  orvoEventSet set = typed_set();
  const std::string missing = dir.path("missing.txt");
  struct Case {
    std::string path, reason;
  } cases[] = {{missing, "No such file or directory"},
               {dir.path("missing.xml"), "No such file or directory"},
               {dir.path(""), "directory"}};
  for (const Case& c : cases) {
    std::string why;
    EXPECT_EQ(orvo_event_set_load(&set, c.path, &why), -1) << c.path;
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    EXPECT_EQ(set.event_count(), 4u);
  }
  std::string why;
  orvo_event_set_load(&set, missing, &why);
  EXPECT_EQ(why.rfind("\"" + missing + "\"", 0), 0u) << "the message names the file: " << why;
}

TEST(EventSetSave, UnknownSaveTypeWritesNothing) {
  TempDir dir;
  const orvoEventSet set = typed_set();
  EXPECT_EQ(orvo_event_set_save(&set, dir.path("out"), 3), -1);
  EXPECT_FALSE(std::filesystem::exists(dir.path("out.txt")));
  EXPECT_EQ(orvo_event_set_save(&set, dir.path("out"), ORVO_SAVE_TXT), 1);
  EXPECT_TRUE(std::filesystem::exists(dir.path("out.txt")));
}
