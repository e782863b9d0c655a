// Saving sets and results: file names, the remembered brief file, and the
// report matching the console's byte for byte.
#include "app_fixture.h"

#include <cstdlib>
#include <filesystem>

#include <QMenu>

namespace {

class SavingTest : public AppTest {
 protected:
  void Evaluate()
  {
      ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", QString::fromStdString(dir_.write("gt.txt", kHandGt))));
      ASSERT_FALSE(LoadThroughDialog("mm_E_Load", QString::fromStdString(dir_.write("e.txt", kHandE))));
      Item("mm_eval_sequence")->trigger();
  }
  QString Path(const char* name) { return QString::fromStdString(dir_.path(name)); }
  static int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }
};

}  // namespace

TEST_F(SavingTest, SetNamesAreCutBeforeTheLastDot)
{
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", QString::fromStdString(dir_.write("in.txt", kHandGt))));
    ui_.SaveAnswer(Path("set.old.txt"), 1);
    Item("mm_GT_Save")->trigger();
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Ground Truth set was saved into file ") + Path("set.old") +
                                       QStringLiteral("."));
    EXPECT_TRUE(std::filesystem::exists(dir_.path("set.old.txt")));
    EXPECT_EQ(ui_.Requests().back().caption, QStringLiteral("Save Ground Truth set into file."));
    EXPECT_EQ(ui_.Requests().back().text, QStringLiteral("TXT|*.txt|XML|*.xml"));

    ui_.SaveAnswer(Path("plain"), 2);
    Item("mm_E_Save")->trigger();
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Estimation set was saved into file ") + Path("plain") +
                                       QStringLiteral("."));
    EXPECT_TRUE(std::filesystem::exists(dir_.path("plain.xml")));

    ui_.SaveAnswer(Path("no-such-dir/set.txt"), 1);
    Item("mm_GT_Save")->trigger();
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Ground Truth set failed to save."));

    ui_.Cancel(TScriptedUiServices::Kind::Save);
    Item("mm_GT_Save")->trigger();
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Ground Truth set failed to save.")) << "cancel changes nothing";
}

TEST_F(SavingTest, ReportGetsTxtAndBriefLinesGoToTheLastChosenFile)
{
    Evaluate();
    ui_.SaveAnswer(Path("res"));
    Item("mm_eval_saveresult")->trigger();
    EXPECT_EQ(Main().StatusText(), QStringLiteral("The results were saved into file ") + Path("res.txt") +
                                       QStringLiteral("."));
    EXPECT_NE(TempDir::read(dir_.path("res.txt")).find("e.txt"), std::string::npos) << "the sequence name";
    EXPECT_EQ(ui_.Requests().back().caption, QStringLiteral("Save final results into file."));

    ui_.SaveAnswer(Path("first.xml"));
    Item("mm_eval_savebrief_select")->trigger();
    EXPECT_EQ(ui_.Requests().back().caption, QStringLiteral("Save final results i brief version into file."));
    EXPECT_TRUE(Item("mm_eval_savebrief_last")->isEnabled());
    ui_.SaveAnswer(Path("second"));
    Item("mm_eval_savebrief_select")->trigger();
    EXPECT_EQ(Main().last_brief_file, Path("second.txt"));
    for (int i = 0; i < 3; ++i) Item("mm_eval_savebrief_last")->trigger();
    EXPECT_EQ(Lines(TempDir::read(dir_.path("first.txt"))), 2) << "header and one line";
    EXPECT_EQ(Lines(TempDir::read(dir_.path("second.txt"))), 5) << "header and four lines";
    EXPECT_EQ(Main().StatusText(), QStringLiteral("The results were saved into file ") + Path("second.txt") +
                                       QStringLiteral("."));

    // A new set disables the items, but the remembered file stays.
    ASSERT_FALSE(LoadThroughDialog("mm_E_Load", QString::fromStdString(dir_.path("e.txt"))));
    EXPECT_FALSE(Item("mm_eval_saveresult")->isEnabled());
    EXPECT_FALSE(Find<QMenu>("mm_eval_savebrief")->menuAction()->isEnabled());
    EXPECT_EQ(Main().last_brief_file, Path("second.txt"));

    ui_.SaveAnswer(Path("missing-dir/brief"));
    Item("mm_eval_savebrief_select")->trigger();
    EXPECT_EQ(Main().StatusText(), QStringLiteral("The results failed to save."));
    EXPECT_EQ(Main().last_brief_file, Path("missing-dir/brief.txt"));
}

TEST_F(SavingTest, ReportOfTheSampleEqualsTheConsolesByteForByte)
{
    const QString gt = QStringLiteral(ORVO_SAMPLE_DIR "/gt.txt");
    const QString tracker = QStringLiteral(ORVO_SAMPLE_DIR "/tracker.txt");
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", gt));
    ASSERT_FALSE(LoadThroughDialog("mm_E_Load", tracker));
    Item("mm_eval_sequence")->trigger();
    ui_.SaveAnswer(Path("window.txt"));
    Item("mm_eval_saveresult")->trigger();

    const std::string console = dir_.path("console.txt");
    const std::string command = std::string(ORVO_CONSOLE) + " --name '" + tracker.toStdString() + "' -r '" +
                                console + "' '" + gt.toStdString() + "' '" + tracker.toStdString() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string ours = TempDir::read(dir_.path("window.txt"));
    EXPECT_GT(ours.size(), 1000u);
    EXPECT_EQ(ours, TempDir::read(console));
}
