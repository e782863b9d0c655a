// The video view: the start image, the zoom panel, and the boxes drawn over
// the picture for the shown frame and the clicked grid row.
#include "app_fixture.h"

#include <string>

#include <QImage>
#include <QSlider>

#include "graphicslistcontrol.h"
#include "imagecontrol.h"
#include "overlay.h"
#include "pixcore.h"
#include "zoompanel.h"

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 0x80, 0), kWhite(255, 255, 255);

class OverlayTest : public AppTest {
 protected:
  void Evaluate(const char* gt, const char* e)
  {
      ASSERT_FALSE(LoadThroughDialog("mm_GT_Load", QString::fromStdString(dir_.write("gt.txt", gt))));
      ASSERT_FALSE(LoadThroughDialog("mm_E_Load", QString::fromStdString(dir_.write("e.txt", e))));
      Item("mm_eval_sequence")->trigger();
      ASSERT_TRUE(Main().evaluated);
  }
  TGraphicsListControl* Glc() { return Find<TGraphicsListControl>("vid_glc"); }
  GraphicsListStruct& List() { return *Glc()->List(); }

  // Colour of the video view at image point (x, y), as the zoom panel draws it.
  QColor At(const QImage& view, float x, float y)
  {
      const QPoint origin = Glc()->pos();
      const int dx = TruncToInt(double(Glc()->XOffset()) + double(x) * Glc()->XScale());
      const int dy = TruncToInt(double(Glc()->YOffset()) + double(y) * Glc()->YScale());
      return view.pixelColor(origin.x() + dx, origin.y() + dy);
  }
  QImage View() { return Find<TZoomPanel>("vid_zp")->grab().toImage(); }
};

}  // namespace

TEST_F(OverlayTest, StartsWithABlack720By576PictureInItsRatio)
{
    ImageStruct* image = Main().VideoImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->xsize, 720);
    EXPECT_EQ(image->ysize, 576);
    auto* ic = Find<TImageControl>("vid_ic");
    EXPECT_EQ(ic->Image(), image);
    EXPECT_EQ(ic->AllocImage(), TImageControl::AllocNoImage);
    auto* zp = Find<TZoomPanel>("vid_zp");
    EXPECT_FLOAT_EQ(zp->ClientRatio(), 1.25f);
    EXPECT_TRUE(zp->AutoMouse());
    EXPECT_EQ(zp->ChildrenArea(), QRect(1, 0, 318, 255));
    EXPECT_EQ(Glc()->geometry(), ic->geometry());
    EXPECT_TRUE(Glc()->Transparent());
    EXPECT_FLOAT_EQ(Glc()->XScale(), 318.0f / 720.0f);
    EXPECT_EQ(View().pixelColor(160, 128), QColor(0, 0, 0));

    // Closing releases the picture, and the control no longer shows it.
    Main().close();
    EXPECT_EQ(Main().VideoImage(), nullptr);
    EXPECT_EQ(ic->Image(), nullptr);
}

TEST_F(OverlayTest, FrameBoxesAndTheClickedRowAsDrawn)
{
    Evaluate(kTenGt, kTenE);
    EXPECT_EQ(List().count(), 0) << "the evaluation leaves the view alone";
    Find<QSlider>("tb_frame")->setValue(2);

    // E boxes first in red, then GT boxes in green.
    ASSERT_EQ(List().count(), 3);
    EXPECT_EQ(List().items[0].color, 0x0000FFu);
    EXPECT_EQ(List().items[1].color, 0x0000FFu);
    EXPECT_EQ(List().items[1].p1, 400.0f);
    EXPECT_EQ(List().items[2].color, 0x008000u);
    QImage view = View();
    EXPECT_EQ(At(view, 400, 400), kRed) << "tracker 8 on nothing";
    EXPECT_EQ(At(view, 600, 300), kRed);
    EXPECT_EQ(At(view, 100, 200), kGreen) << "object 1 over tracker 7 in the same place";
    EXPECT_EQ(At(view, 200, 300), kGreen);
    EXPECT_EQ(At(view, 200, 200), QColor(0, 0, 0));

    // A click on tracker 8's row draws the frame again with its box in white on top.
    TStringGrid* e = Grid("sg_objects_data_e");
    e->SetRow(2);
    e->Clicked();
    ASSERT_EQ(List().count(), 4);
    EXPECT_EQ(List().items[3].color, 0xFFFFFFu);
    view = View();
    EXPECT_EQ(At(view, 400, 400), kWhite);
    EXPECT_EQ(At(view, 100, 200), kGreen);

    // Another click replaces the white box; a grid without box rows adds none.
    TStringGrid* gt = Grid("sg_objects_data_gt");
    gt->SetRow(1);
    gt->Clicked();
    ASSERT_EQ(List().count(), 4);
    view = View();
    EXPECT_EQ(At(view, 400, 400), kRed);
    EXPECT_EQ(At(view, 100, 200), kWhite);

    Trigger("mm_GT_Reset");
    EXPECT_EQ(List().count(), 0) << "no frame, no boxes";
    gt->Clicked();
    EXPECT_EQ(List().count(), 0);
    TakeMessages();
}

TEST_F(OverlayTest, EveryBoxOfACrowdedFrameIsDrawn)
{
    std::string gt, e;
    for (int i = 0; i < 150; ++i) {
        const std::string box = " " + std::to_string(4 * i) + " 10 " + std::to_string(4 * i + 3) + " 20\n";
        gt += "1 " + std::to_string(i) + " 1.0" + box;
        e += "1 " + std::to_string(1000 + i) + " 0.9" + box;
    }
    Evaluate(gt.c_str(), e.c_str());
    Main().DisplayFrameInfo();
    ASSERT_EQ(List().count(), 300);
    EXPECT_EQ(List().items[299].p1, 596.0f);
    EXPECT_EQ(List().items[299].color, 0x008000u);
}
