#include "vectorcontrol.h"

#include <QMouseEvent>
#include <QPainter>

#include "overlay.h"
#include "pixpaint.h"

namespace {

// A fresh vector shows a triangle wave, so a control is visible before any
// data arrive.
void FillPreview(VectorStruct* vector)
{
    for (std::size_t i = 0; i < vector->values.size(); ++i) {
        const int r = static_cast<int>(i % 32);
        vector->values[i] = static_cast<float>(r < 16 ? 16 * r : 16 * (32 - r));
    }
}

}  // namespace

TVectorControl::TVectorControl(QWidget* parent) : QWidget(parent)
{
    resize(256, 64);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    SetAllocVector(true);
}

TVectorControl::~TVectorControl()
{
    if (FVector) {
        DestroyVector(FVector);
        delete FVector;
    }
}

void TVectorControl::SetAllocVector(bool on)
{
    if (!on && FAllocVector) {
        if (FVector) {
            DestroyVector(FVector);
            delete FVector;
            FVector = nullptr;
        }
        Invalidate();
    } else if (on && !FAllocVector) {
        auto* vector = new VectorStruct;
        // A size the library refuses leaves an empty vector rather than none.
        if (InitVectorSize(vector, FAllocSize) == 1)
            SetVectorLength(vector, FAllocSize);
        FillPreview(vector);
        FVector = vector;
        Invalidate();
    }
    FAllocVector = on;
}

void TVectorControl::SetAllocSize(int size)
{
    if (FAllocVector && size != FAllocSize) {
        FAllocSize = size;
        SetAllocVector(false);
        SetAllocVector(true);
    } else {
        FAllocSize = size;
    }
}

namespace {

// Stores `value`; true when it differed.
template <class T>
bool Store(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

}  // namespace

void TVectorControl::SetVertical(bool on) { if (Store(FVertical, on)) Invalidate(); }
void TVectorControl::SetVectorColor(const QColor& color) { if (Store(FVectorColor, color)) Invalidate(); }
void TVectorControl::SetColor(const QColor& color) { if (Store(FColor, color)) Invalidate(); }
void TVectorControl::SetTopDown(bool on) { if (Store(FTopDown, on)) Invalidate(); }
void TVectorControl::SetReversed(bool on) { if (Store(FReversed, on)) Invalidate(); }
void TVectorControl::SetAutoMin(bool on) { if (Store(FAutoMin, on)) Invalidate(); }
void TVectorControl::SetAutoMax(bool on) { if (Store(FAutoMax, on)) Invalidate(); }

void TVectorControl::SetMin(float value)
{
    const bool changed = value != FMin;
    FMin = value;
    // While AutoMin is on the stored value is not drawn.
    if (changed && !FAutoMin)
        Invalidate();
}

void TVectorControl::SetMax(float value)
{
    const bool changed = value != FMax;
    FMax = value;
    if (changed && !FAutoMax)
        Invalidate();
}

void TVectorControl::SetTransparent(bool on)
{
    if (on == FTransparent)
        return;
    FTransparent = on;
    // An opaque control paints its whole area; a transparent one only its curve.
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    Invalidate();
}

void TVectorControl::Invalidate()
{
    InvalidateOthers(this);
    update();
}

void TVectorControl::PaintWindow(QPainter* painter)
{
    if (!FTransparent)
        painter->fillRect(rect(), FColor);
    if (!FVector)
        return;
    float low = FMin;
    float high = FMax;
    if (FAutoMin || FAutoMax) {
        float vmin = 0;
        float vmax = 0;
        if (VectorStatistics(&vmin, &vmax, nullptr, nullptr, FVector) == 1) {
            if (FAutoMin)
                low = vmin;
            if (FAutoMax)
                high = vmax;
        }
    }
    const auto W = static_cast<float>(width());
    const auto H = static_cast<float>(height());
    const uint32_t color = ColorRef(FVectorColor);
    if (!FVertical) {
        DrawVectorHorizontal(painter, FVector, FReversed ? W : 0.0f, FTopDown ? H : 0.0f,
                             FReversed ? -1.0f : 1.0f, FTopDown ? -1.0f : 1.0f, W, H, low, high,
                             color);
    } else {
        DrawVectorVertical(painter, FVector, FTopDown ? W : 0.0f, FReversed ? H : 0.0f,
                           FTopDown ? -1.0f : 1.0f, FReversed ? -1.0f : 1.0f, W, H, low, high,
                           color);
    }
}

void TVectorControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintWindow(&painter);
}

void TVectorControl::moveEvent(QMoveEvent* event)
{
    if (FTransparent)
        Invalidate();
    QWidget::moveEvent(event);
}

void TVectorControl::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit mousePressed(event->button(), event->modifiers(), p.x(), p.y());
}

void TVectorControl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit mouseMoved(event->buttons(), event->modifiers(), p.x(), p.y());
}

void TVectorControl::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit mouseReleased(event->button(), event->modifiers(), p.x(), p.y());
}
