#include "imagecontrol.h"

#include <algorithm>

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

#include "pixload.h"
#include "pixpaint.h"

TImageControl::TImageControl(QWidget* parent) : QWidget(parent)
{
    resize(256, 256);
    FXSize = width();
    FYSize = height();
    setMouseTracking(true);
    // The control paints its whole area itself, border included.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    SetImage(nullptr);
    SetAllocImage(AllocImage8);
}

TImageControl::~TImageControl()
{
    if (FAllocImage != AllocNoImage && FImage)
        DeleteImage(FImage);
    DropDisplayImage();
}

void TImageControl::DropDisplayImage()
{
    if (FDisplayImage && CacheLock(FDisplayImage))
        DeleteImage(FDisplayImage);
    FDisplayImage = nullptr;
}

// ---------------------------------------------------------------------------
// Image and its size

void TImageControl::SetAllocImage(AllocImageType kind)
{
    if (kind < AllocNoImage || kind > AllocImageComplex)
        kind = AllocNoImage;
    if (kind == FAllocImage)
        return;
    if (FAllocImage != AllocNoImage && FImage) {
        DeleteImage(FImage);
        FImage = nullptr;
    }
    ImageStruct* image = nullptr;
    switch (kind) {
    case AllocNoImage: break;
    case AllocImage8: image = NewImage8(FXSize, FYSize); break;
    case AllocImage16: image = NewImage16(FXSize, FYSize); break;
    case AllocImage32: image = NewImage32(FXSize, FYSize); break;
    case AllocImageFloat: image = NewImageFloat(FXSize, FYSize); break;
    case AllocImageRGB: image = NewImageRGB(FXSize, FYSize); break;
    case AllocImageComplex: image = NewImageComplex(FXSize, FYSize); break;
    }
    if (kind != AllocNoImage)
        FImage = image;
    FAllocImage = kind;
    if (image)
        ImageFill(image, 0);
    Invalidate();
}

void TImageControl::SetImage(ImageStruct* image)
{
    if (image == FImage)
        return;
    if (image && ImageKind(image) == PixTypeRGB && FTransparent && !DisplayColorIsWhite())
        return;
    if (FAllocImage != AllocNoImage) {
        if (FImage)
            DeleteImage(FImage);
        FAllocImage = AllocNoImage;
    }
    FImage = image;
    if (image) {
        if (image->xsize != FXSize)
            SetXSize(image->xsize);
        if (image->ysize != FYSize)
            SetYSize(image->ysize);
    }
    Invalidate();
}

void TImageControl::FollowXSize()
{
    if (FAutoSize) {
        resize(std::max(0, TruncToInt(static_cast<double>(FXSize) * FXScale)), height());
        FXOffset = 0;
    }
    if (FAutoScale) {
        FXOffset = 0;
        FXScale = FXSize > 0 ? static_cast<float>(width()) / static_cast<float>(FXSize) : 0.0f;
    }
    if (FAutoSize || FAutoScale) {
        InvalidateOthers(this);
        update();
    }
}

void TImageControl::FollowYSize()
{
    if (FAutoSize) {
        resize(width(), std::max(0, TruncToInt(static_cast<double>(FYSize) * FYScale)));
        FYOffset = 0;
    }
    if (FAutoScale) {
        FYOffset = 0;
        FYScale = FYSize > 0 ? static_cast<float>(height()) / static_cast<float>(FYSize) : 0.0f;
    }
    if (FAutoSize || FAutoScale) {
        InvalidateOthers(this);
        update();
    }
}

void TImageControl::SetXSize(int size)
{
    const bool reallocate = FAllocImage != AllocNoImage && size != FXSize;
    FXSize = size;
    if (reallocate) {
        const AllocImageType kind = FAllocImage;
        SetAllocImage(AllocNoImage);
        SetAllocImage(kind);
    }
    FollowXSize();
}

void TImageControl::SetYSize(int size)
{
    const bool reallocate = FAllocImage != AllocNoImage && size != FYSize;
    FYSize = size;
    if (reallocate) {
        const AllocImageType kind = FAllocImage;
        SetAllocImage(AllocNoImage);
        SetAllocImage(kind);
    }
    FollowYSize();
}

// ---------------------------------------------------------------------------
// Geometry of the picture: only a repaint, the display image stays.

void TImageControl::SetXScale(float scale)
{
    if (scale != FXScale) {
        FXScale = scale;
        InvalidateOthers(this);
        update();
    }
    if (FAutoSize) {
        resize(std::max(0, TruncToInt(static_cast<double>(FXSize) * FXScale)), height());
        FXOffset = 0;
    }
}

void TImageControl::SetYScale(float scale)
{
    if (scale != FYScale) {
        FYScale = scale;
        InvalidateOthers(this);
        update();
    }
    if (FAutoSize) {
        resize(width(), std::max(0, TruncToInt(static_cast<double>(FYSize) * FYScale)));
        FYOffset = 0;
    }
}

void TImageControl::SetXOffset(float offset)
{
    if (offset == FXOffset)
        return;
    FXOffset = offset;
    InvalidateOthers(this);
    update();
}

void TImageControl::SetYOffset(float offset)
{
    if (offset == FYOffset)
        return;
    FYOffset = offset;
    InvalidateOthers(this);
    update();
}

void TImageControl::SetBorderColor(const QColor& color)
{
    if (color == FBorderColor)
        return;
    FBorderColor = color;
    InvalidateOthers(this);
    update();
}

// ---------------------------------------------------------------------------
// What the picture shows: these rebuild the display image.

void TImageControl::SetDisplay(DisplayType display)
{
    if (display == FDisplay)
        return;
    FDisplay = display;
    Invalidate();
}

void TImageControl::SetDrawingMethod(TDrawingMethodSet methods)
{
    if (methods == FDrawingMethod)
        return;
    FDrawingMethod = methods;
    Invalidate();
}

// While transparent the picture must stay directly drawable, so the value
// window and the tint are locked.
void TImageControl::SetMin(float value)
{
    if (value == FMin || FTransparent)
        return;
    FMin = value;
    Invalidate();
}

void TImageControl::SetMax(float value)
{
    if (value == FMax || FTransparent)
        return;
    FMax = value;
    Invalidate();
}

void TImageControl::SetDisplayColor(const QColor& color)
{
    if (color == FDisplayColor)
        return;
    if (FTransparent && FImage &&
        (ImageKind(FImage) == PixTypeRGB || FMin != 0 || FMax != 255))
        return;
    FDisplayColor = color;
    Invalidate();
}

void TImageControl::SetTransparent(bool on)
{
    if (on == FTransparent)
        return;
    if (FMin != 0 || FMax != 255)
        return;
    if (FImage && ImageKind(FImage) == PixTypeRGB && !DisplayColorIsWhite())
        return;
    FTransparent = on;
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    Invalidate();
}

void TImageControl::SetAutoSize(bool on)
{
    if (on != FAutoSize && (!on || !FAutoScale))
        FAutoSize = on;
}

void TImageControl::SetAutoScale(bool on)
{
    if (on == FAutoScale || (on && FAutoSize))
        return;
    FAutoScale = on;
    Resize();
}

void TImageControl::Resize()
{
    if (!FAutoScale)
        return;
    FXOffset = 0;
    FYOffset = 0;
    FXScale = FXSize > 0 ? static_cast<float>(width()) / static_cast<float>(FXSize) : 0.0f;
    FYScale = FYSize > 0 ? static_cast<float>(height()) / static_cast<float>(FYSize) : 0.0f;
    InvalidateOthers(this);
    update();
}

void TImageControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Resize();
}

void TImageControl::moveEvent(QMoveEvent* event)
{
    if (FTransparent) {
        InvalidateOthers(this);
        update();
    }
    QWidget::moveEvent(event);
}

void TImageControl::Invalidate()
{
    FRebuild = true;
    InvalidateOthers(this);
    update();
}

// ---------------------------------------------------------------------------
// Painting

bool TImageControl::DrawsDirectly() const
{
    const bool type = FImage->type == PixTypeBitmap8 ||
                      (FImage->type == PixTypeBitmapRGB && DisplayColorIsWhite());
    const bool window = FMin == 0 && FMax == 255;
    const bool order = FImage->line_step < 0 || FDrawingMethod.testFlag(DriverHandlesVerticalMirror);
    const bool aligned =
        FImage->line_step % 4 == 0 || FDrawingMethod.testFlag(HandlesNonWordAlignedImageYOffset);
    return type && window && order && aligned;
}

bool TImageControl::ConvertInto(ImageStruct* display)
{
    const uint16_t kind = ImageKind(FImage);
    const bool fullWindow = FMin == 0 && FMax == 255;
    const int display4 = static_cast<int>(FDisplay) & 7;
    const bool log = (static_cast<int>(FDisplay) & 1) != 0;
    auto convert = [&](ImageStruct* d, const ImageStruct* s) {
        switch (kind) {
        case PixType8:
            if (fullWindow)
                ImageTransfer(d, s);
            else
                Image8ToImage8(d, s, FMin, FMax);
            break;
        case PixType16: Image16ToImage8(d, s, FMin, FMax); break;
        case PixType32: Image32ToImage8(d, s, FMin, FMax); break;
        case PixTypeFloat:
            if (log)
                ImageFloatLogToImage8(d, s, FMin, FMax);
            else
                ImageFloatToImage8(d, s, FMin, FMax);
            break;
        case PixTypeRGB:
            if (!DisplayColorIsWhite())
                ImageRGBToImageRGBColor(d, s, ColorRef(FDisplayColor), FMin, FMax);
            else if (fullWindow)
                ImageTransfer(d, s);
            else
                ImageRGBToImageRGB(d, s, FMin, FMax);
            break;
        case PixTypeComplex:
            switch (display4) {
            case 0:
            case 4: ImageComplexReToImage8(d, s, FMin, FMax); break;
            case 1:
            case 5: ImageComplexReLogToImage8(d, s, FMin, FMax); break;
            case 2: ImageComplexImToImage8(d, s, FMin, FMax); break;
            case 3: ImageComplexImLogToImage8(d, s, FMin, FMax); break;
            case 6: ImageComplexPowerToImage8(d, s, FMin, FMax); break;
            default: ImageComplexPowerLogToImage8(d, s, FMin, FMax); break;
            }
            break;
        default: break;
        }
    };
    switch (kind) {
    case PixType8:
    case PixType16:
    case PixType32:
    case PixTypeFloat:
    case PixTypeRGB:
    case PixTypeComplex: break;
    default: return false;
    }
    const bool swap = (static_cast<int>(FDisplay) & 8) != 0 &&
                      (kind == PixTypeFloat || kind == PixTypeComplex);
    if (!swap) {
        convert(display, FImage);
        return true;
    }
    // Each display quadrant shows the diagonally opposite image quadrant, so
    // image column 0 lands at display column W / 2, odd sizes included.
    const int W = FImage->xsize;
    const int H = FImage->ysize;
    const int w = W / 2;
    const int h = H / 2;
    struct Quadrant {
        int dx, dy, sx, sy, qw, qh;
    };
    const Quadrant quadrants[4] = {
        {0, 0, W - w, H - h, w, h},
        {w, 0, 0, H - h, W - w, h},
        {0, h, W - w, 0, w, H - h},
        {w, h, 0, 0, W - w, H - h},
    };
    for (const Quadrant& q : quadrants) {
        ImageStruct displayView;
        ImageStruct imageView;
        if (SetTempReference(&displayView, display, q.dx, q.dy, q.qw, q.qh) == 1 &&
            SetTempReference(&imageView, FImage, q.sx, q.sy, q.qw, q.qh) == 1)
            convert(&displayView, &imageView);
    }
    return true;
}

ImageStruct* TImageControl::BuildTImage()
{
    if (!FImage)
        return nullptr;
    const uint16_t wanted = ImageKind(FImage) == PixTypeRGB ? PixTypeRGB : PixType8;
    ImageStruct* display = nullptr;
    if (FDisplayImage) {
        display = CacheLock(FDisplayImage);
        // A display image of another size or kind cannot take the conversion.
        if (display && (display->xsize != FImage->xsize || display->ysize != FImage->ysize ||
                        ImageKind(display) != wanted)) {
            DeleteImage(display);
            display = nullptr;
        }
        FDisplayImage = display;
    }
    if (!display) {
        display = wanted == PixTypeRGB
                      ? NewImageRGBAlloc(FImage->xsize, FImage->ysize, 768, CacheAllocLock,
                                         CacheUnlockFree)
                      : NewImage8Alloc(FImage->xsize, FImage->ysize, 768, CacheAllocLock,
                                       CacheUnlockFree);
        FDisplayImage = display;
        if (!display)
            return nullptr;
    }
    if (!ConvertInto(display)) {
        // Unconverted pixels are never shown; the rebuild flag stays set.
        CacheUnlock(display);
        return nullptr;
    }
    FRebuild = false;
    return display;
}

void TImageControl::PaintWindow(QPainter* painter)
{
    const int W = width();
    const int H = height();
    float left = 0;
    float top = 0;
    auto right = static_cast<float>(W);
    auto bottom = static_cast<float>(H);
    painter->save();
    painter->setPen(Qt::NoPen);
    // Fills like a rectangle drawn without a pen: one pixel short of (x1, y1).
    auto fill = [&](int x0, int y0, int x1, int y1) {
        if (x1 - 1 > x0 && y1 - 1 > y0)
            painter->fillRect(QRect(x0, y0, x1 - 1 - x0, y1 - 1 - y0), FBorderColor);
    };
    const uint32_t border = ColorRef(FBorderColor);
    const uint32_t tint = ColorRef(FDisplayColor);
    auto flags = static_cast<uint32_t>(FDrawingMethod.toInt());
    if (FTransparent)
        flags |= DrawImageNothingOutside;

    ImageStruct* shown = nullptr;
    if (FImage && DrawsDirectly()) {
        shown = FImage;
        DrawImage(painter, FImage, FXOffset, FYOffset, FXScale, FYScale, tint, flags, border);
        ImageExtent(painter, FImage, FXOffset, FYOffset, &left, &top, &right, &bottom, FXScale,
                    FYScale);
        DropDisplayImage();
        FRebuild = false;
    } else if (FImage) {
        ImageStruct* display = nullptr;
        if (!FDisplayImage || FRebuild) {
            display = BuildTImage();
        } else {
            display = CacheLock(FDisplayImage);
            if (!display) {
                FDisplayImage = nullptr;  // discarded by the cache: build it again
                display = BuildTImage();
            }
        }
        if (display) {
            shown = display;
            // An RGB picture was tinted by its conversion already.
            const uint32_t drawTint = ImageKind(FImage) == PixTypeRGB ? ColorRefWhite : tint;
            DrawImage(painter, display, FXOffset, FYOffset, FXScale, FYScale, drawTint, flags,
                      border);
            ImageExtent(painter, display, FXOffset, FYOffset, &left, &top, &right, &bottom,
                        FXScale, FYScale);
            CacheUnlock(display);
        }
    }
    if (!shown) {
        if (!FTransparent)
            fill(0, 0, W + 1, H + 1);
        painter->restore();
        return;
    }
    if (!FTransparent) {
        if (left > 0)
            fill(0, 0, TruncToInt(left + 1.0), H + 1);
        if (top > 0)
            fill(TruncToInt(left), 0, TruncToInt(right + 2.0), TruncToInt(top + 1.0));
        if (static_cast<float>(H - 1) > bottom)
            fill(TruncToInt(left), TruncToInt(bottom + 1.0), TruncToInt(right + 2.0), H + 1);
        if (static_cast<float>(W - 1) > right)
            fill(TruncToInt(right + 1.0), 0, W + 1, H + 1);
    }
    painter->restore();
}

void TImageControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintWindow(&painter);
}

// ---------------------------------------------------------------------------
// Image files

void TImageControl::BringIn(ImageStruct* file)
{
    const uint16_t own = ImageKind(FImage);
    const uint16_t got = ImageKind(file);
    const bool owned = FAllocImage != AllocNoImage;
    if (owned && own == got && (own == PixType8 || own == PixTypeRGB)) {
        // The file's image takes the place of the owned one; the sizes follow
        // without re-allocating, which would lose the picture.
        DeleteImage(FImage);
        FImage = file;
        FXSize = file->xsize;
        FYSize = file->ysize;
        FollowXSize();
        FollowYSize();
        return;
    }
    ImageStruct* grey = file;
    ImageStruct* temporary = nullptr;
    if (own == PixType8) {
        if (got == PixTypeRGB)
            ImageRGBToImage8(FImage, file, 0, 255);
        else
            ImageTransfer(FImage, file);
    } else if (own == PixTypeRGB) {
        if (got == PixType8)
            Image8ToImageRGB(FImage, file);
        else
            ImageTransfer(FImage, file);
    } else {
        if (got == PixTypeRGB) {
            temporary = NewImage8(file->xsize, file->ysize);
            if (temporary)
                ImageRGBToImage8(temporary, file, 0, 255);
            grey = temporary;
        }
        if (grey) {
            switch (own) {
            case PixType16: Image8ToImage16(FImage, grey); break;
            case PixType32: Image8ToImage32(FImage, grey); break;
            case PixTypeFloat: Image8ToImageFloat(FImage, grey); break;
            case PixTypeComplex: Image8ToImageComplex(FImage, grey); break;
            default: break;
            }
        }
    }
    ImageInfoTransfer(FImage, file);
    if (temporary)
        DeleteImage(temporary);
    DeleteImage(file);
}

void TImageControl::SetAutoLoad(const QString& name)
{
    FAutoLoad = name;
    if (!FImage || name.isEmpty())
        return;
    const bool owned = FAllocImage != AllocNoImage;
    ImageStruct* file = nullptr;
    if (FAutoSize) {
        file = CreateImageFile(name, 0, 0, 0);
        if (!file)
            return;
        if (owned && (file->xsize != FXSize || file->ysize != FYSize)) {
            // The owned image takes the file's size on both axes, so a
            // converted picture is neither cut nor padded.
            FXSize = file->xsize;
            FYSize = file->ysize;
            const AllocImageType kind = FAllocImage;
            SetAllocImage(AllocNoImage);
            SetAllocImage(kind);
            if (!FImage) {
                DeleteImage(file);
                return;
            }
        }
        FXOffset = 0;
        FYOffset = 0;
        resize(std::max(0, TruncToInt(static_cast<double>(FXSize) * FXScale)),
               std::max(0, TruncToInt(static_cast<double>(FYSize) * FYScale)));
    } else {
        ImageFileInfoStruct info;
        if (!GetImageFileInfo(name, 0, &info))
            return;
        file = info.color ? NewImageRGB(FImage->xsize, FImage->ysize)
                          : NewImage8(FImage->xsize, FImage->ysize);
        if (!file)
            return;
        ImageFill(file, 0);
        if (LoadImageFile(name, 0, file, 0, 0) != 1) {
            DeleteImage(file);
            return;
        }
    }
    BringIn(file);
    Invalidate();
}

// ---------------------------------------------------------------------------
// Mouse: the standard signals first; a zoom panel's hooks only when nothing
// listens to them.

void TImageControl::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    if (isSignalConnected(QMetaMethod::fromSignal(&TImageControl::mousePressed)))
        emit mousePressed(event->button(), event->modifiers(), p.x(), p.y());
    else if (OnAutoMouseDown)
        OnAutoMouseDown.Call(this, event->button(), event->modifiers(), p.x(), p.y());
}

void TImageControl::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    if (isSignalConnected(QMetaMethod::fromSignal(&TImageControl::mouseMoved)))
        emit mouseMoved(event->buttons(), event->modifiers(), p.x(), p.y());
    else if (OnAutoMouseMove)
        OnAutoMouseMove.Call(this, event->buttons(), event->modifiers(), p.x(), p.y());
}

void TImageControl::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    if (isSignalConnected(QMetaMethod::fromSignal(&TImageControl::mouseReleased)))
        emit mouseReleased(event->button(), event->modifiers(), p.x(), p.y());
    else if (OnAutoMouseUp)
        OnAutoMouseUp.Call(this, event->button(), event->modifiers(), p.x(), p.y());
}
