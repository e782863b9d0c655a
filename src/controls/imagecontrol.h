// TImageControl: shows an ImageStruct of any pixel type, scaled and offset,
// with a border colour around it. 8-bit and RGB images in a layout the painter
// takes go straight to the screen; everything else is converted into a cached
// display image first, rebuilt only when something changed or the cache let
// it go.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "overlay.h"
#include "pixcore.h"

class QPainter;

class TImageControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(AllocImageType AllocImage READ AllocImage WRITE SetAllocImage)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(DisplayType Display READ Display WRITE SetDisplay)
    Q_PROPERTY(float Min READ Min WRITE SetMin)
    Q_PROPERTY(float Max READ Max WRITE SetMax)
    Q_PROPERTY(int XSize READ XSize WRITE SetXSize)
    Q_PROPERTY(int YSize READ YSize WRITE SetYSize)
    Q_PROPERTY(float XScale READ XScale WRITE SetXScale)
    Q_PROPERTY(float YScale READ YScale WRITE SetYScale)
    Q_PROPERTY(float XOffset READ XOffset WRITE SetXOffset)
    Q_PROPERTY(float YOffset READ YOffset WRITE SetYOffset)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool AutoScale READ AutoScale WRITE SetAutoScale)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(QString AutoLoad READ AutoLoad WRITE SetAutoLoad)
    Q_PROPERTY(TDrawingMethodSet DrawingMethod READ DrawingMethod WRITE SetDrawingMethod)
    Q_PROPERTY(QColor DisplayColor READ DisplayColor WRITE SetDisplayColor)

public:
    enum AllocImageType {
        AllocNoImage,
        AllocImage8,
        AllocImage16,
        AllocImage32,
        AllocImageFloat,
        AllocImageRGB,
        AllocImageComplex,
    };
    Q_ENUM(AllocImageType)

    // Bit 0: logarithmic scale; bit 3: quadrants swapped.
    enum DisplayType {
        DisplayNormal,
        DisplayLog,
        DisplayPartIm,
        DisplayPartImLog,
        DisplayPartRe,
        DisplayPartReLog,
        DisplayPower,
        DisplayPowerLog,
        DisplaySwapNormal,
        DisplaySwapLog,
        DisplaySwapPartIm,
        DisplaySwapPartImLog,
        DisplaySwapPartRe,
        DisplaySwapPartReLog,
        DisplaySwapPower,
        DisplaySwapPowerLog,
    };
    Q_ENUM(DisplayType)

    // Bit i is element i; all are passed on to the drawing.
    enum TDrawingMethods {
        DriverHandlesVerticalMirror = 1 << 0,
        SetDIBitsForNonScaledImages = 1 << 1,
        DontPerformSmoothScaling = 1 << 2,
        DontPerformSmoothScalingWhenEnlarging = 1 << 3,
        DontPerformSmoothScalingWhenVerticallyCompressing = 1 << 4,
        HandlesNonWordAlignedImageYOffset = 1 << 5,
    };
    Q_DECLARE_FLAGS(TDrawingMethodSet, TDrawingMethods)
    Q_FLAG(TDrawingMethodSet)

    explicit TImageControl(QWidget* parent = nullptr);
    ~TImageControl() override;

    AllocImageType AllocImage() const { return FAllocImage; }
    QColor BorderColor() const { return FBorderColor; }
    DisplayType Display() const { return FDisplay; }
    float Min() const { return FMin; }
    float Max() const { return FMax; }
    int XSize() const { return FXSize; }
    int YSize() const { return FYSize; }
    float XScale() const { return FXScale; }
    float YScale() const { return FYScale; }
    float XOffset() const { return FXOffset; }
    float YOffset() const { return FYOffset; }
    bool AutoSize() const { return FAutoSize; }
    bool AutoScale() const { return FAutoScale; }
    bool Transparent() const { return FTransparent; }
    QString AutoLoad() const { return FAutoLoad; }
    TDrawingMethodSet DrawingMethod() const { return FDrawingMethod; }
    QColor DisplayColor() const { return FDisplayColor; }

    // The image shown, or null. An image given to SetImage stays the
    // caller's: it must outlive its showing, and the caller frees it.
    ImageStruct* Image() const { return FImage; }
    void SetImage(ImageStruct* image);

    void SetAllocImage(AllocImageType kind);
    void SetBorderColor(const QColor& color);
    void SetDisplay(DisplayType display);
    void SetMin(float value);
    void SetMax(float value);
    void SetXSize(int size);
    void SetYSize(int size);
    void SetXScale(float scale);
    void SetYScale(float scale);
    void SetXOffset(float offset);
    void SetYOffset(float offset);
    void SetAutoSize(bool on);
    void SetAutoScale(bool on);
    void SetTransparent(bool on);
    void SetAutoLoad(const QString& name);
    void SetDrawingMethod(TDrawingMethodSet methods);
    void SetDisplayColor(const QColor& color);

    // Marks the display image for a rebuild and repaints this control and the
    // layers it overlaps.
    void Invalidate();
    void PaintWindow(QPainter* painter);

    // The cached display image (null when the picture is drawn directly or not
    // built yet); it may already be discarded by the cache, so only CacheLock
    // may look at it.
    const ImageStruct* DisplayImage() const { return FDisplayImage; }
    // Whether the next paint converts the image again.
    bool NeedsRebuild() const { return FRebuild; }

    TMouseButtonHook OnAutoMouseDown;
    TMouseButtonHook OnAutoMouseUp;
    TMouseMoveHook OnAutoMouseMove;

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool DrawsDirectly() const;
    bool DisplayColorIsWhite() const { return ColorRef(FDisplayColor) == ColorRefWhite; }
    // Returns the display image locked, or null when none could be built.
    ImageStruct* BuildTImage();
    bool ConvertInto(ImageStruct* display);
    void DropDisplayImage();
    void Resize();
    void FollowXSize();
    void FollowYSize();
    void BringIn(ImageStruct* file);

    ImageStruct* FImage = nullptr;
    AllocImageType FAllocImage = AllocNoImage;
    QColor FBorderColor = QColor(0, 0, 0);
    DisplayType FDisplay = DisplayNormal;
    float FMin = 0;
    float FMax = 255;
    int FXSize = 256;
    int FYSize = 256;
    float FXScale = 1;
    float FYScale = 1;
    float FXOffset = 0;
    float FYOffset = 0;
    bool FAutoSize = false;
    bool FAutoScale = false;
    bool FTransparent = false;
    QString FAutoLoad;
    TDrawingMethodSet FDrawingMethod;
    QColor FDisplayColor = QColor(255, 255, 255);

    ImageStruct* FDisplayImage = nullptr;
    bool FRebuild = true;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TImageControl::TDrawingMethodSet)
