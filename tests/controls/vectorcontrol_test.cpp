#include <gtest/gtest.h>

#include <QVariant>

#include "controls_support.h"
#include "vectorcontrol.h"

namespace {

// Rows of `column` in the curve's colour, top first; -1 when none.
int FirstRowOfColour(const QImage& image, int column, QColor colour)
{
    for (int y = 0; y < image.height(); ++y)
        if (PixelAt(image, column, y) == colour)
            return y;
    return -1;
}

int FirstColumnOfColour(const QImage& image, int row, QColor colour)
{
    for (int x = 0; x < image.width(); ++x)
        if (PixelAt(image, x, row) == colour)
            return x;
    return -1;
}

}  // namespace

TEST(VectorControl, StartsWithTheTriangleWavePreview)
{
    TVectorControl control;
    control.SetAllocSize(33);
    ASSERT_NE(control.Vector(), nullptr);
    const auto& v = control.Vector()->values;
    ASSERT_EQ(v.size(), 33u);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[1], 16);
    EXPECT_EQ(v[16], 256);
    EXPECT_EQ(v[31], 16);
    EXPECT_EQ(v[32], 0);
    EXPECT_EQ(control.width(), 256);
    EXPECT_EQ(control.height(), 64);
}

TEST(VectorControl, AllocSizeWhileOffIsUsedWhenSwitchedOn)
{
    TVectorControl control;
    control.SetAllocVector(false);
    EXPECT_EQ(control.Vector(), nullptr);
    control.SetAllocSize(5);
    EXPECT_EQ(control.Vector(), nullptr);
    control.SetAllocVector(true);
    ASSERT_NE(control.Vector(), nullptr);
    EXPECT_EQ(control.Vector()->length(), 5);
}

TEST(VectorControl, SettersRepaintOnlyOnChange)
{
    struct Case {
        const char* property;
        QVariant value;
    };
    const Case cases[] = {
        {"Vertical", true},        {"VectorColor", QColor(Qt::red)},
        {"TopDown", true},         {"Reversed", true},
        {"AutoMin", true},         {"AutoMax", true},
        {"Min", 3.0f},             {"Max", 10.0f},
        {"Transparent", true},     {"Color", QColor(Qt::gray)},
    };
    auto host = ShownHost(300, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property);
        auto* control = new TVectorControl(host.get());
        control->show();
        PaintCounter paints(control);
        paints.Reset();
        control->setProperty(c.property, control->property(c.property));
        EXPECT_EQ(paints.CountAfterSettle(), 0);
        ASSERT_TRUE(control->setProperty(c.property, c.value));
        EXPECT_GT(paints.CountAfterSettle(), 0);
        EXPECT_EQ(control->property(c.property), c.value);
        delete control;
    }
}

TEST(VectorControl, LimitUnderAutoIsStoredWithoutRepaint)
{
    auto host = ShownHost(300, 100);
    auto* control = new TVectorControl(host.get());
    control->show();
    control->SetAutoMax(true);
    control->SetAutoMin(true);
    PaintCounter paints(control);
    paints.Reset();
    control->SetMax(99);
    control->SetMin(-5);
    EXPECT_EQ(paints.CountAfterSettle(), 0);
    EXPECT_EQ(control->Max(), 99);
    EXPECT_EQ(control->Min(), -5);
}

// A high value then a low one, drawn in 100 x 50: which end of which axis
// each sits at tells the origin and senses handed to the drawing.
TEST(VectorControl, TopDownAndReversedMirrorTheirAxes)
{
    struct Case {
        bool vertical, topDown, reversed;
        // Horizontal: whether the curve lies at the top in columns 25 and 75.
        bool firstHigh, secondHigh;
    };
    const Case cases[] = {
        {false, false, false, true, false},
        {false, true, false, false, true},
        {false, false, true, false, true},
        {false, true, true, true, false},
        // Vertical: index 0 at the bottom, the value growing to the right; the
        // flags say whether rows 37 and 12 show the curve at the right.
        {true, false, false, true, false},
        {true, false, true, false, true},
        {true, true, false, false, true},
    };
    auto host = ShownHost(100, 50);
    const QColor blue(0, 0, 255);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "vertical " << c.vertical << " topDown " << c.topDown
                                        << " reversed " << c.reversed);
        auto* control = new TVectorControl(host.get());
        control->setGeometry(0, 0, 100, 50);
        control->SetVectorColor(blue);
        control->SetMax(10);
        control->Vector()->values = {10, 0};
        control->SetVertical(c.vertical);
        control->SetTopDown(c.topDown);
        control->SetReversed(c.reversed);
        control->show();
        const QImage image = Grab(control);
        if (!c.vertical) {
            const int a = FirstRowOfColour(image, 25, blue);
            const int b = FirstRowOfColour(image, 75, blue);
            ASSERT_GE(a, 0);
            ASSERT_GE(b, 0);
            EXPECT_EQ(a < 5, c.firstHigh) << a;
            EXPECT_EQ(b < 5, c.secondHigh) << b;
        } else {
            const int a = FirstColumnOfColour(image, 37, blue);
            const int b = FirstColumnOfColour(image, 12, blue);
            ASSERT_GE(a, 0);
            ASSERT_GE(b, 0);
            EXPECT_EQ(a > 94, c.firstHigh) << a;
            EXPECT_EQ(b > 94, c.secondHigh) << b;
        }
        delete control;
    }
}

TEST(VectorControl, TransparentCurveShowsOverWhiteBackground)
{
    auto host = ShownHost(120, 60);
    auto* background = new TVectorControl(host.get());
    background->setGeometry(0, 0, 120, 60);
    background->SetAllocVector(false);
    background->SetColor(Qt::white);
    auto* curve = new TVectorControl(host.get());
    curve->setGeometry(0, 0, 120, 60);
    curve->SetTransparent(true);
    curve->SetVectorColor(QColor(128, 0, 0));
    curve->SetMax(10);
    curve->Vector()->values.assign(12, 5.0f);
    background->show();
    curve->show();
    const QImage image = Grab(host.get());
    const int row = FirstRowOfColour(image, 60, QColor(128, 0, 0));
    EXPECT_NEAR(row, 30, 2);
    EXPECT_EQ(PixelAt(image, 60, 5), QColor(Qt::white));
    EXPECT_EQ(PixelAt(image, 60, 55), QColor(Qt::white));
}

TEST(VectorControl, WithoutVectorPaintsOnlyItsBackgroundOrNothing)
{
    auto host = ShownHost(100, 40);
    host->setAutoFillBackground(true);
    QPalette palette = host->palette();
    palette.setColor(QPalette::Window, QColor(0, 200, 0));
    host->setPalette(palette);
    auto* control = new TVectorControl(host.get());
    control->setGeometry(0, 0, 100, 40);
    control->SetAllocVector(false);
    control->SetColor(QColor(10, 20, 30));
    control->show();
    EXPECT_EQ(PixelAt(Grab(host.get()), 50, 20), QColor(10, 20, 30));
    control->SetTransparent(true);
    EXPECT_EQ(PixelAt(Grab(host.get()), 50, 20), QColor(0, 200, 0));
}

TEST(VectorControl, MovingATransparentLayerRepaintsTheOverlappedSiblings)
{
    auto host = ShownHost(200, 100);
    auto* below = new TVectorControl(host.get());
    below->setGeometry(0, 0, 100, 100);
    auto* apart = new TVectorControl(host.get());
    apart->setGeometry(150, 0, 50, 100);
    auto* layer = new TVectorControl(host.get());
    layer->setGeometry(0, 0, 100, 100);
    layer->SetTransparent(true);
    below->show();
    apart->show();
    layer->show();
    PaintCounter belowPaints(below);
    PaintCounter apartPaints(apart);
    belowPaints.Reset();
    apartPaints.Reset();
    layer->move(10, 0);
    EXPECT_GT(belowPaints.CountAfterSettle(), 0);
    EXPECT_EQ(apartPaints.CountAfterSettle(), 0);
}
