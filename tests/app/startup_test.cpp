// The window right after start and what it is built of.
#include "app_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>

TEST_F(AppTest, StartsWithResultCommandsDisabledAndEmptyTables)
{
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Orvo Tracking Evalutor 1.3"));
    for (const char* name : {"mm_eval_sequence", "mm_eval_saveresult", "mm_eval_savebrief_last"})
        EXPECT_FALSE(Item(name)->isEnabled()) << name;
    EXPECT_FALSE(Find<QMenu>("mm_eval_savebrief")->menuAction()->isEnabled());
    EXPECT_FALSE(Find<QToolButton>("evaluate_tb")->isEnabled());
    for (const char* name : {"mm_GT_Load", "mm_GT_Add", "mm_GT_Save", "mm_GT_Reset", "mm_E_Load", "mm_VideoOpen",
                             "mm_help_history", "mm_eval_savebrief_select"})
        EXPECT_TRUE(Item(name)->isEnabled()) << name;
    EXPECT_FALSE(Main().evaluated || Main().params_changed || Main().video_open);
    EXPECT_EQ(Find<QLabel>("lbl__frame_act")->text(), QStringLiteral("Frame 0 / 0"));

    EXPECT_EQ(Row(Grid("sg_objects_data_gt"), 0), QStringLiteral("ID|Type|x0|y0|x1|y2"));
    EXPECT_EQ(Grid("sg_objects_data_e")->ColWidths(5), 33);
    EXPECT_EQ(Grid("sg_objects_data_e")->FixedCols(), 0);
    EXPECT_EQ(Column(Grid("errout_sg"), 0), QStringLiteral("Errs|FN|FP|MO|MT|CD|FIT|FIO|TP|OP|QM"));
    EXPECT_EQ(Row(Grid("errout_sg"), 0), QStringLiteral("Errs|sum|norm"));
    EXPECT_EQ(Row(Grid("errout_sg"), 10), QStringLiteral("QM||"));
    EXPECT_EQ(Column(Grid("frame_errors_sg"), 0), QStringLiteral("Errs|FP|FN|MT|MO|CD|FIT|FIO"));
    EXPECT_EQ(Grid("frame_errors_sg")->ColWidths(2), 60);
    for (const char* name : {"Fmeas_sg", "IDmap_sg"}) {
        EXPECT_EQ(Grid(name)->ColCount(), 1) << name;
        EXPECT_EQ(Grid(name)->RowCount(), 1) << name;
        EXPECT_EQ(Grid(name)->FixedRows() + Grid(name)->FixedCols(), 0) << name;
        EXPECT_EQ(Grid(name)->Cells(0, 0), QString()) << name;
    }
}

TEST_F(AppTest, ControlsCarryTheirNamesCaptionsAndPlaces)
{
    struct Caption {
        const char* item;
        const char* text;
    };
    for (const Caption& c : {Caption{"mm_GT_Load", "&Load to Set"}, Caption{"mm_GT_Reset", "&Reset "},
                             Caption{"mm_E_Reset", "&Reset"}, Caption{"mm_GT_Save", "&Save as ..."},
                             Caption{"mm_E_Exit", "&Exit"}, Caption{"mm_eval_sequence", "&Sequence"},
                             Caption{"mm_eval_saveresult", "Save &result"},
                             Caption{"mm_eval_savebrief_last", "Last selected file"},
                             Caption{"mm_help_evaluator", "&Evaluator Help"}, Caption{"mm_VideoClose", "&Close"}})
        EXPECT_EQ(Item(c.item)->text(), QLatin1String(c.text)) << c.item;
    EXPECT_EQ(Find<QMenu>("mm_Evaluate")->title(), QStringLiteral("E&valuation"));
    EXPECT_EQ(Find<QMenu>("mm_GT")->title(), QStringLiteral("&Ground Truth"));
    EXPECT_EQ(Find<QMenu>("mm_eval_savebrief")->title(), QStringLiteral("Save brief result"));
    EXPECT_EQ(Find<QToolButton>("ToolBtn_Open_Tracking")->toolTip(), QStringLiteral("Load events to Estimation set."));
    EXPECT_FALSE(Find<QToolButton>("evaluate_tb")->icon().isNull());

    struct Place {
        const char* name;
        QRect rect;
    };
    for (const Place& p : {Place{"gb_objects", {8, 32, 473, 198}}, Place{"tb_frame", {112, 16, 356, 25}},
                           Place{"sg_objects_data_e", {237, 56, 229, 137}}, Place{"lb_types", {486, 48, 67, 89}},
                           Place{"lbl_ed_thresh_occlusion", {486, 200, 67, 21}},
                           Place{"errout_sg", {688, 48, 120, 181}}, Place{"IDmap_sg", {208, 254, 273, 251}},
                           Place{"vid_gb", {486, 233, 323, 272}}, Place{"graph_gb", {8, 512, 801, 126}}})
        EXPECT_EQ(Find<QWidget>(p.name)->geometry(), p.rect) << p.name;
    EXPECT_EQ(Find<QGroupBox>("vid_gb")->title(), QStringLiteral("Video stream"));
    EXPECT_EQ(Find<QGroupBox>("graph_gb")->title(), QStringLiteral("Graphs of errors"));
    EXPECT_NE(Main().findChild<QStatusBar*>(QStringLiteral("StatusBar")), nullptr);
}

TEST_F(AppTest, DefaultThresholdsUseTheLocalesSeparator)
{
    auto* coverage = Find<QLineEdit>("lbl_ed_thresh_C");
    auto* occlusion = Find<QLineEdit>("lbl_ed_thresh_occlusion");
    EXPECT_EQ(coverage->text(), QStringLiteral("0.33"));
    EXPECT_EQ(occlusion->text(), QStringLiteral("0.1"));
    Main().SetLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(coverage->text(), QStringLiteral("0,33"));
    EXPECT_EQ(occlusion->text(), QStringLiteral("0,1"));
    EXPECT_FALSE(Main().params_changed);
    occlusion->setText(QStringLiteral("0,2"));
    Main().SetLocale(QLocale::c());
    EXPECT_EQ(occlusion->text(), QStringLiteral("0,2")) << "a text the user typed is left alone";
}

TEST_F(AppTest, ExitClosesTheWindowAndFreesTheContext)
{
    Main().show();
    Item("mm_E_Exit")->trigger();
    EXPECT_FALSE(Main().isVisible());
    EXPECT_EQ(Main().EvalContext, nullptr);
    auto* track = Find<QSlider>("tb_frame");
    track->setMaximum(3);
    track->setValue(2);  // a late signal reaches no handler
    EXPECT_EQ(TakeMessages(), QStringList());
}
