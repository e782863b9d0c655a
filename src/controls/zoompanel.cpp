#include "zoompanel.h"

#include <algorithm>

#include <QApplication>
#include <QMetaMethod>
#include <QWheelEvent>

#include "graphicslistcontrol.h"
#include "imagecontrol.h"
#include "overlay.h"

namespace {

// A drag down by half the area or more would otherwise give a zero or
// negative scale: an empty or mirrored picture.
constexpr float MinZoomFactor = 0.05f;

template <class Control>
void BindHooks(Control* control, TZoomPanel* panel, bool on)
{
    if (on) {
        control->OnAutoMouseDown.Owner = panel;
        control->OnAutoMouseDown.Call = [panel](QWidget* sender, Qt::MouseButton button,
                                                Qt::KeyboardModifiers shift, int x, int y) {
            panel->ChildMouseDown(sender, button, shift, x, y);
        };
        control->OnAutoMouseUp.Owner = panel;
        control->OnAutoMouseUp.Call = [panel](QWidget* sender, Qt::MouseButton button,
                                              Qt::KeyboardModifiers shift, int x, int y) {
            panel->ChildMouseUp(sender, button, shift, x, y);
        };
        control->OnAutoMouseMove.Owner = panel;
        control->OnAutoMouseMove.Call = [panel](QWidget* sender, Qt::MouseButtons buttons,
                                                Qt::KeyboardModifiers shift, int x, int y) {
            panel->ChildMouseMove(sender, buttons, shift, x, y);
        };
        return;
    }
    if (control->OnAutoMouseDown.Owner == panel)
        control->OnAutoMouseDown.Clear();
    if (control->OnAutoMouseUp.Owner == panel)
        control->OnAutoMouseUp.Clear();
    if (control->OnAutoMouseMove.Owner == panel)
        control->OnAutoMouseMove.Clear();
}

void BindChild(QObject* child, TZoomPanel* panel, bool on)
{
    if (auto* image = qobject_cast<TImageControl*>(child))
        BindHooks(image, panel, on);
    else if (auto* list = qobject_cast<TGraphicsListControl*>(child))
        BindHooks(list, panel, on);
}

}  // namespace

TZoomPanel::TZoomPanel(QWidget* parent) : QFrame(parent)
{
    SetClientRatio(-1);
    SetMinScale(1);
    FInitialised = true;
    Resize();
    qApp->installEventFilter(this);
}

TZoomPanel::~TZoomPanel()
{
    // Children moved elsewhere must not keep hooks into a destroyed panel.
    for (QObject* child : children())
        BindChild(child, this, false);
}

int TZoomPanel::ChildCount() const
{
    int n = 0;
    for (QObject* child : children())
        if (child->isWidgetType())
            ++n;
    return n;
}

// ---------------------------------------------------------------------------
// Settings

void TZoomPanel::SetMinScale(float scale)
{
    FMinScale = (scale > 1 || scale < 0) ? 1.0f : scale;
}

void TZoomPanel::SetMaxScale(float scale)
{
    FMaxScale = (scale != 0 && scale < 1) ? 1.0f : scale;
}

void TZoomPanel::SetClientRatio(float ratio)
{
    FClientRatio = ratio;
    Resize();
}

void TZoomPanel::SetResizeChildren(bool on)
{
    FResizeChildren = on;
    Resize();
}

void TZoomPanel::connectNotify(const QMetaMethod& signal)
{
    // A new listener hears the current zoom at once.
    if (signal == QMetaMethod::fromSignal(&TZoomPanel::zoomed))
        Resize();
}

void TZoomPanel::SetAutoMouse(bool on)
{
    const int n = ChildCount();
    if (on == FAutoMouse && n == FBoundChildren)
        return;
    FBoundChildren = n;
    FAutoMouse = on;
    for (QObject* child : children())
        BindChild(child, this, on);
}

// ---------------------------------------------------------------------------
// Layout

void TZoomPanel::Resize()
{
    if (FInitialised) {
        if (FResizeChildren) {
            int w = width();
            int h = height();
            if (FClientRatio > 0) {
                if (static_cast<double>(h) > static_cast<double>(w) / FClientRatio)
                    h = TruncToInt(static_cast<double>(w) / FClientRatio);
                else
                    w = TruncToInt(static_cast<double>(FClientRatio) * h);
            }
            FWidth = w;
            FHeight = h;
            FLeft = (width() - w) / 2;
            FTop = (height() - h) / 2;
            for (QObject* child : children())
                if (child->isWidgetType())
                    static_cast<QWidget*>(child)->setGeometry(FLeft, FTop, w, h);
        } else {
            const QRect client = contentsRect();
            FLeft = client.left();
            FTop = client.top();
            FWidth = client.width();
            FHeight = client.height();
        }
    }
    generateZoomEvent();
}

void TZoomPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    Resize();
}

void TZoomPanel::AdoptNewChildren()
{
    if (ChildCount() == FBoundChildren)
        return;
    SetAutoMouse(FAutoMouse);
    Resize();
}

void TZoomPanel::paintEvent(QPaintEvent* event)
{
    AdoptNewChildren();
    QFrame::paintEvent(event);
}

void TZoomPanel::childEvent(QChildEvent* event)
{
    QFrame::childEvent(event);
    // Opaque children may cover the panel so that it is never painted; a
    // child is also adopted when it is first shown (polished), by then fully
    // constructed.
    if (event->type() == QEvent::ChildPolished)
        AdoptNewChildren();
}

// ---------------------------------------------------------------------------
// Zoom arithmetic

void TZoomPanel::ClampOffset(double scale, double& offset)
{
    if (offset > 0)
        offset = 0;
    if (scale + offset < 1)
        offset = 1 - scale;
}

void TZoomPanel::Reset()
{
    FZoom = TZoom{};
    generateZoomEvent();
}

void TZoomPanel::Move(int dx, int dy)
{
    if (FXEnable && FWidth > 0) {
        FZoom.XOffset += static_cast<float>(dx) / static_cast<float>(FWidth);
        if (FXNoEmptyBorder)
            ClampOffset(FZoom.XScale, FZoom.XOffset);
    }
    if (FYEnable && FHeight > 0) {
        FZoom.YOffset += static_cast<float>(dy) / static_cast<float>(FHeight);
        if (FYNoEmptyBorder)
            ClampOffset(FZoom.YScale, FZoom.YOffset);
    }
    if (FXEnable || FYEnable)
        generateZoomEvent();
}

void TZoomPanel::ScaleAxis(double& scale, double& offset, float u, float f,
                           bool noEmptyBorder) const
{
    if (FMaxScale == 0 || f > 0 || scale < FMaxScale) {
        const float k = std::max(1 - f * FScaleSpeed, MinZoomFactor);
        // The point at fraction u stays in place.
        offset = u + (offset - u) * k;
        scale = k * scale;
    }
    if (FMinScale != 0 && scale < FMinScale)
        scale = FMinScale;
    if (scale < 1)
        offset = (1 - scale) * 0.5;  // a smaller picture sits in the middle
    else if (noEmptyBorder)
        ClampOffset(scale, offset);
}

void TZoomPanel::Scale(int x, int y, int d)
{
    const bool xZooms = FXEnable && FXScaleEnable;
    const bool yZooms = FYEnable && FYScaleEnable;
    if (FHeight <= 0)
        return;  // no area to zoom in
    const float f = static_cast<float>(d) / static_cast<float>(FHeight);
    if (xZooms && FWidth > 0)
        ScaleAxis(FZoom.XScale, FZoom.XOffset, static_cast<float>(x) / static_cast<float>(FWidth),
                  f, FXNoEmptyBorder);
    if (yZooms)
        ScaleAxis(FZoom.YScale, FZoom.YOffset,
                  static_cast<float>(y) / static_cast<float>(FHeight), f, FYNoEmptyBorder);
    if (xZooms || yZooms)
        generateZoomEvent();
}

void TZoomPanel::SetFracScale(double scale)
{
    if (FXEnable && FXScaleEnable)
        FZoom.XScale = scale;
    if (FYEnable && FYScaleEnable)
        FZoom.YScale = scale;
    Scale(width() / 2, height() / 2, 0);
}

// ---------------------------------------------------------------------------
// Mouse modes

void TZoomPanel::StartMove(int x, int y)
{
    if (FMode != MouseIdle)
        return;
    FMode = MouseMoving;
    FLastX = x;
    FLastY = y;
}

void TZoomPanel::StartScale(int x, int y)
{
    if (FMode != MouseIdle)
        return;
    FMode = MouseScaling;
    FLastY = y;
    FCentreX = x;
    FCentreY = y;
}

void TZoomPanel::StopMove()
{
    if (FMode == MouseMoving)
        FMode = MouseIdle;
}

void TZoomPanel::StopScale()
{
    if (FMode == MouseScaling)
        FMode = MouseIdle;
}

void TZoomPanel::PointMove(int x, int y)
{
    if (FMode == MouseMoving) {
        Move(x - FLastX, y - FLastY);
        FLastX = x;
    } else if (FMode == MouseScaling) {
        Scale(FCentreX, FCentreY, y - FLastY);
    } else {
        return;
    }
    FLastY = y;
}

// The child keeps the mouse from press to release (Qt's implicit grab), so a
// right-button drag goes on reaching it outside its bounds.
void TZoomPanel::ChildMouseDown(QWidget*, Qt::MouseButton button, Qt::KeyboardModifiers, int x,
                                int y)
{
    if (button == Qt::LeftButton)
        StartMove(x, y);
    else if (button == Qt::RightButton)
        StartScale(x, y);
}

void TZoomPanel::ChildMouseUp(QWidget*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int)
{
    if (button == Qt::LeftButton)
        StopMove();
    else if (button == Qt::RightButton)
        StopScale();
}

void TZoomPanel::ChildMouseMove(QWidget*, Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y)
{
    PointMove(x, y);
}

// ---------------------------------------------------------------------------
// Pushing the zoom

void TZoomPanel::generateZoomEvent()
{
    if (FAutoMouse) {
        TImageControl* reference = nullptr;
        for (QObject* child : children()) {
            auto* image = qobject_cast<TImageControl*>(child);
            if (!image || image->XSize() <= 0 || image->YSize() <= 0)
                continue;
            if (!reference || (image->Image() && !reference->Image()))
                reference = image;
        }
        if (reference) {
            const double W = reference->width();
            const double H = reference->height();
            const double X = reference->XSize();
            const double Y = reference->YSize();
            const auto xScale = static_cast<float>(W * FZoom.XScale / X);
            const auto yScale = static_cast<float>(H * FZoom.YScale / Y);
            const auto xOffset = static_cast<float>(W * FZoom.XOffset);
            const auto yOffset = static_cast<float>(H * FZoom.YOffset);
            for (QObject* child : children()) {
                if (auto* image = qobject_cast<TImageControl*>(child)) {
                    // Off first, so the scales below do not resize the control.
                    image->SetAutoSize(false);
                    image->SetAutoScale(false);
                    image->SetXScale(xScale);
                    image->SetYScale(yScale);
                    image->SetXOffset(xOffset);
                    image->SetYOffset(yOffset);
                } else if (auto* list = qobject_cast<TGraphicsListControl*>(child)) {
                    list->SetXScale(xScale);
                    list->SetYScale(yScale);
                    list->SetXOffset(xOffset);
                    list->SetYOffset(yOffset);
                }
            }
        }
    }
    emit zoomed(FZoom);
}

// ---------------------------------------------------------------------------
// Wheel

bool TZoomPanel::eventFilter(QObject* watched, QEvent* event)
{
    bool handled = false;
    AppEventsMessage(watched, event, handled);
    return handled || QFrame::eventFilter(watched, event);
}

void TZoomPanel::AppEventsMessage(QObject* watched, QEvent* event, bool& handled)
{
    if (event->type() != QEvent::Wheel || !watched->isWidgetType())
        return;
    if (ProcessMouseWheelMessage(static_cast<QWidget*>(watched),
                                 *static_cast<QWheelEvent*>(event)))
        handled = true;
}

bool TZoomPanel::ProcessMouseWheelMessage(QWidget* receiver, const QWheelEvent& event)
{
    // The control is found from the cursor, not from the receiver: while an
    // unhandled wheel event climbs to the parents, each step must reach the
    // same answer.
    QWidget* window = receiver->window();
    const QPoint global = event.globalPosition().toPoint();
    QWidget* control = window->childAt(window->mapFromGlobal(global));
    if (!control)
        return false;
    auto* panel = qobject_cast<TZoomPanel*>(control->parentWidget());
    if (!panel || !panel->ScaleWheel())
        return false;
    const QPoint local = control->mapFromGlobal(global);
    const int delta = event.angleDelta().y();
    panel->Scale(local.x(), local.y(), (delta * -control->height()) / 2400);
    return true;
}
