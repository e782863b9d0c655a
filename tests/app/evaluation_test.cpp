// The evaluation command and the tables it and the frame browser fill, on a
// sequence checked by hand.
#include "app_fixture.h"

#include <QLabel>
#include <QSlider>

namespace {

class EvaluatedTest : public AppTest {
 protected:
  void LoadHandSequence()
  {
      ASSERT_FALSE(LoadThroughDialog("ToolBtn_Open_Annotation", QString::fromStdString(dir_.write("gt.txt", kHandGt))));
      ASSERT_FALSE(LoadThroughDialog("ToolBtn_Open_Tracking", QString::fromStdString(dir_.write("e.txt", kHandE))));
  }
};

}  // namespace

TEST_F(EvaluatedTest, SequenceTablesOfAHandCheckedSequence)
{
    LoadHandSequence();
    Item("mm_eval_sequence")->trigger();
    EXPECT_TRUE(Main().evaluated);
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Sequence Evaluation done."));
    EXPECT_TRUE(Item("mm_eval_saveresult")->isEnabled());

    // Frame 2 has a missed object and a box on nothing; each weighs one half,
    // and the sequence averages them with frame 1's zeros.
    TStringGrid* errors = Grid("errout_sg");
    EXPECT_EQ(Row(errors, 1), QStringLiteral("FN|1|0.250000"));
    EXPECT_EQ(Row(errors, 2), QStringLiteral("FP|1|0.250000"));
    EXPECT_EQ(Row(errors, 6), QStringLiteral("FIT|0|0.000000"));
    EXPECT_EQ(Row(errors, 8).left(4), QStringLiteral("TP||"));

    // Trackers 7 and 9 down the side, objects 1 and 2 across.
    TStringGrid* map = Grid("IDmap_sg");
    EXPECT_EQ(map->ColCount(), 4);
    EXPECT_EQ(map->RowCount(), 5);
    EXPECT_EQ(map->FixedCols(), 1);
    EXPECT_EQ(map->FixedRows(), 1);
    EXPECT_EQ(Row(map, 0), QStringLiteral("|1|2|TP"));
    EXPECT_EQ(Row(map, 1), QStringLiteral("7|2|0|1.00000"));
    EXPECT_EQ(Row(map, 2).left(6), QStringLiteral("9|0|0|"));
    EXPECT_EQ(Row(map, 3), QStringLiteral("OP|1.00000|0.00000|"));
    EXPECT_EQ(Row(map, 4), QStringLiteral("F-meas.|1.00000|0.00000|"));

    // The view is refreshed only by the browser.
    EXPECT_EQ(Grid("sg_objects_data_gt")->RowCount(), 1);
    Find<QSlider>("tb_frame")->setValue(1);
    EXPECT_EQ(Find<QLabel>("lbl__frame_act")->text(), QStringLiteral("Frame 2 / 2"));
    TStringGrid* gt = Grid("sg_objects_data_gt");
    ASSERT_EQ(gt->RowCount(), 3);
    EXPECT_EQ(gt->FixedRows(), 1);
    EXPECT_EQ(Row(gt, 2), QStringLiteral("2|0|100|0|110|10"));
    EXPECT_EQ(Row(Grid("sg_objects_data_e"), 2), QStringLiteral("9|0|200|0|210|10"));

    TStringGrid* fmeasure = Grid("Fmeas_sg");
    EXPECT_EQ(Row(fmeasure, 0), QStringLiteral("|1|2"));
    EXPECT_EQ(Row(fmeasure, 1), QStringLiteral("7|1.0000|0.0000"));
    EXPECT_EQ(Row(fmeasure, 2), QStringLiteral("9|0.0000|0.0000"));
    EXPECT_EQ(fmeasure->FixedCols() + fmeasure->FixedRows(), 2);

    TStringGrid* frame = Grid("frame_errors_sg");
    EXPECT_EQ(Row(frame, 1), QStringLiteral("FP|1|0.500000"));
    EXPECT_EQ(Row(frame, 2), QStringLiteral("FN|1|0.500000"));
    EXPECT_EQ(Row(frame, 3), QStringLiteral("MT|0|0.000000"));
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Frame Evaluation done."));

    // Evaluating again without a change gives the same tables.
    const QString before = Column(map, 3) + Column(errors, 2);
    Item("mm_eval_sequence")->trigger();
    EXPECT_EQ(Column(map, 3) + Column(errors, 2), before);

    // A set command re-initialises the context; the map keeps showing the
    // last evaluation until the next one.
    ASSERT_FALSE(LoadThroughDialog("mm_E_Load", QString::fromStdString(dir_.path("e.txt"))));
    EXPECT_EQ(Context().id_map.at(0, 0), 0.0f);
    EXPECT_EQ(Row(map, 1), QStringLiteral("7|2|0|1.00000"));
    EXPECT_EQ(Row(map, 3), QStringLiteral("OP|1.00000|0.00000|"));
}

TEST_F(EvaluatedTest, NegativeIdsAndTheWeightOfASingleBox)
{
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", QString::fromStdString(dir_.write(
                                                     "gt.txt", "1 -4 1 0 0 10 10\n2 -4 1 50 50 60 60\n"))));
    ASSERT_FALSE(LoadThroughDialog("mm_E_Load", QString::fromStdString(dir_.write(
                                                    "e.txt", "1 -4 1 0 0 10 10\n2 5 1 0 0 10 10\n2 6 1 300 0 310 10\n"))));
    Item("mm_eval_sequence")->trigger();
    EXPECT_EQ(Grid("IDmap_sg")->Cells(1, 0), QStringLiteral("-4"));

    Find<QSlider>("tb_frame")->setValue(1);
    EXPECT_EQ(Grid("sg_objects_data_gt")->Cells(0, 1), QStringLiteral("4294967292"));
    EXPECT_EQ(Grid("Fmeas_sg")->Cells(1, 0), QStringLiteral("-4"));
    // Two boxes on nothing and a missed object: one GT box, weight 1.
    EXPECT_EQ(Row(Grid("frame_errors_sg"), 1), QStringLiteral("FP|2|2.000000"));
}

TEST_F(EvaluatedTest, CommaLocaleFormatsAndParsesWithComma)
{
    Main().SetLocale(QLocale(QLocale::German, QLocale::Germany));
    LoadHandSequence();
    Trigger("evaluate_tb");
    EXPECT_EQ(TakeExceptions(), QStringList());
    EXPECT_EQ(Context().coverage_threshold, 0.33f);
    EXPECT_EQ(Context().occlusion_threshold, 0.1f);
    EXPECT_EQ(Row(Grid("errout_sg"), 1), QStringLiteral("FN|1|0,250000"));
    EXPECT_EQ(Grid("IDmap_sg")->Cells(3, 1), QStringLiteral("1,00000"));

    // A point is no decimal separator here.
    Find<QLineEdit>("lbl_ed_thresh_occlusion")->setText(QStringLiteral("0.1"));
    Item("mm_eval_sequence")->trigger();
    EXPECT_EQ(TakeExceptions(), QStringList{QStringLiteral("'0.1' is not a valid floating point value")});
}

TEST_F(EvaluatedTest, ClearedViewShrinksTheMaps)
{
    LoadHandSequence();
    Item("mm_eval_sequence")->trigger();
    Item("mm_GT_Reset")->trigger();
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Ground Truth set was reset."));
    EXPECT_EQ(Grid("IDmap_sg")->ColCount(), 1);
    EXPECT_EQ(Grid("IDmap_sg")->Cells(0, 0), QString());
    EXPECT_EQ(Grid("Fmeas_sg")->RowCount(), 1);
    EXPECT_EQ(Grid("sg_objects_data_gt")->RowCount(), 1);
    EXPECT_EQ(Grid("sg_objects_data_gt")->FixedRows(), 0);
    EXPECT_EQ(Row(Grid("errout_sg"), 1), QStringLiteral("FN|1|0.250000")) << "kept until the next evaluation";
    EXPECT_FALSE(Main().evaluated);
}
