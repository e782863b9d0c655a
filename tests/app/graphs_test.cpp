// The error graphs: their vectors through the set commands and the
// evaluation, the cursor, the mouse moving the frame, and the labels.
#include "app_fixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>

#include "errorgraphs.h"
#include "graphicslistcontrol.h"
#include "vectorcontrol.h"

namespace {

using Curve = TErrorGraphs::TCurve;

class GraphsTest : public AppTest {
 protected:
  void LoadTen()
  {
      ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", QString::fromStdString(dir_.write("gt.txt", kTenGt))));
      ASSERT_FALSE(LoadThroughDialog("mm_E_Load", QString::fromStdString(dir_.write("e.txt", kTenE))));
  }
  void Evaluate()
  {
      LoadTen();
      Item("mm_eval_sequence")->trigger();
      ASSERT_TRUE(Main().evaluated);
  }
  TErrorGraphs& Graphs() { return Main().ErrorGraphs(); }
  std::vector<float> Values(Curve c) { return Graphs().Curve(c)->Vector()->values; }
  QSlider* Track() { return Find<QSlider>("tb_frame"); }
  TGraphicsListControl* Glc() { return Find<TGraphicsListControl>("graph_glc"); }

  void Press(Qt::MouseButton button, int x)
  {
      QTest::mousePress(Glc(), button, {}, QPoint(x, 50));
      QTest::mouseRelease(Glc(), button, {}, QPoint(x, 50));
  }
  void Move(Qt::MouseButtons buttons, int x)
  {
      QMouseEvent move(QEvent::MouseMove, QPointF(x, 50), Glc()->mapToGlobal(QPointF(x, 50)), Qt::NoButton, buttons,
                       Qt::NoModifier);
      QApplication::sendEvent(Glc(), &move);
  }
  // Pixels of the graph area as the group box draws them.
  QImage GraphArea() { return Find<QGroupBox>("graph_gb")->grab().toImage().copy(8, 16, 673, 104); }
  static int CountColor(const QImage& image, QColor color)
  {
      int n = 0;
      for (int y = 0; y < image.height(); ++y)
          for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == color;
      return n;
  }
};

}  // namespace

TEST_F(GraphsTest, VectorsFollowTheGtCommandsAndTheEvaluation)
{
    for (int c = 0; c < TErrorGraphs::CurveCount; ++c)
        EXPECT_EQ(Values(Curve(c)), std::vector<float>{0.0f}) << c;

    LoadTen();
    for (int c = 0; c < TErrorGraphs::CurveCount; ++c)
        EXPECT_EQ(Values(Curve(c)), std::vector<float>(10, 0.0f)) << c;

    Item("mm_eval_sequence")->trigger();
    std::vector<float> fp(10, 0.0f), fn(10, 0.0f), cd(10, 0.0f);
    fp[2] = 1;
    fn[4] = 1;
    cd[2] = 1;
    cd[4] = -1;
    EXPECT_EQ(Values(Curve::CurveFP), fp);
    EXPECT_EQ(Values(Curve::CurveFN), fn);
    EXPECT_EQ(Values(Curve::CurveCD), cd);
    EXPECT_EQ(Values(Curve::CurveFIT), std::vector<float>(10, 0.0f));

    // An E command keeps the counts but for the frame shown next, which is
    // not evaluated.
    Track()->setValue(2);
    ASSERT_FALSE(LoadThroughDialog("mm_E_Add", QString::fromStdString(dir_.path("e.txt"))));
    ASSERT_EQ(Track()->value(), 2);
    fp[2] = 0;
    EXPECT_EQ(Values(Curve::CurveFP), fp);
    EXPECT_EQ(Values(Curve::CurveFN), fn);

    // A GT command resets them to the new frame count.
    Trigger("mm_GT_Reset");
    for (int c = 0; c < TErrorGraphs::CurveCount; ++c) EXPECT_TRUE(Values(Curve(c)).empty()) << c;
    TakeMessages();
}

TEST_F(GraphsTest, CursorAndMouseMapToFrames)
{
    // Before any frames: one value, and nowhere but frame 0.
    for (int x : {0, 336, 672}) EXPECT_EQ(Graphs().FrameAt(x), 0) << x;
    Trigger("mm_GT_Reset");
    TakeMessages();
    for (int x : {0, 336, 672}) EXPECT_EQ(Graphs().FrameAt(x), 0) << "no frames, x = " << x;

    Evaluate();
    struct Case {
        int x, frame;
    };
    for (Case c : {Case{336, 4}, Case{0, 0}, Case{67, 0}, Case{68, 1}, Case{672, 9}, Case{-60, 0}})
        EXPECT_EQ(Graphs().FrameAt(c.x), c.frame) << c.x;

    Track()->setValue(9);
    const GraphicsItemStruct* line = GetFromList(Glc()->List(), 0);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->type, GraphicsLine);
    EXPECT_EQ(line->color, 255u);
    EXPECT_EQ(line->p1, 605.0f);
    EXPECT_EQ(line->p3, 605.0f);
    EXPECT_EQ(line->p2, 0.0f);
    EXPECT_EQ(line->p4, 104.0f);

    Press(Qt::LeftButton, 336);
    EXPECT_EQ(Track()->value(), 4);
    EXPECT_EQ(GetFromList(Glc()->List(), 0)->p1, 269.0f);  // 673 * 4 / 10
    EXPECT_EQ(Main().StatusText(), QStringLiteral("Frame Evaluation done."));

    // A left click on the cursor line selects the line; a right one moves.
    Press(Qt::LeftButton, 269 + 1);
    EXPECT_EQ(Track()->value(), 4);
    Press(Qt::RightButton, 540);
    EXPECT_EQ(Track()->value(), 8);

    Move(Qt::NoButton, 100);
    EXPECT_EQ(Track()->value(), 8) << "moving without a button";
    Move(Qt::RightButton, 100);
    EXPECT_EQ(Track()->value(), 1);
    Move(Qt::LeftButton, 700);
    EXPECT_EQ(Track()->value(), 9) << "beyond the graphs the track bar keeps its range";
    EXPECT_EQ(TakeMessages(), QStringList());
}

TEST_F(GraphsTest, CursorAndCurvesAsDrawn)
{
    Evaluate();
    Track()->setValue(2);
    const QColor red(255, 0, 0), maroon(0x80, 0, 0);
    const int x = Graphs().CursorX(2);
    ASSERT_EQ(x, 134);
    QImage area = GraphArea();
    for (int y : {5, 50, 100}) EXPECT_EQ(area.pixelColor(x, y), red) << y;
    EXPECT_NE(area.pixelColor(x - 2, 50), red);
    EXPECT_NE(area.pixelColor(x + 2, 50), red);
    EXPECT_GT(CountColor(area, maroon), 0) << "the FP curve rises at frame 2";

    // The label hides its curve and turns grey, and back.
    auto* label = Find<TClickLabel>("graphFP_lb");
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_TRUE(Graphs().Curve(Curve::CurveFP)->isHidden());
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(CountColor(GraphArea(), maroon), 0);
    EXPECT_EQ(Values(Curve::CurveFP)[2], 1.0f) << "hiding keeps the vector";

    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_FALSE(Graphs().Curve(Curve::CurveFP)->isHidden());
    EXPECT_EQ(label->palette().color(QPalette::Window), maroon);
    EXPECT_GT(CountColor(GraphArea(), maroon), 0);

    // The black CD curve the same way.
    auto* cd = Find<TClickLabel>("graphCD_lb");
    QTest::mouseClick(cd, Qt::LeftButton);
    EXPECT_TRUE(Graphs().Curve(Curve::CurveCD)->isHidden());
    EXPECT_EQ(cd->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    QTest::mouseClick(cd, Qt::LeftButton);
    EXPECT_EQ(cd->palette().color(QPalette::Window), QColor(0, 0, 0));
}

TEST_F(GraphsTest, ControlsAreStackedInOneRectangle)
{
    QGroupBox* box = Find<QGroupBox>("graph_gb");
    QStringList stack;
    for (QObject* child : box->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && w->geometry() == QRect(8, 16, 673, 104))
            stack << w->objectName();
    EXPECT_EQ(stack.join(QLatin1Char(' ')), QStringLiteral("graphBG_vc graphFIT_vc graphFIO_vc graphCD_vc graphFP_vc "
                                                           "graphFN_vc graphMO_vc graphMT_vc graph_glc"));
    auto* bg = Find<TVectorControl>("graphBG_vc");
    EXPECT_FALSE(bg->Transparent());
    EXPECT_EQ(bg->Vector(), nullptr);
    EXPECT_EQ(bg->Color(), QColor(Qt::white));
    auto* fio = Find<TVectorControl>("graphFIO_vc");
    EXPECT_TRUE(fio->Transparent());
    EXPECT_EQ(fio->VectorColor(), QColor(0, 0xFF, 0));
    EXPECT_EQ(fio->Max(), 10.0f);
    EXPECT_FALSE(Glc()->AutoEdit());
    EXPECT_TRUE(Glc()->Transparent());

    struct LabelAt {
        const char* name;
        const char* caption;
        int y;
    };
    for (LabelAt l : {LabelAt{"graphFP_lb", "  FP error  ", 12}, LabelAt{"graphMT_lb", "  MT error  ", 57},
                      LabelAt{"graphFIO_lb", "  FIO error  ", 103}}) {
        auto* label = Find<TClickLabel>(l.name);
        EXPECT_EQ(label->text(), QLatin1String(l.caption)) << l.name;
        EXPECT_EQ(label->pos(), QPoint(699, l.y)) << l.name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white)) << l.name;
    }
}
