#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "eval_support.h"
#include "temp_dir.h"

namespace {

// GT IDs 3 and 5 over the listed frames 1, 2, 4 (no boxes) and 5; trackers 1,
// 2, 7 and 9, the last only in the unlisted frame 3. Tracker 1 follows 3 and
// jumps to 5 in frame 5, tracker 2 doubles it on 3 in frame 2, 7 is a false
// positive.
EvalPtr golden_sequence() {
  return evaluate({box(1, 3, 0, 0, 10, 10), box(1, 5, 50, 0, 60, 10), box(2, 3, 0, 0, 10, 10),
                   box(2, 5, 50, 0, 60, 10), box(5, 5, 50, 0, 60, 10)},
                  {box(1, 1, 0, 0, 10, 10), box(2, 1, 5, 0, 15, 10), box(2, 2, 0, 0, 10, 10),
                   box(2, 7, 100, 100, 110, 110), box(3, 9, 0, 0, 10, 10), box(5, 1, 50, 0, 60, 10)},
                  {1, 2, 4, 5});
}

std::string golden(const std::string& name) {
  return TempDir::read(std::string(ORVO_EVAL_TEST_DATA) + "/" + name);
}

// Files written while this lives cannot grow beyond `bytes`.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

size_t files_in(const std::string& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

}  // namespace

TEST(Report, FullReportMatchesTheGoldenFile) {
  EvalPtr EE = golden_sequence();
  const std::string expected = golden("report.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(report_text(EE.get(), "D:\\data/run\\seq1.txt"), expected);

  TempDir dir;
  const std::string path = dir.write("report.txt", "an older, longer report than the new one would be\n");
  std::string why;
  ASSERT_EQ(orvo_events_eval_save_report(path, EE.get(), "D:/data/seq1.txt", &why), 1) << why;
  EXPECT_EQ(TempDir::read(path), expected);
  EXPECT_EQ(files_in(dir.path("")), 1u);  // no temporary file left behind
}

TEST(Report, BriefLinesMatchTheGoldenFile) {
  EvalPtr EE = golden_sequence();
  TempDir dir;
  const std::string path = dir.path("brief.txt");
  std::string why;
  ASSERT_EQ(orvo_events_eval_save_brief(path, EE.get(), "D:/data/seq1.txt", &why), 1) << why;
  ASSERT_EQ(orvo_events_eval_save_brief(path, EE.get(), "run 2", &why), 1) << why;
  EXPECT_EQ(TempDir::read(path), golden("brief.txt"));
}

TEST(Report, BriefHeaderOnlyOnAnEmptyFile) {
  EvalPtr EE = golden_sequence();
  const std::string brief = golden("brief.txt");
  const std::string header = brief.substr(0, brief.find('\n') + 1);
  const std::string line = brief.substr(header.size(), brief.find('\n', header.size()) + 1 - header.size());
  TempDir dir;
  struct Case {
    const char* before;
    std::string after;
  } cases[] = {
      {"", header + line},
      {"made by hand\n", "made by hand\n" + line},
      {"no line end", "no line end" + line},
  };
  for (const Case& c : cases) {
    const std::string path = dir.write("brief.txt", c.before);
    ASSERT_EQ(orvo_events_eval_save_brief(path, EE.get(), "seq1.txt"), 1);
    EXPECT_EQ(TempDir::read(path), c.after) << c.before;
  }
}

TEST(Report, FailedSavesKeepWhatWasThereAndSayWhy) {
  EvalPtr EE = golden_sequence();
  TempDir dir;
  const std::string missing = dir.path("no/such/dir/out.txt");
  struct Case {
    std::string path;
    std::string reason;
  } cases[] = {
      {missing, "No such file or directory"},
      {dir.path(""), "directory"},
      {"", "no file name given"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_EQ(orvo_events_eval_save_report(c.path, EE.get(), "seq", &why), -1) << c.path;
    EXPECT_NE(why.find("\"" + c.path + "\""), std::string::npos) << why;
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    why.clear();
    EXPECT_EQ(orvo_events_eval_save_brief(c.path, EE.get(), "seq", &why), -1) << c.path;
    EXPECT_NE(why.find("\"" + c.path + "\""), std::string::npos) << why;
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
  }
  EXPECT_EQ(files_in(dir.path("")), 0u);

  // A disk that fills up part way: the old report stays whole, and the brief
  // file gets no half line.
  const std::string old_report = "an older report\n", old_brief = "made by hand\n";
  const std::string report = dir.write("report.txt", old_report);
  const std::string brief = dir.write("brief.txt", old_brief);
  {
    FileSizeLimit limit(old_brief.size() + 40);
    std::string why;
    EXPECT_EQ(orvo_events_eval_save_report(report, EE.get(), "seq", &why), -1);
    EXPECT_NE(why.find("could not be written"), std::string::npos) << why;
    why.clear();
    EXPECT_EQ(orvo_events_eval_save_brief(brief, EE.get(), "seq", &why), -1);
    EXPECT_NE(why.find("could not be written"), std::string::npos) << why;
  }
  EXPECT_EQ(TempDir::read(report), old_report);
  EXPECT_EQ(TempDir::read(brief), old_brief);
  EXPECT_EQ(files_in(dir.path("")), 2u);
}

TEST(Report, StreamWriteFailureIsReported) {
  EvalPtr EE = golden_sequence();
  FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  std::setvbuf(full, nullptr, _IONBF, 0);
  EXPECT_EQ(orvo_events_eval_write_report(full, EE.get(), "seq"), -1);
  std::fclose(full);
}

TEST(Report, SequenceNameIsTheLastPathComponent) {
  struct Case {
    const char* path;
    const char* name;
  } cases[] = {
      {"D:/data/seq1.txt", "seq1.txt"}, {"D:\\data\\seq1.txt", "seq1.txt"},
      {"a\\b/c.xml", "c.xml"},          {"a/b\\c.xml", "c.xml"},
      {"seq1.txt", "seq1.txt"},         {"data/", "/"},
      {"data\\", "\\"},                 {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(orvo_events_eval_sequence_name(c.path), c.name) << c.path;
}

TEST(Report, RealsUseAPointWhateverTheLocale) {
  const char* const candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"};
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const char* found = nullptr;
  for (const char* name : candidates) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      found = name;
      break;
    }
  }
  if (found == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EvalPtr EE = golden_sequence();
  const std::string text = report_text(EE.get(), "seq1.txt");
  TempDir dir;
  const std::string brief = dir.path("brief.txt");
  orvo_events_eval_save_brief(brief, EE.get(), "seq1.txt");
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(text, golden("report.txt")) << found;
  EXPECT_EQ(TempDir::read(brief), golden("brief.txt").substr(0, golden("brief.txt").find("run 2")));
}
