// Runs the real orvo-console binary: arguments, exit codes, where the output goes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

#include "temp_dir.h"

namespace {

struct RunResult {
  int status;
  std::string out, err;
};

class ConsoleTest : public ::testing::Test {
 protected:
  ConsoleTest() {
    gt_ = dir_.write("gt.txt", "frame 1\nobject 1 10 10 5 5\nframe 2\nobject 1 12 10 5 5\n");
    e_ = dir_.write("e.txt", "1 7 0.9 10 10 30 30\n2 7 0.9 14 10 34 30\n");
  }

  RunResult run(const std::string& args) {
    const std::string out = dir_.path("stdout"), err = dir_.path("stderr");
    const std::string command = std::string(ORVO_CONSOLE) + " " + args + " >" + out + " 2>" + err;
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempDir::read(out), TempDir::read(err)};
  }

  TempDir dir_;
  std::string gt_, e_;
};

const char kBanner[] = "Orvo Tracking Evaluator Console 1.3\n\n\n";

}  // namespace

TEST_F(ConsoleTest, PrintsTheReportWithoutReportFile) {
  RunResult r = run(gt_ + " " + e_);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind(kBanner, 0), 0u) << r.out;
  EXPECT_NE(r.out.find("---  sequence name:       e.txt\n"), std::string::npos);
  EXPECT_NE(r.out.find("---  coverage threshold:      0.330000"), std::string::npos);
  EXPECT_NE(r.out.find("---  F-measure : 1.000000\n"), std::string::npos);
  EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST_F(ConsoleTest, WritesReportAndAppendsBriefLines) {
  const std::string report = dir_.path("report.txt"), brief = dir_.path("brief.txt");
  for (int i = 0; i < 2; ++i) {
    RunResult r = run("-c 0.5 -o 0.2 --name /data/run/seq7.txt -r " + report + " -b " + brief + " " +
                gt_ + " " + e_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  const std::string text = TempDir::read(report);
  EXPECT_EQ(text.rfind(kBanner, 0), 0u);
  EXPECT_NE(text.find("---  sequence name:       seq7.txt\n"), std::string::npos);
  EXPECT_NE(text.find("---  coverage threshold:      0.500000"), std::string::npos);
  const std::string lines = TempDir::read(brief);
  EXPECT_EQ(lines.rfind("Sequence; F-Measure;", 0), 0u);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3);
  EXPECT_NE(lines.find("\nseq7.txt; 1.000000; 0; 0; 0; 0; 0; "), std::string::npos) << lines;
}

TEST_F(ConsoleTest, OptionValuesMayBeNegativeNumbers) {
  // Both files' events get type -1 and the filter keeps them; offsets of 0 or
  // below change nothing.
  RunResult r = run("--gt-type -1 --e-type -1 --types -1,4 --gt-offset -3 --e-offset 0 " + gt_ + " " + e_);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("---  F-measure (  1): 1.000000\n"), std::string::npos) << r.out;
  r = run("--types 4 " + gt_ + " " + e_);  // nothing of type 4: no covering
  EXPECT_NE(r.out.find("---  F-measure : 0.000000\n"), std::string::npos) << r.out;
}

TEST_F(ConsoleTest, OffsetAndInterpolationApplyToTheirOwnFile) {
  const std::string sparse = dir_.write("sparse.txt", "frame 1\nobject 1 10 10 5 5\nframe 4\nobject 1 10 10 5 5\n");
  RunResult r = run("--gt-interpolate --gt-offset 10 " + sparse + " " + e_);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("---  Identification errors (    4 frames)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("---  F-measure ( 11): 0.900000\n"), std::string::npos) << r.out;
}

TEST_F(ConsoleTest, UsageErrorsExitWithTwo) {
  for (const std::string& args :
       {std::string("--bogus ") + gt_ + " " + e_, "-c abc " + gt_ + " " + e_, "-c nan " + gt_ + " " + e_,
        "-o 0.1x " + gt_ + " " + e_, "--types 1,,2 " + gt_ + " " + e_, "--gt-offset x " + gt_ + " " + e_,
        gt_, std::string("")}) {
    RunResult r = run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_FALSE(r.err.empty()) << args;
  }
  EXPECT_EQ(run("--help").status, 0);
  RunResult version = run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("1.3"), std::string::npos);
}

TEST_F(ConsoleTest, InputAndOutputFailuresExitWithOneAndWriteNoReport) {
  const std::string report = dir_.write("report.txt", "an older report\n");
  const std::string empty = dir_.write("empty.txt", "");
  const std::string bad_xml = dir_.write("bad.xml", "<root><File><Event>");
  struct Case {
    std::string args, message;
  } cases[] = {
      {dir_.path("missing.txt") + " " + e_, "missing.txt"},
      {gt_ + " " + dir_.path("missing.xml"), "missing.xml"},
      {gt_ + " " + dir_.path(""), "directory"},
      {bad_xml + " " + e_, "bad.xml"},
      {empty + " " + e_, "no frames"},
  };
  for (const Case& c : cases) {
    RunResult r = run("-r " + report + " " + c.args);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "one line: " << r.err;
    EXPECT_EQ(TempDir::read(report), "an older report\n");
  }
  RunResult r = run("-r " + dir_.path("no/such/dir/report.txt") + " " + gt_ + " " + e_);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("report.txt"), std::string::npos) << r.err;
  r = run("-b " + dir_.path("") + " " + gt_ + " " + e_);
  EXPECT_EQ(r.status, 1);
}

TEST_F(ConsoleTest, SampleGivesTheSameReportFromTextAndXml) {
  const std::string sample = ORVO_SAMPLE_DIR;
  RunResult text = run("--name seq " + sample + "/gt.txt " + sample + "/tracker.txt");
  RunResult xml = run("--name seq " + sample + "/gt.xml " + sample + "/tracker.xml");
  ASSERT_EQ(text.status, 0) << text.err;
  ASSERT_EQ(xml.status, 0) << xml.err;
  EXPECT_EQ(text.out, xml.out);
  EXPECT_NE(text.out.find("(  300 frames)"), std::string::npos);
}
