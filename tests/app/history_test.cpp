// The history window and the help window.
#include "app_fixture.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QTimer>

TEST(HistoryFile, ReadsLinesInPiecesOf1023Characters)
{
    TempDir dir;
    const std::string long_line(1500, 'x');
    const std::string exact(1023, 'y');
    const QString path = QString::fromStdString(
        dir.write("history.txt", "1.3 release\n\n" + long_line + "\n" + exact + "\r\nlast line"));
    const QStringList lines = ReadHistoryFile(path);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("1.3 release"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2].size(), 1023);
    EXPECT_EQ(lines[3].size(), 477);
    EXPECT_EQ(lines[4].size(), 1023) << "its line break is no line of its own";
    EXPECT_EQ(lines[5], QStringLiteral("last line"));
    EXPECT_TRUE(ReadHistoryFile(QString::fromStdString(dir.path("none.txt"))).isEmpty());
}

TEST(HistoryWindow, ShowsTheFileOrNothing)
{
    TempDir dir;
    Tfrm_History shown(QString::fromStdString(dir.write("history.txt", "a\nb\n")));
    EXPECT_EQ(shown.findChild<QPlainTextEdit*>(QStringLiteral("mem_History"))->toPlainText(), QStringLiteral("a\nb"));
    EXPECT_EQ(shown.windowTitle(), QStringLiteral("Evaluator History"));
    EXPECT_EQ(shown.size(), QSize(511, 442));
    Tfrm_History empty(QString::fromStdString(dir.path("missing.txt")));
    EXPECT_TRUE(empty.findChild<QPlainTextEdit*>(QStringLiteral("mem_History"))->toPlainText().isEmpty());
}

TEST_F(AppTest, HistoryItemShowsTheWindowModally)
{
    bool shown = false;
    QTimer::singleShot(0, forms_->frm_History.get(), [&] {
        shown = forms_->frm_History->isVisible() && forms_->frm_History->isModal();
        forms_->frm_History->close();
    });
    Item("mm_help_history")->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(AppTest, HelpShowsTheHtmlFileOrSaysItIsMissing)
{
    EXPECT_EQ(Main().HelpFile(), QStringLiteral("ORVO_EVALUATOR.HLP"));
    Main().SetHelpFile(QString::fromStdString(dir_.path("ORVO_EVALUATOR.HLP")));
    Item("mm_help_evaluator")->trigger();
    const QStringList missing = TakeMessages();
    ASSERT_EQ(missing.size(), 1);
    EXPECT_TRUE(missing[0].contains(QStringLiteral("ORVO_EVALUATOR.HLP"))) << missing[0].toStdString();
    EXPECT_EQ(ui_.Requests().back().caption, QStringLiteral("Error"));

    dir_.write("ORVO_EVALUATOR.HLP", "<html><body><h1>Loading sets</h1><p>FP counts boxes on nothing.</p></body></html>");
    Item("mm_help_evaluator")->trigger();
    auto* window = Main().findChild<QDialog*>(QStringLiteral("HelpWindow"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("FP counts boxes")));
    EXPECT_EQ(TakeMessages(), QStringList());
}
