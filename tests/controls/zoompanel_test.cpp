#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QWheelEvent>

#include "controls_support.h"
#include "graphicslistcontrol.h"
#include "imagecontrol.h"
#include "pixcore.h"
#include "zoompanel.h"

namespace {

class WheelCounter : public QWidget
{
public:
    using QWidget::QWidget;
    int wheels = 0;

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        ++wheels;
        event->accept();
    }
};

// Sends a wheel turn (120 a notch) at `pos` of `target`.
void Wheel(QWidget* target, QPoint pos, int delta)
{
    QWheelEvent event(QPointF(pos), QPointF(target->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// A panel of its own window, so that its size reaches its layout at once.
void Show(TZoomPanel& panel, int width, int height)
{
    panel.resize(width, height);
    panel.show();
}

// A 200 x 200 panel shown in a window, with a video image and a box overlay.
class ZoomPanelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        host = ShownHost(300, 300);
        panel = new TZoomPanel(host.get());
        panel->setGeometry(0, 0, 200, 200);
        image = new TImageControl(panel);
        overlay = new TGraphicsListControl(panel);
        overlay->SetTransparent(true);
        panel->SetAutoMouse(true);
        panel->Resize();
        panel->show();
        Settle();
    }

    std::unique_ptr<QWidget> host;
    TZoomPanel* panel = nullptr;
    TImageControl* image = nullptr;
    TGraphicsListControl* overlay = nullptr;
};

}  // namespace

TEST(ZoomPanel, LaysItsChildrenOutInTheRatioItKeeps)
{
    struct Case {
        int width, height;
        float ratio;
        QRect area;
    };
    const Case cases[] = {
        {320, 255, 1.25f, {1, 0, 318, 255}},  // 255 > 320 / 1.25 = 256 is false
        {200, 400, 1.0f, {0, 100, 200, 200}},
        {401, 200, 1.0f, {100, 0, 200, 200}},
        {300, 100, -1.0f, {0, 0, 300, 100}},
    };
    for (const Case& c : cases) {
        TZoomPanel panel;
        auto* child = new QWidget(&panel);
        Show(panel, c.width, c.height);
        panel.SetClientRatio(c.ratio);
        EXPECT_EQ(panel.ChildrenArea(), c.area) << c.width << "x" << c.height;
        EXPECT_EQ(child->geometry(), c.area);
    }
    TZoomPanel panel;
    auto* child = new QWidget(&panel);
    child->setGeometry(5, 6, 7, 8);
    panel.SetResizeChildren(false);
    Show(panel, 90, 60);
    EXPECT_EQ(child->geometry(), QRect(5, 6, 7, 8));
    EXPECT_EQ(panel.ChildrenArea(), QRect(0, 0, 90, 60));
}

TEST(ZoomPanel, ScaleLimitsAreCorrectedBySetters)
{
    struct Case {
        bool max;
        float given, stored;
    };
    const Case cases[] = {
        {false, 2, 1}, {false, -1, 1}, {false, 0.5f, 0.5f}, {false, 0, 0},
        {true, 0.5f, 1}, {true, 0, 0}, {true, 3, 3},
    };
    TZoomPanel panel;
    for (const Case& c : cases) {
        if (c.max) {
            panel.SetMaxScale(c.given);
            EXPECT_EQ(panel.MaxScale(), c.stored) << c.given;
        } else {
            panel.SetMinScale(c.given);
            EXPECT_EQ(panel.MinScale(), c.stored) << c.given;
        }
    }
    // The property stores the maximum as given.
    panel.setProperty("MaxScale", 0.5f);
    EXPECT_EQ(panel.MaxScale(), 0.5f);
}

TEST(ZoomPanel, ZoomStepsKeepTheirCentreAndRespectTheLimits)
{
    TZoomPanel panel;
    Show(panel, 200, 200);
    // Zooming in by 1.1 (a drag of -10 over 200 pixels at speed 2) around u = 0.25.
    panel.Scale(50, 100, -10);
    EXPECT_NEAR(panel.Zoom().XScale, 1.1, 1e-6);
    EXPECT_NEAR(panel.Zoom().XOffset, -0.025, 1e-6);
    EXPECT_NEAR(panel.Zoom().XScale * 0.25 + panel.Zoom().XOffset, 0.25, 1e-6);
    EXPECT_NEAR(panel.Zoom().YOffset, -0.05, 1e-6);

    // Out from scale 1 with MinScale 1: nothing moves.
    panel.Reset();
    panel.Scale(50, 100, 30);
    EXPECT_EQ(panel.Zoom().XScale, 1);
    EXPECT_EQ(panel.Zoom().XOffset, 0);

    // Without a minimum the smaller picture is centred.
    panel.SetMinScale(0);
    panel.Scale(10, 10, 50);
    EXPECT_NEAR(panel.Zoom().XScale, 0.5, 1e-6);
    EXPECT_NEAR(panel.Zoom().XOffset, 0.25, 1e-6);

    // A step that starts below MaxScale may end above it; then only out.
    panel.SetMaxScale(10);
    panel.SetFracScale(9.5);
    panel.Scale(100, 100, -10);
    EXPECT_NEAR(panel.Zoom().XScale, 10.45, 1e-5);
    panel.Scale(100, 100, -10);
    EXPECT_NEAR(panel.Zoom().XScale, 10.45, 1e-5);
    panel.Scale(100, 100, 10);
    EXPECT_NEAR(panel.Zoom().XScale, 10.45 * 0.9, 1e-5);

    // A huge drag down never flips or empties the picture.
    panel.Reset();
    panel.Scale(100, 100, 1000);
    EXPECT_GT(panel.Zoom().XScale, 0);
}

TEST(ZoomPanel, DisabledAxesStayPut)
{
    TZoomPanel panel;
    Show(panel, 200, 200);
    panel.setProperty("YScaleEnable", false);
    panel.Scale(100, 100, -20);
    EXPECT_NEAR(panel.Zoom().XScale, 1.2, 1e-6);
    EXPECT_EQ(panel.Zoom().YScale, 1);
    panel.setProperty("XEnable", false);
    panel.Move(-50, -50);
    EXPECT_NEAR(panel.Zoom().XOffset, -0.1, 1e-6);
    EXPECT_EQ(panel.Zoom().YOffset, 0);  // scale 1 leaves no room to pan
}

TEST(ZoomPanel, PanningStopsAtThePicturesEdges)
{
    TZoomPanel panel;
    Show(panel, 200, 100);
    panel.Move(200, 0);
    EXPECT_EQ(panel.Zoom().XOffset, 0);
    panel.SetFracScale(2);
    panel.Move(-50, -25);
    EXPECT_NEAR(panel.Zoom().XOffset, -0.25, 1e-6);
    EXPECT_NEAR(panel.Zoom().YOffset, -0.25, 1e-6);
    panel.Move(-1000, 30);
    EXPECT_NEAR(panel.Zoom().XOffset, -1, 1e-6);
    EXPECT_NEAR(panel.Zoom().YOffset, 0, 1e-6);
    panel.setProperty("XNoEmptyBorder", false);
    panel.Move(-100, 0);
    EXPECT_NEAR(panel.Zoom().XOffset, -1.5, 1e-6);
}

TEST(ZoomPanel, PushesOneMappingIntoItsChildrenAndTellsListeners)
{
    TZoomPanel panel;
    Show(panel, 320, 255);
    auto* video = new TImageControl(&panel);
    auto* boxes = new TGraphicsListControl(&panel);
    ImageStruct* frame = NewImageRGB(720, 576);
    video->SetImage(frame);
    video->SetAutoScale(true);
    panel.SetAutoMouse(true);
    panel.SetClientRatio(1.25f);
    QSignalSpy zooms(&panel, &TZoomPanel::zoomed);
    EXPECT_EQ(zooms.count(), 1);  // a new listener hears the zoom at once
    panel.Reset();
    EXPECT_FLOAT_EQ(video->XScale(), 318.0f / 720);
    EXPECT_FLOAT_EQ(video->YScale(), 255.0f / 576);
    EXPECT_FALSE(video->AutoScale());
    panel.Scale(159, 100, -51);  // 1.4 around the middle column
    for (float scale : {video->XScale(), boxes->XScale()})
        EXPECT_FLOAT_EQ(scale, static_cast<float>(318 * panel.Zoom().XScale / 720));
    for (float offset : {video->XOffset(), boxes->XOffset()})
        EXPECT_FLOAT_EQ(offset, static_cast<float>(318 * panel.Zoom().XOffset));
    EXPECT_FLOAT_EQ(boxes->YOffset(), static_cast<float>(255 * panel.Zoom().YOffset));
    EXPECT_EQ(zooms.count(), 3);
    video->SetImage(nullptr);
    DeleteImage(frame);
}

TEST(ZoomPanel, ReferenceIsTheFirstImageControlUnlessALaterOneHasAnImage)
{
    TZoomPanel panel;
    auto* empty = new TImageControl(&panel);
    empty->SetAllocImage(TImageControl::AllocNoImage);
    empty->SetXSize(50);
    auto* shown = new TImageControl(&panel);
    shown->SetXSize(25);  // owned image of 25 x 256
    auto* boxes = new TGraphicsListControl(&panel);
    Show(panel, 100, 100);
    panel.SetAutoMouse(true);
    panel.Reset();
    EXPECT_FLOAT_EQ(boxes->XScale(), 100.0f / 25);
    EXPECT_FLOAT_EQ(empty->XScale(), 100.0f / 25);
}

TEST_F(ZoomPanelTest, LeftDragPansRightDragZoomsAroundThePress)
{
    panel->SetFracScale(2);
    ASSERT_EQ(panel->Zoom().XOffset, 0);
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(panel->MouseMode(), TZoomPanel::MouseMoving);
    // A second button during the mode starts nothing else.
    QTest::mousePress(image, Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_EQ(panel->MouseMode(), TZoomPanel::MouseMoving);
    QTest::mouseRelease(image, Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseMove(image, QPoint(80, 110));
    EXPECT_NEAR(panel->Zoom().XOffset, -0.1, 1e-6);
    EXPECT_EQ(panel->Zoom().YOffset, 0);  // the top edge stays at the top
    QTest::mouseMove(image, QPoint(70, 90));
    EXPECT_NEAR(panel->Zoom().XOffset, -0.15, 1e-6);
    EXPECT_NEAR(panel->Zoom().YOffset, -0.1, 1e-6);
    EXPECT_FLOAT_EQ(image->XOffset(), -30);
    EXPECT_FLOAT_EQ(overlay->YOffset(), -20);
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(70, 90));
    EXPECT_EQ(panel->MouseMode(), TZoomPanel::MouseIdle);

    // The overlay lies on top and passes what it does not use to the panel.
    panel->Reset();
    QTest::mousePress(overlay, Qt::RightButton, {}, QPoint(50, 100));
    EXPECT_EQ(panel->MouseMode(), TZoomPanel::MouseScaling);
    QTest::mouseMove(overlay, QPoint(60, 90));
    EXPECT_NEAR(panel->Zoom().XScale, 1.1, 1e-6);
    EXPECT_NEAR(panel->Zoom().XOffset, -0.025, 1e-6);  // around x = 50, not 60
    QTest::mouseRelease(overlay, Qt::RightButton, {}, QPoint(60, 90));
    EXPECT_EQ(panel->MouseMode(), TZoomPanel::MouseIdle);
    EXPECT_FLOAT_EQ(overlay->XScale(), image->XScale());
}

TEST_F(ZoomPanelTest, ChildsOwnMouseListenersTakePrecedenceOverTheHooks)
{
    QSignalSpy presses(image, &TImageControl::mousePressed);
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(presses.count(), 1);
    EXPECT_EQ(panel->MouseMode(), TZoomPanel::MouseIdle);
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(10, 10));
}

TEST_F(ZoomPanelTest, HooksAreUnboundOnlyWhereTheyAreThePanels)
{
    ASSERT_TRUE(image->OnAutoMouseDown);
    ASSERT_EQ(image->OnAutoMouseDown.Owner, panel);
    overlay->OnAutoMouseDown.Owner = host.get();
    panel->SetAutoMouse(false);
    EXPECT_FALSE(image->OnAutoMouseDown);
    EXPECT_FALSE(image->OnAutoMouseMove);
    EXPECT_TRUE(overlay->OnAutoMouseDown);
}

TEST_F(ZoomPanelTest, ChildrenAddedLaterAreHookedAndLaidOutWhenShown)
{
    auto* late = new TImageControl(panel);
    EXPECT_FALSE(late->OnAutoMouseDown);
    late->show();
    EXPECT_TRUE(late->OnAutoMouseDown);
    EXPECT_EQ(late->geometry(), panel->ChildrenArea());
    EXPECT_FLOAT_EQ(late->XScale(), overlay->XScale());
}

TEST_F(ZoomPanelTest, WheelZoomsThePanelUnderTheCursor)
{
    // One notch over a child as tall as the area (200): f = -0.05, so 1.1.
    Wheel(overlay, QPoint(50, 100), 120);
    EXPECT_NEAR(panel->Zoom().XScale, 1.1, 1e-6);
    EXPECT_NEAR(panel->Zoom().XOffset, -0.025, 1e-6);
    EXPECT_FLOAT_EQ(image->XScale(), 200 * 1.1f / 256);
    Wheel(overlay, QPoint(50, 100), 120);
    Wheel(overlay, QPoint(50, 100), -120);
    EXPECT_NEAR(panel->Zoom().XScale, 1.21 * 0.9, 1e-6);
    // Half a notch: (60 * -200) / 2400 = -5 pixels.
    Wheel(image, QPoint(50, 100), 60);
    EXPECT_NEAR(panel->Zoom().XScale, 1.21 * 0.9 * 1.05, 1e-6);

    panel->setProperty("ScaleWheel", false);
    Wheel(overlay, QPoint(50, 100), 120);
    EXPECT_NEAR(panel->Zoom().XScale, 1.21 * 0.9 * 1.05, 1e-6);
}

TEST_F(ZoomPanelTest, WheelElsewhereIsDispatchedNormally)
{
    auto* other = new WheelCounter(host.get());
    other->setGeometry(210, 0, 80, 80);
    auto* inner = new WheelCounter(other);
    inner->setGeometry(0, 0, 40, 40);
    other->show();
    Settle();
    Wheel(other, QPoint(60, 60), 120);
    Wheel(inner, QPoint(10, 10), 120);
    EXPECT_EQ(other->wheels, 1);
    EXPECT_EQ(inner->wheels, 1);
    EXPECT_EQ(panel->Zoom().XScale, 1);
}

// The box overlay stays on the picture through a zoom: boxes are in image
// pixels, the image below shows through the transparent overlay.
TEST_F(ZoomPanelTest, OverlayBoxesStayOnThePictureWhenZoomed)
{
    image->SetXSize(200);
    image->SetYSize(200);
    ImageFill(image->Image(), 100);
    GraphicsRectangleStruct box{0x0000FF, 10, 10, 30, 30};
    AddRectangleToList(overlay->List(), &box);
    panel->Reset();
    QImage shown = Grab(host.get());
    const QColor red(255, 0, 0);
    const QColor grey(100, 100, 100);
    EXPECT_EQ(PixelAt(shown, 10, 20), red);
    EXPECT_EQ(PixelAt(shown, 20, 20), grey);
    EXPECT_EQ(PixelAt(shown, 30, 20), red);

    panel->SetFracScale(2);
    overlay->Invalidate();
    shown = Grab(host.get());
    EXPECT_EQ(PixelAt(shown, 20, 40), red);
    EXPECT_EQ(PixelAt(shown, 40, 40), grey);
    EXPECT_EQ(PixelAt(shown, 60, 40), red);
    EXPECT_EQ(PixelAt(shown, 30, 40), grey);
}
