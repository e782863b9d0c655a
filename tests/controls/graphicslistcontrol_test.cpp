#include <gtest/gtest.h>

#include <QSignalSpy>

#include "controls_support.h"
#include "graphicslistcontrol.h"
#include "pixcore.h"

namespace {

using GLC = TGraphicsListControl;

class GraphicsListControlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        host = ShownHost(400, 300);
        control = new GLC(host.get());
        control->setGeometry(0, 0, 400, 300);
        control->show();
        Settle();
    }

    int AddRectangle(float l, float t, float r, float b, uint32_t colour = 0x0000FF)
    {
        GraphicsRectangleStruct rectangle{colour, l, t, r, b};
        return AddRectangleToList(control->List(), &rectangle);
    }

    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(control, button, {}, from);
        QTest::mouseMove(control, to);
        QTest::mouseRelease(control, button, {}, to);
    }

    std::unique_ptr<QWidget> host;
    GLC* control = nullptr;
};

class Mirror : public TGLCNotifyObject
{
public:
    void cbSelect() override { ++selects; }
    void cbChange() override { ++changes; }
    void cbDelete() override
    {
        ++deletes;
        TGLCNotifyObject::cbDelete();
    }
    int selects = 0;
    int changes = 0;
    int deletes = 0;
};

}  // namespace

TEST_F(GraphicsListControlTest, EditorsLayTheirGripsOut)
{
    control->StartEditRect(10, 20, 60, 50);
    EXPECT_TRUE(control->Editing());
    EXPECT_EQ(control->EditKind(), GLC::EditRectangle);
    struct Expected {
        float x, y;
        GLC::TGripOrientation orientation;
        int screenX, screenY;  // e = Size + 1 = 6 away from the point
    };
    const Expected rectangle[] = {
        {10, 20, GLC::GripAboveLeft, 4, 14},   {35, 20, GLC::GripAbove, 35, 14},
        {60, 20, GLC::GripAboveRight, 66, 14}, {60, 35, GLC::GripRight, 66, 35},
        {60, 50, GLC::GripBelowRight, 66, 56}, {35, 50, GLC::GripBelow, 35, 56},
        {10, 50, GLC::GripBelowLeft, 4, 56},   {10, 35, GLC::GripLeft, 4, 35},
        {20, 20, GLC::GripBelow, 20, 26},
    };
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        const GLC::TGrip& grip = control->Grips[i];
        EXPECT_FLOAT_EQ(grip.X, rectangle[i].x);
        EXPECT_FLOAT_EQ(grip.Y, rectangle[i].y);
        EXPECT_EQ(grip.Orientation, rectangle[i].orientation);
        EXPECT_EQ(grip.ScreenX, rectangle[i].screenX);
        EXPECT_EQ(grip.ScreenY, rectangle[i].screenY);
        EXPECT_TRUE(grip.Visible);
        EXPECT_TRUE(grip.Movable);
        EXPECT_EQ(grip.Size, 5);
    }
    const int lines[4][2] = {{0, 2}, {2, 4}, {4, 6}, {6, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(control->GripLines[i].From, lines[i][0]);
        EXPECT_EQ(control->GripLines[i].To, lines[i][1]);
    }

    // A new editor hides what the last one left beyond its own grips.
    control->StartEditLine(0, 0, 30, 60);
    EXPECT_EQ(control->EditKind(), GLC::EditLine);
    EXPECT_FLOAT_EQ(control->Grips[1].X, 10);
    EXPECT_FLOAT_EQ(control->Grips[1].Y, 20);
    EXPECT_FLOAT_EQ(control->Grips[2].X, 30);
    EXPECT_FALSE(control->Grips[5].Visible);
    EXPECT_TRUE(control->GripLines[0].Visible);
    EXPECT_FALSE(control->GripLines[1].Visible);

    control->StartEditArc(50, 50, 10, 0, 90);
    EXPECT_EQ(control->EditKind(), GLC::EditArc);
    EXPECT_NEAR(control->Grips[0].X, 60, 1e-4);
    EXPECT_NEAR(control->Grips[0].Y, 50, 1e-4);
    EXPECT_NEAR(control->Grips[1].X, 50 + 7.0711, 1e-3);
    EXPECT_NEAR(control->Grips[1].Y, 50 - 7.0711, 1e-3);
    EXPECT_NEAR(control->Grips[2].X, 50, 1e-4);
    EXPECT_NEAR(control->Grips[2].Y, 40, 1e-4);
    EXPECT_NEAR(control->Grips[3].X, (60 + 57.0711 + 50) / 3, 1e-3);
    EXPECT_NEAR(control->Grips[3].Y, (50 + 42.9289 + 40) / 3, 1e-3);
}

TEST_F(GraphicsListControlTest, GripArraysGrowOnAccessAndClampNegativeIndices)
{
    GLC::TGripArray grips;
    EXPECT_EQ(grips.Count(), 1);
    grips[-3].X = 7;
    EXPECT_EQ(grips[0].X, 7);
    grips[4].Fill(1, 2, GLC::GripLeft, 3, false);
    EXPECT_EQ(grips.Count(), 5);
    EXPECT_FALSE(grips[2].Visible);
    EXPECT_TRUE(grips[4].Visible);
    grips.Clear();
    EXPECT_EQ(grips.Count(), 5);
    EXPECT_FALSE(grips[4].Visible);
    EXPECT_EQ(grips[4].X, 1);
}

// The handle a fifth along the top edge moves the whole rectangle in whole
// list units: 2.7 units of drag move it by 2 and the handle snaps back.
TEST_F(GraphicsListControlTest, RectangleHandleMovesByWholeUnits)
{
    control->SetXScale(10);
    control->SetYScale(10);
    const int item = AddRectangle(1, 2, 6, 5);
    QSignalSpy changes(control, &GLC::changed);
    QSignalSpy selections(control, &GLC::selected);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 35));  // left edge
    ASSERT_EQ(selections.count(), 1);
    EXPECT_EQ(selections.at(0).at(0).toInt(), item);
    ASSERT_EQ(control->EditedItem(), item);
    ASSERT_EQ(control->Grips[8].ScreenX, 20);
    ASSERT_EQ(control->Grips[8].ScreenY, 26);

    QTest::mousePress(control, Qt::LeftButton, {}, QPoint(20, 26));
    EXPECT_EQ(control->DraggedGrip(), 8);
    QTest::mouseMove(control, QPoint(47, 26));
    EXPECT_FLOAT_EQ(control->Grips[0].X, 3);
    EXPECT_FLOAT_EQ(control->Grips[4].X, 8);
    EXPECT_FLOAT_EQ(control->Grips[8].X, 4);  // snapped, not 4.7
    EXPECT_FLOAT_EQ(control->Grips[1].X, 5.5);
    QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(47, 26));
    EXPECT_EQ(control->DraggedGrip(), -1);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), item);
    const GraphicsItemStruct* moved = GetFromList(control->List(), item);
    EXPECT_FLOAT_EQ(moved->p1, 3);
    EXPECT_FLOAT_EQ(moved->p2, 2);
    EXPECT_FLOAT_EQ(moved->p3, 8);
    EXPECT_FLOAT_EQ(moved->p4, 5);
}

TEST_F(GraphicsListControlTest, CornerAndSideGripsReshapeTheRectangle)
{
    const int item = AddRectangle(10, 20, 60, 50);
    control->StartDefaultEdit(item);
    // Bottom-right corner, drawn at (66, 56), dragged by (+5, +7).
    Drag({66, 56}, {71, 63});
    const GraphicsItemStruct* shape = GetFromList(control->List(), item);
    EXPECT_FLOAT_EQ(shape->p3, 65);
    EXPECT_FLOAT_EQ(shape->p4, 57);
    EXPECT_FLOAT_EQ(control->Grips[2].X, 65);  // top-right follows in x
    EXPECT_FLOAT_EQ(control->Grips[6].Y, 57);  // bottom-left follows in y
    EXPECT_FLOAT_EQ(control->Grips[3].Y, 38.5);
    // Left side, drawn at (4, 38.5 -> 38), dragged right by 4: both left corners.
    Drag({4, 38}, {8, 38});
    EXPECT_FLOAT_EQ(shape->p1, 14);
    EXPECT_FLOAT_EQ(control->Grips[6].X, 14);
    EXPECT_FLOAT_EQ(control->Grips[8].X, (4 * 14 + 65) * 0.2f);
}

TEST_F(GraphicsListControlTest, LineMiddleGripMovesTheLineByWholeUnits)
{
    GraphicsLineStruct line{0xFF0000, 0, 0, 30, 60};
    const int item = AddLineToList(control->List(), &line);
    control->StartDefaultEdit(item);
    control->SetXScale(2);
    control->SetYScale(2);
    control->DrawGrips();
    // Grip 1 at list (10, 20), screen (20, 40); 5 pixels are 2.5 units.
    Drag({20, 40}, {25, 40});
    EXPECT_FLOAT_EQ(control->Grips[1].X, 12.5);  // stays where dragged
    const GraphicsItemStruct* moved = GetFromList(control->List(), item);
    EXPECT_FLOAT_EQ(moved->p1, 2);
    EXPECT_FLOAT_EQ(moved->p3, 32);
    EXPECT_FLOAT_EQ(moved->p2, 0);
    // An end grip recomputes the third-way grip.
    Drag({64, 120}, {70, 120});
    EXPECT_FLOAT_EQ(moved->p3, 35);
    EXPECT_FLOAT_EQ(control->Grips[1].X, (2 * 2 + 35) / 3.0f);
}

TEST_F(GraphicsListControlTest, ArcCentroidGripMovesTheArcAndReleaseKeepsItsShape)
{
    const int item = AddArcToList(control->List(), 0xFF, 200, 150, 100, 0, 90);
    control->StartDefaultEdit(item);
    ASSERT_EQ(control->EditKind(), GLC::EditArc);
    const QPoint centroid(control->Grips[3].ScreenX, control->Grips[3].ScreenY);
    Drag(centroid, centroid + QPoint(3, -4));
    const GraphicsItemStruct* arc = GetFromList(control->List(), item);
    EXPECT_NEAR(arc->p1, 203, 1e-3);
    EXPECT_NEAR(arc->p2, 146, 1e-3);
    EXPECT_NEAR(arc->p3, 100, 1e-3);
    EXPECT_NEAR(arc->p4, 0, 1e-3);
    EXPECT_NEAR(arc->p5, 90, 1e-3);
}

TEST_F(GraphicsListControlTest, FirstHitWinsForItemsAndForGrips)
{
    AddRectangle(10, 10, 50, 50);
    AddRectangle(10, 10, 50, 50);
    QSignalSpy selections(control, &GLC::selected);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 30));
    ASSERT_EQ(selections.count(), 1);
    EXPECT_EQ(selections.at(0).at(0).toInt(), 0);

    // Grips the application fills itself: moves and the release are reported.
    control->StopEdit();
    control->Grips[0].Fill(100, 100, GLC::GripCenter, 5, true);
    control->Grips[1].Fill(102, 100, GLC::GripCenter, 5, true);
    control->Grips[2].Fill(200, 200, GLC::GripCenter, 5, false);
    control->StartEdit();
    QSignalSpy moves(control, &GLC::gripMoved);
    QSignalSpy finishes(control, &GLC::moveFinished);
    QTest::mousePress(control, Qt::LeftButton, {}, QPoint(101, 100));
    EXPECT_EQ(control->DraggedGrip(), 0);
    QTest::mouseMove(control, QPoint(111, 100));
    QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(111, 100));
    ASSERT_EQ(moves.count(), 1);
    EXPECT_EQ(moves.at(0).at(0).toInt(), 0);
    ASSERT_EQ(finishes.count(), 1);
    EXPECT_FLOAT_EQ(control->Grips[0].X, 110);
    EXPECT_FLOAT_EQ(control->Grips[1].X, 102);
    // An immovable grip is never grabbed.
    QTest::mousePress(control, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(control->DraggedGrip(), -1);
    QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(200, 200));
}

TEST_F(GraphicsListControlTest, WhatReachesTheMouseSignalAndTheHooks)
{
    AddRectangle(10, 10, 50, 50);
    QSignalSpy presses(control, &GLC::mousePressed);
    QSignalSpy selections(control, &GLC::selected);
    // A selecting click is the control's own.
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 30));
    EXPECT_EQ(presses.count(), 0);
    // Shift passes through, even over the item.
    QTest::mouseClick(control, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 30));
    ASSERT_EQ(presses.count(), 1);
    EXPECT_EQ(presses.at(0).at(2).toInt(), 10);
    // Other buttons pass through.
    QTest::mouseClick(control, Qt::RightButton, {}, QPoint(10, 30));
    EXPECT_EQ(presses.count(), 2);
    // A click on nothing deselects, stops editing and passes through.
    ASSERT_TRUE(control->Editing());
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_FALSE(control->Editing());
    EXPECT_EQ(selections.last().at(0).toInt(), -1);
    EXPECT_EQ(presses.count(), 3);
    EXPECT_EQ(selections.count(), 2);
}

TEST_F(GraphicsListControlTest, HooksRunOnlyWhileTheSignalIsUnconnected)
{
    AddRectangle(10, 10, 50, 50);
    int hookPresses = 0;
    control->OnAutoMouseDown.Call = [&](QWidget* sender, Qt::MouseButton, Qt::KeyboardModifiers,
                                        int, int) {
        EXPECT_EQ(sender, control);
        ++hookPresses;
    };
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(hookPresses, 1);
    {
        QSignalSpy presses(control, &GLC::mousePressed);
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(200, 200));
        EXPECT_EQ(presses.count(), 1);
        EXPECT_EQ(hookPresses, 1);
    }
    // Without EatMouse even a click on an item goes on.
    control->SetEatMouse(false);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 30));
    EXPECT_EQ(hookPresses, 2);
    EXPECT_FALSE(control->Editing());
}

TEST_F(GraphicsListControlTest, DefaultEditRefusesIndicesOutsideTheList)
{
    AddRectangle(10, 10, 50, 50);
    control->StartDefaultEdit(0);
    ASSERT_EQ(control->EditedItem(), 0);
    for (int index : {-1, 1, 5}) {
        control->StartDefaultEdit(index);
        EXPECT_EQ(control->EditedItem(), -1) << index;
    }
}

TEST_F(GraphicsListControlTest, NotifyObjectsHearSelectionChangeAndDeletion)
{
    control->SetAllocSize(4);
    AddRectangle(10, 10, 50, 50);
    Mirror mirror;
    mirror.RegisterTo(control, 0);
    Mirror outside;
    outside.RegisterTo(control, 4);  // beyond the table: ignored, and not registered
    EXPECT_EQ(outside.ListControl, nullptr);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(10, 30));
    EXPECT_EQ(mirror.selects, 1);
    Drag({control->Grips[8].ScreenX, control->Grips[8].ScreenY},
         {control->Grips[8].ScreenX + 3, control->Grips[8].ScreenY});
    EXPECT_EQ(mirror.changes, 1);
    {
        // A mirror destroyed while registered leaves nothing behind; the one
        // it displaced is told it is no longer registered.
        Mirror shortLived;
        shortLived.RegisterTo(control, 0);
        EXPECT_EQ(mirror.ListControl, nullptr);
        EXPECT_EQ(control->NotifyObject(0), &shortLived);
    }
    EXPECT_EQ(control->NotifyObject(0), nullptr);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(13, 30));
    mirror.RegisterTo(control, 0);
    control->SetAllocList(false);
    EXPECT_EQ(mirror.deletes, 1);
    EXPECT_EQ(mirror.ListControl, nullptr);
    EXPECT_EQ(outside.deletes, 0);
    EXPECT_EQ(control->List(), nullptr);
}

TEST_F(GraphicsListControlTest, ScaleIsStoredWithoutRepaintDisplayRangeRepaints)
{
    PaintCounter paints(control);
    paints.Reset();
    control->SetXScale(3);
    control->SetYOffset(7);
    EXPECT_EQ(paints.CountAfterSettle(), 0);
    EXPECT_EQ(control->XScale(), 3);
    control->SetDisplayStart(0);
    EXPECT_EQ(paints.CountAfterSettle(), 0);
    control->SetDisplayStart(2);
    EXPECT_GT(paints.CountAfterSettle(), 0);
}

// Crowded frames: far more boxes than the list's initial room, all drawn in
// their colours.
TEST_F(GraphicsListControlTest, DrawsEveryItemOfACrowdedList)
{
    control->SetTransparent(false);
    for (int i = 0; i < 150; ++i) {
        const auto x = static_cast<float>(10 + (i % 15) * 25);
        const auto y = static_cast<float>(10 + (i / 15) * 25);
        AddRectangle(x, y, x + 20, y + 20, i == 149 ? 0x00FF00 : 0x0000FF);
    }
    ASSERT_EQ(control->List()->count(), 150);
    control->Invalidate();
    QImage image = Grab(control);
    EXPECT_EQ(PixelAt(image, 10, 20), QColor(255, 0, 0));          // first box, left edge
    EXPECT_EQ(PixelAt(image, 10 + 14 * 25, 245), QColor(0, 255, 0));  // box 149
    EXPECT_EQ(PixelAt(image, 15, 20), QColor(Qt::white));          // inside a box

    control->SetDisplayStart(149);
    control->SetDisplayCount(1);
    image = Grab(control);
    EXPECT_EQ(PixelAt(image, 10, 20), QColor(Qt::white));
    EXPECT_EQ(PixelAt(image, 10 + 14 * 25, 245), QColor(0, 255, 0));
}
