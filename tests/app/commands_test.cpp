// Set commands, the "Add objects" dialog, the type list and the frame
// browser's guards.
#include "app_fixture.h"

#include <QTest>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

const QString kNoGt = QStringLiteral("No data in GT set. Load them first.");
const QString kNoE = QStringLiteral("No data in E set. Load them first.");
const QString kChanged = QStringLiteral("Evaluation parameters have changed. Evaluate the sequence again.");
const QString kEvaluate = QStringLiteral("Evaluate the sequence first.");

}  // namespace

TEST_F(AppTest, FrameBrowserRefusesInItsOrder)
{
    auto* track = Find<QSlider>("tb_frame");
    auto* label = Find<QLabel>("lbl__frame_act");
    Main().DisplayFrameInfo();
    EXPECT_EQ(TakeMessages(), QStringList{kNoGt});
    EXPECT_EQ(label->text(), QStringLiteral("Frame 0 / 0"));
    EXPECT_EQ(ui_.Requests().back().caption, QStringLiteral("Error"));

    const QString gt = QString::fromStdString(dir_.write("gt.txt", kHandGt));
    const QString e = QString::fromStdString(dir_.write("e.txt", kHandE));
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", gt));
    EXPECT_EQ(TakeMessages(), QStringList()) << "the track bar stayed at 0";
    track->setValue(1);
    EXPECT_EQ(label->text(), QStringLiteral("Frame 2 / 2"));
    EXPECT_EQ(TakeMessages(), QStringList{kNoE});

    ASSERT_FALSE(LoadThroughDialog("mm_E_Load", e));
    track->setValue(0);
    EXPECT_EQ(label->text(), QStringLiteral("Frame 1 / 2"));
    EXPECT_EQ(TakeMessages(), QStringList{kEvaluate});

    auto* coverage = Find<QLineEdit>("lbl_ed_thresh_C");
    coverage->setText(QStringLiteral("0.5"));
    PressEnter(coverage);
    EXPECT_EQ(TakeMessages(), QStringList{kChanged});

    // Leaving the edit for another control asks the same.
    Main().show();
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    coverage->setFocus(Qt::OtherFocusReason);
    Find<QLineEdit>("lbl_ed_thresh_occlusion")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(TakeMessages(), QStringList{kChanged});

    Item("mm_eval_sequence")->trigger();
    EXPECT_FALSE(Main().params_changed);
    PressEnter(coverage);
    EXPECT_EQ(TakeMessages(), QStringList());
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Frame Evaluation done."));
}

TEST_F(AppTest, SetCommandsEnableEvaluationOnlyWithBothSets)
{
    const QString gt = QString::fromStdString(dir_.write("gt.txt", kHandGt));
    const QString e = QString::fromStdString(dir_.write("e.txt", kHandE));
    ASSERT_FALSE(LoadThroughDialog("mm_E_Load", e));
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Estimation data from file was added to the E set."));
    EXPECT_FALSE(Item("mm_eval_sequence")->isEnabled());
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", gt));
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Ground Truth data from file was loaded to the GT set."));
    EXPECT_TRUE(Item("mm_eval_sequence")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>("evaluate_tb")->isEnabled());
    EXPECT_EQ(Main().sequence_name, gt);

    ASSERT_FALSE(LoadThroughDialog("mm_GT_Add", gt));
    EXPECT_EQ(Context().gt.event_count(), 6u);
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Ground Truth data from file was added to the GT set."));

    Item("mm_E_Reset")->trigger();
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Estimation set was reset."));
    EXPECT_FALSE(Item("mm_eval_sequence")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>("evaluate_tb")->isEnabled());

    CancelDialog("mm_GT_Load");
    EXPECT_TRUE(orvo_event_set_is_empty(&Context().gt));
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Ground Truth data from file was loaded to the GT set."));
    EXPECT_EQ(Find<QListWidget>("lb_types")->count(), 0);
}

TEST_F(AppTest, TrackBarFollowsTheGtFrames)
{
    std::string many;
    for (int f = 100; f < 200; ++f) many += std::to_string(f) + " 1 1.0 0 0 10 10\n";
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", QString::fromStdString(dir_.write("gt.txt", many))));
    auto* track = Find<QSlider>("tb_frame");
    EXPECT_EQ(track->maximum(), 99);
    EXPECT_EQ(track->tickInterval(), 2);
    EXPECT_EQ(Find<QLabel>("lbl__frame_act")->text(), QStringLiteral("Frame 100 / 199"));
    track->setValue(60);
    TakeMessages();

    std::string few;
    for (int f = 0; f < 49; ++f) few += std::to_string(f) + " 1 1.0 0 0 10 10\n";
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", QString::fromStdString(dir_.write("few.txt", few))));
    EXPECT_EQ(track->maximum(), 48);
    EXPECT_EQ(track->tickInterval(), 0);
    EXPECT_EQ(track->value(), 0);
    EXPECT_EQ(TakeMessages(), QStringList({kNoE, kNoE})) << "the new maximum, then position 0";
}

TEST_F(AppTest, AddDialogOffsetsAsksForTextTypesOnlyAndKeepsItsSettings)
{
    const QString ids = QString::fromStdString(dir_.write("ids.txt", "1 1 1 0 0 5 5\n1 2 1 9 9 19 19\n"));
    auto* offset = Add().findChild<QLineEdit*>(QStringLiteral("offset_ed"));
    struct Case {
        const char* offset;
        std::vector<int32_t> ids;
    };
    for (const Case& c : {Case{"5", {6, 7}}, Case{"-3", {1, 2}}, Case{"0", {1, 2}}, Case{"abc", {1, 2}}}) {
        offset->setText(QLatin1String(c.offset));
        ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", ids, QStringLiteral("4")));
        ASSERT_EQ(Context().gt.event_count(), 2u);
        EXPECT_EQ(Context().gt.events[0].id, c.ids[0]) << c.offset;
        EXPECT_EQ(Context().gt.events[1].id, c.ids[1]) << c.offset;
        EXPECT_EQ(Context().gt.events[0].type, 4);
    }
    EXPECT_EQ(offset->text(), QStringLiteral("abc"));
    EXPECT_EQ(ui_.Requests()[1].caption, QStringLiteral("Event type"));
    EXPECT_EQ(ui_.Requests()[1].text, QStringLiteral("Set the type of loaded events [integer value]."));
    EXPECT_EQ(ui_.Requests()[0].caption, QStringLiteral("File with Ground Truth Events"));
    EXPECT_EQ(ui_.Requests()[0].text, QStringLiteral("Text files (*.txt)|*.txt|XML files (*.xml)|*.xml"));
    EXPECT_EQ(Add().windowTitle(), QStringLiteral("Load Ground Truth Events"));

    // An XML file is not asked about; a name ending in upper-case XML is text.
    const std::string xml = TempDir::read(ORVO_SAMPLE_DIR "/gt.xml");
    ASSERT_FALSE(LoadThroughDialog("mm_E_Load", QString::fromStdString(dir_.write("e.xml", xml)), std::nullopt));
    EXPECT_GT(Context().e.event_count(), 0u);
    ASSERT_FALSE(LoadThroughDialog("mm_E_Add", QString::fromStdString(dir_.write("e.XML", "1 3 1 0 0 5 5\n")),
                                   QStringLiteral("2")));

    auto* interpolate = Add().findChild<QCheckBox*>(QStringLiteral("interpolate_chb"));
    interpolate->setChecked(true);
    offset->setText(QStringLiteral("0"));
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load",
                                   QString::fromStdString(dir_.write("key.txt", "10 1 1 0 0 5 5\n13 1 1 30 0 35 5\n"))));
    ASSERT_EQ(Context().gt.event_count(), 4u) << "frames 10 to 13";
    EXPECT_EQ(Context().gt.events[1].x0, 8);
    EXPECT_TRUE(interpolate->isChecked());
}

TEST_F(AppTest, AddDialogStaysOpenAndMergesNothingWhenLoadFails)
{
    const QString good = QString::fromStdString(dir_.write("gt.txt", kHandGt));
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", good));
    const QString name = Main().sequence_name;

    // Unreadable file: an error box naming it, nothing merged, dialog open.
    const QString missing = QString::fromStdString(dir_.path("missing.txt"));
    EXPECT_TRUE(LoadThroughDialog("mm_GT_Add", missing));
    const QStringList errors = TakeExceptions();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(missing)) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("cannot be opened"))) << errors[0].toStdString();
    EXPECT_EQ(Context().gt.event_count(), 3u);
    EXPECT_EQ(Main().sequence_name, name);

    // A type that is no integer.
    EXPECT_TRUE(LoadThroughDialog("mm_GT_Add", good, QStringLiteral("two")));
    EXPECT_EQ(TakeExceptions(), QStringList{QStringLiteral("'two' is not a valid integer value")});
    EXPECT_EQ(Context().gt.event_count(), 3u);

    // Cancelling the file dialog leaves the dialog open.
    ui_.Cancel(TScriptedUiServices::Kind::Open);
    bool stayed = false;
    QTimer::singleShot(0, &Add(), [&] {
        Add().findChild<QPushButton*>(QStringLiteral("load_bt"))->click();
        stayed = Add().isVisible();
        Add().findChild<QPushButton*>(QStringLiteral("cancel_bt"))->click();
    });
    Item("mm_GT_Add")->trigger();
    EXPECT_TRUE(stayed);
    EXPECT_EQ(Context().gt.event_count(), 3u);
}

TEST_F(AppTest, TypeListSortsAsTextAndItsClickDropsTheResults)
{
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", QString::fromStdString(dir_.write("a.txt", "1 1 1 0 0 10 10\n")),
                                   QStringLiteral("2")));
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Add", QString::fromStdString(dir_.write("b.txt", "1 2 1 20 0 30 10\n")),
                                   QStringLiteral("10")));
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Add", QString::fromStdString(dir_.write("c.txt", "1 3 1 40 0 50 10\n")),
                                   QStringLiteral("1")));
    ASSERT_FALSE(LoadThroughDialog("mm_E_Load", QString::fromStdString(dir_.write("e.txt", "1 7 1 0 0 10 10\n")),
                                   QStringLiteral("1")));
    auto* types = Find<QListWidget>("lb_types");
    ASSERT_EQ(types->count(), 3);
    EXPECT_EQ(types->item(0)->text() + types->item(1)->text() + types->item(2)->text(), QStringLiteral("1102"));
    EXPECT_EQ(types->selectedItems().size(), 3);

    Item("mm_eval_sequence")->trigger();
    EXPECT_EQ(Grid("errout_sg")->Cells(1, 1), QStringLiteral("2")) << "two objects of the three missed";
    EXPECT_TRUE(Item("mm_eval_saveresult")->isEnabled());

    types->item(0)->setSelected(false);  // type 1 left out
    EXPECT_FALSE(Main().evaluated);
    EXPECT_FALSE(Item("mm_eval_saveresult")->isEnabled());
    EXPECT_EQ(TakeMessages(), QStringList{kEvaluate});
    EXPECT_EQ(Context().types, std::vector<int32_t>({10, 2}));

    types->clearSelection();
    TakeMessages();
    EXPECT_TRUE(Context().types.empty()) << "no selection: no user filter";
    Item("mm_eval_sequence")->trigger();
    EXPECT_EQ(Grid("errout_sg")->Cells(1, 1), QStringLiteral("2"));
}

TEST_F(AppTest, BadThresholdStopsTheCommandWithNoStaleFrameLeft)
{
    const QString gt = QString::fromStdString(dir_.write("gt.txt", kHandGt));
    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", gt));
    ASSERT_FALSE(LoadThroughDialog("mm_E_Load", QString::fromStdString(dir_.write("e.txt", kHandE))));
    Item("mm_eval_sequence")->trigger();
    ASSERT_TRUE(Main().evaluated);

    auto* coverage = Find<QLineEdit>("lbl_ed_thresh_C");
    coverage->setText(QStringLiteral("0,33"));  // not a number in the point locale
    Item("mm_eval_sequence")->trigger();
    EXPECT_EQ(TakeExceptions(), QStringList{QStringLiteral("'0,33' is not a valid floating point value")});
    EXPECT_TRUE(Main().evaluated) << "a refused evaluation changes nothing";
    EXPECT_TRUE(Item("mm_eval_saveresult")->isEnabled());

    ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", gt));
    EXPECT_EQ(TakeExceptions().size(), 1);
    EXPECT_FALSE(Main().evaluated);
    EXPECT_FALSE(Item("mm_eval_saveresult")->isEnabled());
    for (const orvoFrameEval& record : Context().frames) {
        EXPECT_EQ(record.gt.count(), 0u);
        EXPECT_EQ(record.e.count(), 0u);
    }
    Grid("sg_objects_data_gt")->Clicked();
    Main().DisplayFrameInfo();
    EXPECT_EQ(TakeMessages(), QStringList{kChanged});
}
