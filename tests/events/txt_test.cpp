#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "orvo_event_set.h"
#include "event_asserts.h"
#include "temp_dir.h"

using namespace std::string_literals;

namespace {

orvoEventSet load_text(const TempDir& dir, const std::string& content, int32_t type = 0) {
  orvoEventSet set;
  set.default_type = type;
  std::string why;
  EXPECT_EQ(orvo_event_set_load_txt(&set, dir.write("in.txt", content), &why), 1) << why;
  return set;
}

}  // namespace

TEST(TxtRead, LineForms) {
  struct Case {
    const char* name;
    std::string content;
    Events events;
    std::vector<int32_t> frames;
  } cases[] = {
      {"empty file", "", {}, {}},
      {"frame and object line", "frame\t3\nobject\t7 20 30 5 10\n", {{3, 7, 0, 30, 40, 50, 80}}, {3}},
      {"image line sets the current frame",
       "image00012.jpg 4 10 20 30 40\nobject 5 20 30 5 10\n",
       {{12, 4, 0, 10, 20, 30, 40}, {12, 5, 0, 30, 40, 50, 80}},
       {12}},
      {"numeric line confidence 0.49 dropped, 0.5 read",
       "12 4 0.49 10 20 30 40\n13 4 0.5 10 20 30 40\n",
       {{13, 4, 0, 10, 20, 30, 40}},
       {13}},
      {"truncation toward zero", "5 1 0.9 10.7 20.2 -3.5 40\n", {{5, 1, 0, 10, 20, -3, 40}}, {5}},
      {"frame without objects", "frame 5\n", {}, {5}},
      {"negative frame drops its lines", "frame -2\nobject 1 5 5 1 1\n", {}, {}},
      {"CR LF line ends", "frame 3\r\nobject 7 20 30 5 10\r\n", {{3, 7, 0, 30, 40, 50, 80}}, {3}},
      {"last line without line end", "frame 2\nobject 1 10 10 2 2", {{2, 1, 0, 16, 16, 24, 24}}, {2}},
      {"comments and headers are skipped", "# header\nframe 4\n\n  % note\nframes are\n", {}, {4}},
      {"lone object repeats the earlier values",
       "frame 2\nobject 1 10 10 2 2\nobject\n",
       {{2, 1, 0, 16, 16, 24, 24}, {2, 1, 0, 16, 16, 24, 24}},
       {2}},
      {"lone image is an event with the earlier values",
       "frame 2\nobject 1 10 10 2 2\nimage\n",
       {{2, 1, 0, 16, 16, 24, 24}, {2, 1, 0, 16, 16, 24, 24}},
       {2}},
      {"partial object keeps the unfilled fields",
       "frame 1\nobject 1 10 10 2 2\nobject 2 20\n",
       {{1, 1, 0, 16, 16, 24, 24}, {1, 2, 0, 36, 16, 44, 24}},
       {1}},
      {"partial image reuses the box of an object line",
       "frame 1\nobject 1 10 10 2 2\nimage7.jpg 3\n",
       {{1, 1, 0, 16, 16, 24, 24}, {7, 3, 0, 16, 16, 24, 24}},
       {1, 7}},
      {"image name without a dot after the number", "image12_a.png 4 1 2 3 4\n", {{12, 0, 0, 0, 0, 0, 0}}, {12}},
      {"object line that scans nothing is skipped", "frame 1\nobjects 3 4\nobjectx\n", {}, {1}},
      {"event before any frame belongs to frame 0", "object 1 5 5 1 1\n", {{0, 1, 0, 8, 8, 12, 12}}, {0}},
      {"line before any frame registers nothing", "# comment\n\nframe 4\n", {}, {4}},
      {"frame 0 is registered when named", "frame 0\n", {}, {0}},
      {"partial numeric line sets and registers the frame", "15 3\n", {}, {15}},
      {"dropped line sets the frame for the next line", "15 3 0.2 1 2 3 4\n\n", {}, {15}},
      {"dropped line alone registers nothing", "15 3 0.2 1 2 3 4\n", {}, {}},
      {"NaN confidence is dropped", "1 1 nan 1 2 3 4\n", {}, {}},
      {"huge values saturate", "1 1 1 1e30 -1e30 5 99999999999\n", {{1, 1, 0, INT_MAX, INT_MIN, 5, INT_MAX}}, {1}},
      {"NUL ends the line for the scan", "frame 4\0 7\nobject 1 5 5 1 1 \0 9\n"s,
       {{4, 1, 0, 8, 8, 12, 12}}, {4}},
      {"frames are sorted by unsigned value, each once",
       "frame 9\nframe 2\nframe 9\nframe 5\n", {}, {2, 5, 9}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    orvoEventSet set = load_text(dir, c.content, 0);
    expect_events(set.events, c.events, c.name);
    EXPECT_EQ(set.frames, c.frames) << c.name;
    EXPECT_EQ(set.types, std::vector<int32_t>{0}) << c.name;
  }
}

TEST(TxtRead, GivesEveryEventTheDefaultType) {
  TempDir dir;
  orvoEventSet set = load_text(dir, "frame 1\nobject 1 5 5 1 1\n1 2 1 0 0 4 4\n", 7);
  ASSERT_EQ(set.event_count(), 2u);
  EXPECT_EQ(set.events[0].type, 7);
  EXPECT_EQ(set.events[1].type, 7);
  EXPECT_EQ(set.types, std::vector<int32_t>{7});
}

TEST(TxtRead, ReadsLinesOfAnyLengthAsOneLine) {
  TempDir dir;
  // Longer than the reader's buffer, so the line spans refills.
  const std::string padding(3 << 20, ' ');
  const std::string long_name = "image00042." + std::string(100000, 'j');
  orvoEventSet set = load_text(dir, "frame" + padding + "9\n" + long_name + " 4 10 20 30 40\n" +
                                        std::string(5000, '7') + "\n");
  expect_events(set.events, {{42, 4, 0, 10, 20, 30, 40}}, "long lines");
  // The run of sevens is one saturated numeric field, not several lines.
  EXPECT_EQ(set.frames, (std::vector<int32_t>{9, 42, INT_MAX}));
}

TEST(TxtRead, BinaryGarbageGivesADefinedResult) {
  TempDir dir;
  std::mt19937 rng(3);
  for (int round = 0; round < 20; ++round) {
    std::string bytes(4096, '\0');
    for (char& b : bytes) b = static_cast<char>(rng());
    orvoEventSet set = load_text(dir, bytes);
    for (size_t i = 1; i < set.frames.size(); ++i) {
      EXPECT_LT(static_cast<uint32_t>(set.frames[i - 1]), static_cast<uint32_t>(set.frames[i]));
    }
  }
}

TEST(TxtRead, FailureLeavesTheSetUntouched) {
  TempDir dir;
  orvoEventSet set;
  set.events = {{1, 2, 3, 4, 5, 6, 7}};
  set.frames = {1};
  std::string why;
  EXPECT_EQ(orvo_event_set_load_txt(&set, dir.path("none.txt"), &why), -1);
  EXPECT_NE(why.find("none.txt"), std::string::npos);
  EXPECT_EQ(orvo_event_set_load_txt(&set, dir.path(""), &why), -1);
  EXPECT_NE(why.find("directory"), std::string::npos);
  EXPECT_EQ(set.event_count(), 1u);
  EXPECT_EQ(set.frames, std::vector<int32_t>{1});
}

TEST(TxtWrite, FramesThenObjectsAtHalfScale) {
  TempDir dir;
  orvoEventSet set;
  set.events = {{2, 9, 0, 0, 0, 4, 4}, {1, 3, 0, 10, 20, 30, 40}, {1, 4, 5, 10, 20, 28, 40}};
  set.frames = {1, 2, 3};
  ASSERT_EQ(orvo_event_set_save_txt(&set, dir.path("out")), 1);
  EXPECT_EQ(TempDir::read(dir.path("out.txt")),
            "frame\t1\n"
            "object\t3\t10\t15\t5\t5\n"
            "object\t4\t9\t15\t4\t5\n"
            "frame\t2\n"
            "object\t9\t1\t1\t1\t1\n"
            "frame\t3\n");
}

TEST(TxtWrite, ReadBackGivesFramesIdsAndEvenBoxes) {
  TempDir dir;
  orvoEventSet set;
  set.events = {{2, 5, 4, 10, 20, 30, 40},   // even edges, sides multiple of 4: exact
                {1, 6, 0, 10, 20, 28, 40},   // width 18: comes back 10..26
                {-3, 7, 0, 0, 0, 8, 8},      // negative frame: written, not read back
                {1, 8, 0, INT_MIN, INT_MIN, INT_MAX, INT_MAX}};
  set.frames = {1, 2, 4, -3};
  set.types = {4, 0};
  ASSERT_EQ(orvo_event_set_save(&set, dir.path("round"), ORVO_SAVE_TXT), 1);
  orvoEventSet back;
  back.default_type = 7;
  ASSERT_EQ(orvo_event_set_load(&back, dir.path("round.txt")), 1);
  ASSERT_EQ(back.event_count(), 3u);
  expect_events({back.events[0], back.events[1]},
                {{1, 6, 7, 10, 20, 26, 40}, {1, 8, 7, back.events[1].x0, back.events[1].y0,
                                              back.events[1].x1, back.events[1].y1}},
                "frame 1 in set order");
  expect_events({back.events[2]}, {{2, 5, 7, 10, 20, 30, 40}}, "frame 2");
  EXPECT_EQ(back.frames, (std::vector<int32_t>{1, 2, 4}));
  EXPECT_EQ(back.types, std::vector<int32_t>{7});
}

TEST(TxtWrite, CannotCreateTheFile) {
  TempDir dir;
  orvoEventSet set;
  std::string why;
  EXPECT_EQ(orvo_event_set_save_txt(&set, dir.path("missing/out"), &why), -1);
  EXPECT_NE(why.find("missing/out.txt"), std::string::npos) << why;
}
