#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <QVariant>

#include "controls_support.h"
#include "imagecontrol.h"
#include "pixcache.h"
#include "pixcore.h"
#include "temp_dir.h"

namespace {

using IC = TImageControl;

int Grey(const QImage& image, int x, int y) { return qRed(image.pixel(x, y)); }

// Pixel storage that outlives the control showing it.
struct ExternalImage {
    std::vector<uint8_t> bytes;
    ImageStruct* image = nullptr;

    // A w x h 8-bit image with rows `step` bytes apart; a negative step puts
    // the top row last in memory.
    ExternalImage(int w, int h, int step, uint16_t type)
        : bytes(static_cast<std::size_t>(std::abs(step) * h))
    {
        uint8_t* top = step < 0 ? bytes.data() + static_cast<std::ptrdiff_t>(-step) * (h - 1)
                                : bytes.data();
        image = NewImageReferenceExternal(w, h, 1, step, type, top);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                *ImagePixel(image, x, y) = static_cast<uint8_t>(10 * x + 50 * y);
    }
    ~ExternalImage() { DeleteImage(image); }
};

// Restores the cache budget that a test lowered.
struct BudgetGuard {
    std::size_t saved = CacheBudget();
    ~BudgetGuard() { CacheSetBudget(saved); }
};

}  // namespace

TEST(ImageControl, StartsWithAnOwnedBlack8BitImageOfItsSize)
{
    IC control;
    EXPECT_EQ(control.width(), 256);
    EXPECT_EQ(control.AllocImage(), IC::AllocImage8);
    ASSERT_NE(control.Image(), nullptr);
    EXPECT_EQ(control.Image()->type, PixTypeBitmap8);
    EXPECT_EQ(control.Image()->xsize, 256);
    EXPECT_EQ(control.XSize(), 256);
    EXPECT_EQ(control.YSize(), 256);
    EXPECT_EQ(*ImagePixel(control.Image(), 255, 255), 0);
}

TEST(ImageControl, AllocatesEachKindAtItsSizeAndResizingReallocates)
{
    struct Case {
        IC::AllocImageType kind;
        uint16_t type;
    };
    const Case cases[] = {
        {IC::AllocImage16, PixType16},       {IC::AllocImage32, PixType32},
        {IC::AllocImageFloat, PixTypeFloat}, {IC::AllocImageRGB, PixTypeRGB},
        {IC::AllocImageComplex, PixTypeComplex},
    };
    for (const Case& c : cases) {
        IC control;
        control.SetXSize(7);
        control.SetYSize(3);
        control.SetAllocImage(c.kind);
        ASSERT_NE(control.Image(), nullptr);
        EXPECT_EQ(ImageKind(control.Image()), c.type);
        EXPECT_EQ(control.Image()->xsize, 7);
        EXPECT_EQ(control.Image()->ysize, 3);
    }
    IC control;
    control.SetAllocImage(IC::AllocNoImage);
    EXPECT_EQ(control.Image(), nullptr);
    control.SetXSize(9);
    EXPECT_EQ(control.XSize(), 9);
}

TEST(ImageControl, CallersImageIsShownNotOwnedAndSizesFollowIt)
{
    ExternalImage mine(5, 4, -8, PixTypeBitmap8);
    {
        IC control;
        control.SetImage(mine.image);
        EXPECT_EQ(control.AllocImage(), IC::AllocNoImage);
        EXPECT_EQ(control.XSize(), 5);
        EXPECT_EQ(control.YSize(), 4);
        // A size change does not touch a caller's image.
        control.SetXSize(20);
        EXPECT_EQ(control.Image(), mine.image);
        EXPECT_EQ(mine.image->xsize, 5);
    }
    EXPECT_EQ(*ImagePixel(mine.image, 1, 1), 60);  // still the caller's, still alive
}

TEST(ImageControl, SettersRepaintOnlyOnChange)
{
    struct Case {
        const char* property;
        QVariant value;
    };
    const Case cases[] = {
        {"BorderColor", QColor(Qt::blue)},
        {"Display", QVariant::fromValue(IC::DisplayLog)},
        {"Min", 5.0f},
        {"Max", 100.0f},
        {"XScale", 2.0f},
        {"YOffset", 3.0f},
        {"DisplayColor", QColor(Qt::red)},
        {"DrawingMethod", QVariant::fromValue(IC::TDrawingMethodSet(IC::DontPerformSmoothScaling))},
    };
    auto host = ShownHost(300, 300);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property);
        auto* control = new IC(host.get());
        control->show();
        PaintCounter paints(control);
        paints.Reset();
        control->setProperty(c.property, control->property(c.property));
        control->SetImage(control->Image());
        EXPECT_EQ(paints.CountAfterSettle(), 0);
        ASSERT_TRUE(control->setProperty(c.property, c.value));
        EXPECT_GT(paints.CountAfterSettle(), 0);
        EXPECT_EQ(control->property(c.property), c.value);
        delete control;
    }
}

TEST(ImageControl, ScaleAndOffsetRepaintWithoutRebuildingTheWindowDoes)
{
    IC control;
    control.SetMin(1);  // converted path
    (void)Grab(&control);
    EXPECT_FALSE(control.NeedsRebuild());
    control.SetXScale(2);
    control.SetXOffset(4);
    control.SetBorderColor(Qt::red);
    EXPECT_FALSE(control.NeedsRebuild());
    control.SetMax(200);
    EXPECT_TRUE(control.NeedsRebuild());
}

TEST(ImageControl, TransparentLocksTheValueWindowAndTheTint)
{
    IC control;
    control.SetMax(100);
    control.SetTransparent(true);
    EXPECT_FALSE(control.Transparent());
    control.SetMax(255);
    control.SetTransparent(true);
    ASSERT_TRUE(control.Transparent());
    control.SetMax(10);
    control.SetMin(3);
    EXPECT_EQ(control.Max(), 255);
    EXPECT_EQ(control.Min(), 0);
    // An 8-bit picture may be tinted while transparent; an RGB one may not come in then.
    control.SetDisplayColor(Qt::red);
    EXPECT_EQ(control.DisplayColor(), QColor(Qt::red));
    ImageStruct* rgb = NewImageRGB(4, 4);
    ImageStruct* own = control.Image();
    control.SetImage(rgb);
    EXPECT_EQ(control.Image(), own);
    control.SetDisplayColor(Qt::white);
    control.SetImage(rgb);
    EXPECT_EQ(control.Image(), rgb);
    control.SetDisplayColor(Qt::green);
    EXPECT_EQ(control.DisplayColor(), QColor(Qt::white));
    control.SetImage(nullptr);
    DeleteImage(rgb);
}

TEST(ImageControl, AutoSizeAndAutoScaleExcludeEachOther)
{
    IC control;
    control.resize(100, 50);
    control.SetAutoScale(true);
    EXPECT_FLOAT_EQ(control.XScale(), 100.0f / 256);
    control.SetAutoSize(true);
    EXPECT_FALSE(control.AutoSize());
    control.SetXSize(0);
    EXPECT_EQ(control.XScale(), 0);
    control.SetAutoScale(false);
    control.SetAutoSize(true);
    control.SetAutoScale(true);
    EXPECT_FALSE(control.AutoScale());
    control.SetXSize(40);
    control.SetXScale(2.5f);
    EXPECT_EQ(control.width(), 100);
    control.SetYScale(1);
    control.SetYSize(10);
    EXPECT_EQ(control.height(), 10);
}

// Which path a picture takes: straight to the screen, or through the cached
// display image.
TEST(ImageControl, DrawsDirectlyOnlyWhatThePainterTakesAsItIs)
{
    struct Case {
        const char* name;
        int step;
        uint16_t type;
        IC::TDrawingMethodSet methods;
        bool direct;
    };
    const Case cases[] = {
        {"bottom-up bitmap", -8, PixTypeBitmap8, {}, true},
        {"top-down rows", 8, PixTypeBitmap8, {}, false},
        {"top-down, driver mirrors", 8, PixTypeBitmap8, IC::DriverHandlesVerticalMirror, true},
        {"unaligned rows", -5, PixTypeBitmap8, {}, false},
        {"unaligned, handled", -5, PixTypeBitmap8, IC::HandlesNonWordAlignedImageYOffset, true},
        {"plain 8-bit code", -8, PixType8, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExternalImage picture(5, 3, c.step, c.type);
        IC control;
        control.resize(5, 3);
        control.SetImage(picture.image);
        control.SetDrawingMethod(c.methods);
        const QImage shown = Grab(&control);
        EXPECT_EQ(control.DisplayImage() == nullptr, c.direct);
        // Either way the same pixels reach the screen.
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(Grey(shown, x, y), 10 * x + 50 * y) << x << "," << y;
        control.SetImage(nullptr);
    }
}

TEST(ImageControl, RgbTintedByDisplayColourGoesThroughTheConversion)
{
    IC control;
    control.resize(4, 4);
    control.SetAllocImage(IC::AllocImageRGB);
    ImageFill(control.Image(), 200);
    EXPECT_EQ(PixelAt(Grab(&control), 1, 1), QColor(200, 200, 200));
    EXPECT_EQ(control.DisplayImage(), nullptr);
    control.SetDisplayColor(Qt::red);
    EXPECT_EQ(PixelAt(Grab(&control), 1, 1), QColor(200, 0, 0));
    EXPECT_NE(control.DisplayImage(), nullptr);
}

TEST(ImageControl, PixelsThroughScaleAndOffsetWithBorderAround)
{
    ExternalImage picture(4, 2, -4, PixTypeBitmap8);
    IC control;
    control.resize(40, 20);
    control.SetBorderColor(QColor(0, 0, 255));
    control.SetImage(picture.image);
    control.SetDrawingMethod(IC::DontPerformSmoothScaling);
    control.SetXScale(3);
    control.SetYScale(2);
    control.SetXOffset(10);
    control.SetYOffset(5);
    const QImage shown = Grab(&control);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Grey(shown, 10 + 3 * i + 1, 5), 10 * i) << i;
        EXPECT_EQ(Grey(shown, 10 + 3 * i + 2, 8), 10 * i + 50) << i;
    }
    const QColor blue(0, 0, 255);
    EXPECT_EQ(PixelAt(shown, 9, 6), blue);   // left strip
    EXPECT_EQ(PixelAt(shown, 12, 4), blue);  // top strip
    EXPECT_EQ(PixelAt(shown, 12, 9), blue);  // bottom strip
    EXPECT_EQ(PixelAt(shown, 22, 6), blue);  // right strip
    EXPECT_EQ(PixelAt(shown, 39, 19), blue);
}

TEST(ImageControl, SmallImageSitsTopLeftInTheBorderColour)
{
    IC control;
    control.resize(30, 30);
    control.SetXSize(10);
    control.SetYSize(10);
    ImageFill(control.Image(), 255);
    control.SetBorderColor(QColor(255, 0, 0));
    const QImage shown = Grab(&control);
    EXPECT_EQ(PixelAt(shown, 9, 9), QColor(Qt::white));
    EXPECT_EQ(PixelAt(shown, 10, 5), QColor(255, 0, 0));
    EXPECT_EQ(PixelAt(shown, 5, 10), QColor(255, 0, 0));
    EXPECT_EQ(PixelAt(shown, 29, 29), QColor(255, 0, 0));
}

// The display image is kept between paints and rebuilt when the cache let it
// go or the picture changed.
TEST(ImageControl, CachedDisplayImageIsReusedAndRebuiltAfterDiscard)
{
    BudgetGuard budget;
    IC control;
    control.resize(4, 4);
    control.SetXSize(4);
    control.SetYSize(4);
    control.SetAllocImage(IC::AllocImage16);
    auto* pixels = reinterpret_cast<uint16_t*>(control.Image()->data);
    pixels[0] = 100;
    control.Invalidate();
    EXPECT_EQ(Grey(Grab(&control), 0, 0), 100);
    ASSERT_NE(control.DisplayImage(), nullptr);

    // Changed behind the control's back: the cached picture still shows.
    pixels[0] = 30;
    control.update();
    EXPECT_EQ(Grey(Grab(&control), 0, 0), 100);

    // The cache drops every unlocked image; the next paint converts again.
    CacheSetBudget(0);
    EXPECT_EQ(CacheLock(const_cast<ImageStruct*>(control.DisplayImage())), nullptr);
    CacheSetBudget(budget.saved);
    EXPECT_EQ(Grey(Grab(&control), 0, 0), 30);
    EXPECT_NE(control.DisplayImage(), nullptr);
    EXPECT_FALSE(control.NeedsRebuild());

    // Without the cache's doing, Invalidate rebuilds as well.
    pixels[0] = 60;
    control.Invalidate();
    EXPECT_EQ(Grey(Grab(&control), 0, 0), 60);
}

TEST(ImageControl, DisplayImageFollowsASizeOrKindChange)
{
    IC control;
    control.resize(6, 6);
    control.SetMin(1);  // converted path for 8-bit
    control.SetXSize(6);
    control.SetYSize(6);
    (void)Grab(&control);
    control.SetXSize(3);
    ImageFill(control.Image(), 128);
    control.Invalidate();
    (void)Grab(&control);
    ASSERT_NE(control.DisplayImage(), nullptr);
    EXPECT_EQ(control.DisplayImage()->xsize, 3);
    control.SetMin(0);
    control.SetMax(254);
    control.SetAllocImage(IC::AllocImageRGB);
    ImageFill(control.Image(), 127);
    control.Invalidate();
    EXPECT_EQ(PixelAt(Grab(&control), 1, 1), QColor(128, 128, 128));
    EXPECT_EQ(ImageKind(control.DisplayImage()), PixTypeRGB);
}

// Spectra are shown with frequency zero in the middle: each display quadrant
// holds the diagonally opposite image quadrant, for odd sizes too.
TEST(ImageControl, QuadrantSwapOfAnOddSizedFloatImage)
{
    IC control;
    control.resize(5, 3);
    control.SetXSize(5);
    control.SetYSize(3);
    control.SetAllocImage(IC::AllocImageFloat);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            *reinterpret_cast<float*>(ImagePixel(control.Image(), x, y)) =
                static_cast<float>(10 * x + 50 * y);
    control.SetDisplay(IC::DisplaySwapNormal);
    const QImage shown = Grab(&control);
    const int imageColumn[5] = {3, 4, 0, 1, 2};
    const int imageRow[3] = {2, 0, 1};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(Grey(shown, x, y), 10 * imageColumn[x] + 50 * imageRow[y])
                << x << "," << y;
    control.SetDisplay(IC::DisplayNormal);
    EXPECT_EQ(Grey(Grab(&control), 0, 2), 100);
}

TEST(ImageControl, ComplexPartsAndValueWindow)
{
    IC control;
    control.resize(1, 1);
    control.SetXSize(1);
    control.SetYSize(1);
    control.SetAllocImage(IC::AllocImageComplex);
    auto* value = reinterpret_cast<float*>(control.Image()->data);
    value[0] = 30;  // real
    value[1] = 40;  // imaginary
    struct Case {
        IC::DisplayType display;
        float max;
        int grey;
    };
    const Case cases[] = {
        {IC::DisplayNormal, 255, 30},
        {IC::DisplayPartRe, 255, 30},
        {IC::DisplayPartIm, 255, 40},
        {IC::DisplayPartIm, 80, 128},
        {IC::DisplayPower, 2550, 250},
        // Logarithmic: round(255 ln(1 + v) / ln(1 + 255)).
        {IC::DisplayLog, 255, 158},
        {IC::DisplayPartImLog, 255, 171},
    };
    for (const Case& c : cases) {
        control.SetDisplay(c.display);
        control.SetMax(c.max);
        EXPECT_EQ(Grey(Grab(&control), 0, 0), c.grey) << c.display << " " << c.max;
    }
}

TEST(ImageControl, AutoLoadBringsAFileIntoTheControlsImage)
{
    TempDir dir;
    QImage file(6, 4, QImage::Format_Grayscale8);
    file.fill(90);
    const QString grey = QString::fromStdString(dir.path("grey.png"));
    ASSERT_TRUE(file.save(grey));

    {  // An owned 8-bit image is replaced by one of its size holding the file.
        IC control;
        ImageFill(control.Image(), 7);
        control.SetAutoLoad(grey);
        ASSERT_NE(control.Image(), nullptr);
        EXPECT_EQ(control.XSize(), 256);
        EXPECT_EQ(control.Image()->xsize, 256);
        EXPECT_EQ(*ImagePixel(control.Image(), 5, 3), 90);
        EXPECT_EQ(*ImagePixel(control.Image(), 6, 3), 0);
    }
    {  // A float image takes the converted values at its own size.
        IC control;
        control.SetXSize(8);
        control.SetYSize(8);
        control.SetAllocImage(IC::AllocImageFloat);
        control.SetAutoLoad(grey);
        EXPECT_EQ(control.Image()->xsize, 8);
        EXPECT_EQ(*reinterpret_cast<float*>(ImagePixel(control.Image(), 5, 3)), 90);
        EXPECT_EQ(*reinterpret_cast<float*>(ImagePixel(control.Image(), 7, 7)), 0);
    }
    {  // With AutoSize an owned image takes the file's size on both axes.
        IC control;
        control.SetAllocImage(IC::AllocImage16);
        control.SetAutoSize(true);
        control.SetXScale(2);
        control.SetAutoLoad(grey);
        EXPECT_EQ(control.Image()->xsize, 6);
        EXPECT_EQ(control.Image()->ysize, 4);
        EXPECT_EQ(control.width(), 12);
        EXPECT_EQ(*reinterpret_cast<uint16_t*>(ImagePixel(control.Image(), 5, 3)), 90);
    }
    {  // A caller's image is filled, never released.
        ExternalImage mine(3, 3, -4, PixTypeBitmap8);
        IC control;
        control.SetImage(mine.image);
        control.SetAutoLoad(grey);
        EXPECT_EQ(control.Image(), mine.image);
        EXPECT_EQ(*ImagePixel(mine.image, 2, 2), 90);
        control.SetImage(nullptr);
    }
    {  // A missing file changes nothing.
        IC control;
        ImageStruct* before = control.Image();
        control.SetAutoLoad(QString::fromStdString(dir.path("missing.png")));
        EXPECT_EQ(control.Image(), before);
        EXPECT_EQ(control.AutoLoad(), QString::fromStdString(dir.path("missing.png")));
    }
}

TEST(ImageControl, TransparentControlLeavesWhatLiesBeneathOutsideThePicture)
{
    auto host = ShownHost(40, 40);
    host->setAutoFillBackground(true);
    QPalette palette = host->palette();
    palette.setColor(QPalette::Window, QColor(0, 200, 0));
    host->setPalette(palette);
    auto* control = new IC(host.get());
    control->setGeometry(0, 0, 40, 40);
    control->SetXSize(10);
    control->SetYSize(10);
    ImageFill(control->Image(), 255);
    control->SetBorderColor(QColor(255, 0, 0));
    control->SetTransparent(true);
    control->show();
    QImage shown = Grab(host.get());
    EXPECT_EQ(PixelAt(shown, 5, 5), QColor(Qt::white));
    EXPECT_EQ(PixelAt(shown, 20, 20), QColor(0, 200, 0));
    control->SetImage(nullptr);
    shown = Grab(host.get());
    EXPECT_EQ(PixelAt(shown, 5, 5), QColor(0, 200, 0));
    control->SetTransparent(false);
    EXPECT_EQ(PixelAt(Grab(host.get()), 5, 5), QColor(255, 0, 0));
}
