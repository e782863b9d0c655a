#include "graphicslistcontrol.h"

#include <cmath>
#include <numbers>

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "pixpaint.h"

// ---------------------------------------------------------------------------
// Notify objects

TGLCNotifyObject::~TGLCNotifyObject()
{
    // A control must never keep a pointer to a destroyed mirror.
    if (ListControl && ListControl->NotifyObject(ItemIndex) == this)
        ListControl->SetNotifyObject(ItemIndex, nullptr);
}

void TGLCNotifyObject::RegisterTo(TGraphicsListControl* control, int index)
{
    if (ListControl && ListControl->NotifyObject(ItemIndex) == this)
        ListControl->SetNotifyObject(ItemIndex, nullptr);
    ListControl = control;
    ItemIndex = index;
    if (control) {
        control->SetNotifyObject(index, this);
        // Outside the control's table nothing would tell this object when the
        // control goes away, so it stays unregistered.
        if (control->NotifyObject(index) != this)
            ListControl = nullptr;
    }
}

void TGLCNotifyObject::StartEdit()
{
    if (ListControl && ListControl->List())
        ListControl->StartDefaultEdit(ItemIndex);
}

// ---------------------------------------------------------------------------
// Grips

void TGraphicsListControl::TGrip::Fill(float x, float y, TGripOrientation orientation, int size,
                                       bool movable)
{
    X = x;
    Y = y;
    Orientation = orientation;
    Size = size;
    Movable = movable;
    Visible = true;
}

void TGraphicsListControl::TGripLine::Fill(int from, int to)
{
    From = from;
    To = to;
    Visible = true;
}

bool TGraphicsListControl::HitsGrip(int x, int y, int gx, int gy, int size)
{
    return gx - size <= x && x <= gx + size && gy - size <= y && y <= gy + size;
}

bool TGraphicsListControl::HitsGrip(int x, int y, const TGrip& grip)
{
    return HitsGrip(x, y, grip.ScreenX, grip.ScreenY, grip.Size);
}

QPoint TGraphicsListControl::GripScreenPosition(const TGrip& grip) const
{
    int px = TruncToInt(static_cast<double>(grip.X * FXScale + FXOffset));
    int py = TruncToInt(static_cast<double>(grip.Y * FYScale + FYOffset));
    const int e = grip.Size + 1;
    switch (grip.Orientation) {
    case GripCenter: break;
    case GripAbove: py -= e; break;
    case GripBelow: py += e; break;
    case GripRight: px += e; break;
    case GripLeft: px -= e; break;
    case GripAboveLeft: px -= e; py -= e; break;
    case GripAboveRight: px += e; py -= e; break;
    case GripBelowLeft: px -= e; py += e; break;
    case GripBelowRight: px += e; py += e; break;
    }
    return {px, py};
}

void TGraphicsListControl::UpdateGripScreenPositions()
{
    for (int i = 0; i < Grips.Count(); ++i) {
        TGrip& grip = Grips[i];
        const QPoint p = GripScreenPosition(grip);
        grip.ScreenX = p.x();
        grip.ScreenY = p.y();
    }
}

void TGraphicsListControl::DrawGrips()
{
    // Grips are painted with the control, so moving one is a recompute and a
    // repaint rather than drawing it twice in XOR.
    UpdateGripScreenPositions();
    update();
}

void TGraphicsListControl::ClearGrips()
{
    Grips.Clear();
    GripLines.Clear();
}

// ---------------------------------------------------------------------------
// Construction and properties

TGraphicsListControl::TGraphicsListControl(QWidget* parent) : QWidget(parent)
{
    resize(256, 256);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    SetAllocList(true);
}

TGraphicsListControl::~TGraphicsListControl()
{
    ReleaseNotifyTable();
    if (FList) {
        DestroyList(FList);
        delete FList;
    }
}

TGLCNotifyObject* TGraphicsListControl::NotifyObject(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= FNotify.size())
        return nullptr;
    return FNotify[static_cast<std::size_t>(index)];
}

void TGraphicsListControl::ReleaseNotifyTable()
{
    if (!FHasNotifyTable)
        return;
    // Detached first: a callback that registers again must not reach a table
    // that is being dropped.
    std::vector<TGLCNotifyObject*> table;
    table.swap(FNotify);
    FHasNotifyTable = false;
    for (TGLCNotifyObject* object : table) {
        if (!object)
            continue;
        object->cbDelete();
        if (object->ListControl == this)
            object->ListControl = nullptr;
    }
}

void TGraphicsListControl::SetNotifyObject(int index, TGLCNotifyObject* object)
{
    if (!FHasNotifyTable) {
        FNotify.assign(static_cast<std::size_t>(std::max(FAllocSize, 0)), nullptr);
        FHasNotifyTable = true;
    }
    if (index < 0 || index >= FAllocSize || static_cast<std::size_t>(index) >= FNotify.size())
        return;
    TGLCNotifyObject*& entry = FNotify[static_cast<std::size_t>(index)];
    // A mirror displaced by another is no longer this control's to notify.
    if (entry && entry != object && entry->ListControl == this)
        entry->ListControl = nullptr;
    entry = object;
}

void TGraphicsListControl::SetAllocList(bool on)
{
    if (!on && FAllocList) {
        if (FList) {
            DestroyList(FList);
            delete FList;
            FList = nullptr;
        }
        Invalidate();
        ReleaseNotifyTable();
    } else if (on && !FAllocList) {
        FList = new GraphicsListStruct;
        InitListSize(FList, std::max(FAllocSize, 0));
        Invalidate();
        if (FHasNotifyTable) {
            for (TGLCNotifyObject* object : FNotify)
                if (object)
                    object->cbReInsert();
        }
    }
    FAllocList = on;
}

void TGraphicsListControl::SetAllocSize(int size)
{
    if (FHasNotifyTable && size > FAllocSize)
        FNotify.resize(static_cast<std::size_t>(size), nullptr);
    if (FAllocList && size != FAllocSize) {
        FAllocSize = size;
        SetAllocList(false);
        SetAllocList(true);
    } else {
        FAllocSize = size;
    }
}

void TGraphicsListControl::SetTransparent(bool on)
{
    if (on == FTransparent)
        return;
    FTransparent = on;
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    Invalidate();
}

void TGraphicsListControl::SetDisplayStart(int start)
{
    if (start == FDisplayStart)
        return;
    FDisplayStart = start;
    Invalidate();
}

void TGraphicsListControl::SetDisplayCount(int count)
{
    if (count == FDisplayCount)
        return;
    FDisplayCount = count;
    Invalidate();
}

void TGraphicsListControl::SetColor(const QColor& color)
{
    if (color == FColor)
        return;
    FColor = color;
    Invalidate();
}

void TGraphicsListControl::Invalidate()
{
    InvalidateOthers(this);
    update();
}

// ---------------------------------------------------------------------------
// Painting

void TGraphicsListControl::PaintWindow(QPainter* painter)
{
    if (!FTransparent)
        painter->fillRect(rect(), FColor);
    if (FList)
        DrawList(painter, FList, FXOffset, FYOffset, FXScale, FYScale, FDisplayStart,
                 FDisplayCount);
    if (!FEditing)
        return;
    UpdateGripScreenPositions();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(QColor(128, 0, 128), 1));
    painter->setBrush(Qt::NoBrush);
    for (int i = 0; i < Grips.Count(); ++i) {
        const TGrip& grip = Grips[i];
        if (!grip.Visible)
            continue;
        const int s = grip.Size;
        // Covers (px - s + 1, py - s + 1) to (px + s, py + s), as the hit test expects.
        painter->drawRect(grip.ScreenX - s + 1, grip.ScreenY - s + 1, 2 * s - 2, 2 * s - 2);
    }
    for (int i = 0; i < GripLines.Count(); ++i) {
        const TGripLine& line = GripLines[i];
        if (!line.Visible)
            continue;
        const TGrip& from = Grips[line.From];
        const TGrip& to = Grips[line.To];
        painter->drawLine(QPointF(from.X * FXScale + FXOffset, from.Y * FYScale + FYOffset),
                          QPointF(to.X * FXScale + FXOffset, to.Y * FYScale + FYOffset));
    }
    painter->restore();
}

void TGraphicsListControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintWindow(&painter);
}

void TGraphicsListControl::moveEvent(QMoveEvent* event)
{
    if (FTransparent)
        Invalidate();
    QWidget::moveEvent(event);
}

// ---------------------------------------------------------------------------
// Editing

void TGraphicsListControl::StartEdit()
{
    if (FEditing)
        return;
    FEditing = true;
    DrawGrips();
}

void TGraphicsListControl::StopEdit()
{
    if (!FEditing)
        return;
    FEditing = false;
    FEditKind = EditNone;
    Invalidate();
}

void TGraphicsListControl::SetEditing(bool on)
{
    if (on == FEditing)
        return;
    if (on)
        StartEdit();
    else
        StopEdit();
}

void TGraphicsListControl::StartDefaultEdit(int index)
{
    FEditedItem = -1;
    const GraphicsItemStruct* item = FList ? GetFromList(FList, index) : nullptr;
    if (!item)
        return;
    switch (item->type) {
    case GraphicsPoint: StartEditPoint(item->p2, item->p3); break;
    case GraphicsLine: StartEditLine(item->p1, item->p2, item->p3, item->p4); break;
    case GraphicsRectangle: StartEditRect(item->p1, item->p2, item->p3, item->p4); break;
    case GraphicsArc: StartEditArc(item->p1, item->p2, item->p3, item->p4, item->p5); break;
    default: return;
    }
    FEditedItem = index;
}

void TGraphicsListControl::BeginEditor(TEditKind kind)
{
    FEditKind = kind;
    StartEdit();
}

void TGraphicsListControl::StartEditPoint(float x, float y)
{
    SetEditing(false);
    Grips.Clear();
    Grips[0].Fill(x, y, GripCenter, TGrip::DefaultGripSize, true);
    GripLines.Clear();
    BeginEditor(EditPoint);
}

void TGraphicsListControl::StartEditLine(float x0, float y0, float x1, float y1)
{
    SetEditing(false);
    Grips.Clear();
    const int s = TGrip::DefaultGripSize;
    Grips[0].Fill(x0, y0, GripCenter, s, true);
    Grips[1].Fill((2 * x0 + x1) / 3, (2 * y0 + y1) / 3, GripCenter, s, true);
    Grips[2].Fill(x1, y1, GripCenter, s, true);
    GripLines.Clear();
    GripLines[0].Fill(0, 2);
    BeginEditor(EditLine);
}

void TGraphicsListControl::StartEditRect(float left, float top, float right, float bottom)
{
    SetEditing(false);
    Grips.Clear();
    const int s = TGrip::DefaultGripSize;
    const auto mx = static_cast<float>((left + right) * 0.5);
    const auto my = static_cast<float>((top + bottom) * 0.5);
    Grips[0].Fill(left, top, GripAboveLeft, s, true);
    Grips[1].Fill(mx, top, GripAbove, s, true);
    Grips[2].Fill(right, top, GripAboveRight, s, true);
    Grips[3].Fill(right, my, GripRight, s, true);
    Grips[4].Fill(right, bottom, GripBelowRight, s, true);
    Grips[5].Fill(mx, bottom, GripBelow, s, true);
    Grips[6].Fill(left, bottom, GripBelowLeft, s, true);
    Grips[7].Fill(left, my, GripLeft, s, true);
    Grips[8].Fill(static_cast<float>((4 * left + right) * 0.2), top, GripBelow, s, true);
    GripLines.Clear();
    GripLines[0].Fill(0, 2);
    GripLines[1].Fill(2, 4);
    GripLines[2].Fill(4, 6);
    GripLines[3].Fill(6, 0);
    BeginEditor(EditRectangle);
}

void TGraphicsListControl::StartEditArc(float cx, float cy, float radius, float start, float end)
{
    SetEditing(false);
    Grips.Clear();
    const int s = TGrip::DefaultGripSize;
    const double toRad = std::numbers::pi / 180.0;
    const double angles[3] = {start * toRad, (start + end) * 0.5 * toRad, end * toRad};
    double sx = 0;
    double sy = 0;
    for (int i = 0; i < 3; ++i) {
        const double x = cx + radius * std::cos(angles[i]);
        const double y = cy - radius * std::sin(angles[i]);
        Grips[i].Fill(static_cast<float>(x), static_cast<float>(y), GripCenter, s, true);
        sx += Grips[i].X;
        sy += Grips[i].Y;
    }
    Grips[3].Fill(static_cast<float>(sx * (1.0 / 3)), static_cast<float>(sy * (1.0 / 3)),
                  GripCenter, s, true);
    GripLines.Clear();
    GripLines[0].Fill(0, 1);
    GripLines[1].Fill(1, 2);
    BeginEditor(EditArc);
}

void TGraphicsListControl::StdEditGripMove(int grip)
{
    switch (FEditKind) {
    case EditRectangle: StdEditRectangleGripMove(grip); break;
    case EditLine: StdEditLineGripMove(grip); break;
    case EditArc: StdEditArcGripMove(grip); break;
    case EditPoint:
    case EditNone: break;
    }
}

void TGraphicsListControl::StdEditRectangleGripMove(int grip)
{
    TGrip& g0 = Grips[0];
    TGrip& g2 = Grips[2];
    TGrip& g4 = Grips[4];
    TGrip& g6 = Grips[6];
    switch (grip) {
    case 0: g2.Y = g0.Y; g6.X = g0.X; break;
    case 2: g0.Y = g2.Y; g4.X = g2.X; break;
    case 4: g2.X = g4.X; g6.Y = g4.Y; break;
    case 6: g0.X = g6.X; g4.Y = g6.Y; break;
    case 1: g0.Y = g2.Y = Grips[1].Y; break;
    case 3: g2.X = g4.X = Grips[3].X; break;
    case 5: g4.Y = g6.Y = Grips[5].Y; break;
    case 7: g0.X = g6.X = Grips[7].X; break;
    case 8: {
        // Whole list units, so a drag snaps the rectangle to the unit grid.
        const auto dx = static_cast<float>(TruncToInt(Grips[8].X - (4.0 * g0.X + g2.X) * 0.2));
        const auto dy = static_cast<float>(TruncToInt(static_cast<double>(Grips[8].Y) - g0.Y));
        for (TGrip* g : {&g0, &g2, &g4, &g6}) {
            g->X += dx;
            g->Y += dy;
        }
        break;
    }
    default: break;
    }
    Grips[1].X = static_cast<float>((g0.X + g2.X) * 0.5);
    Grips[1].Y = g0.Y;
    Grips[3].X = g2.X;
    Grips[3].Y = static_cast<float>((g2.Y + g4.Y) * 0.5);
    Grips[5].X = static_cast<float>((g4.X + g6.X) * 0.5);
    Grips[5].Y = g4.Y;
    Grips[7].X = g0.X;
    Grips[7].Y = static_cast<float>((g0.Y + g6.Y) * 0.5);
    Grips[8].X = static_cast<float>((4.0 * g0.X + g2.X) * 0.2);
    Grips[8].Y = g0.Y;
}

void TGraphicsListControl::StdEditLineGripMove(int grip)
{
    TGrip& g0 = Grips[0];
    TGrip& g1 = Grips[1];
    TGrip& g2 = Grips[2];
    if (grip == 0 || grip == 2) {
        g1.X = (2 * g0.X + g2.X) / 3;
        g1.Y = (2 * g0.Y + g2.Y) / 3;
    } else if (grip == 1) {
        const auto dx = static_cast<float>(TruncToInt(g1.X - (2 * g0.X + g2.X) / 3));
        const auto dy = static_cast<float>(TruncToInt(g1.Y - (2 * g0.Y + g2.Y) / 3));
        g0.X += dx;
        g0.Y += dy;
        g2.X += dx;
        g2.Y += dy;
    }
}

void TGraphicsListControl::StdEditArcGripMove(int grip)
{
    auto centroid = [this](float& cx, float& cy) {
        // Summed in double, as when the editor started, so an unmoved grip 3
        // sits exactly on the centroid.
        const double sx = static_cast<double>(Grips[0].X) + Grips[1].X + Grips[2].X;
        const double sy = static_cast<double>(Grips[0].Y) + Grips[1].Y + Grips[2].Y;
        cx = static_cast<float>(sx * (1.0 / 3));
        cy = static_cast<float>(sy * (1.0 / 3));
    };
    float cx = 0;
    float cy = 0;
    if (grip == 3) {
        centroid(cx, cy);
        const auto dx = static_cast<float>(TruncToInt(static_cast<double>(Grips[3].X) - cx));
        const auto dy = static_cast<float>(TruncToInt(static_cast<double>(Grips[3].Y) - cy));
        for (int i = 0; i < 3; ++i) {
            Grips[i].X += dx;
            Grips[i].Y += dy;
        }
    }
    centroid(cx, cy);
    Grips[3].X = cx;
    Grips[3].Y = cy;
}

namespace {

// The arc through the three grips: centre from the usual determinant, radius,
// and the angles of the ends, ordered so the arc runs counter-clockwise on
// screen from start to end through the middle grip. False for collinear grips,
// which leave the item as it was.
bool ArcThroughPoints(double x0, double y0, double x1, double y1, double x2, double y2,
                      GraphicsItemStruct* arc)
{
    const double d = 2 * (x0 * (y1 - y2) + x1 * (y2 - y0) + x2 * (y0 - y1));
    if (std::abs(d) < 1e-9)
        return false;
    const double s0 = x0 * x0 + y0 * y0;
    const double s1 = x1 * x1 + y1 * y1;
    const double s2 = x2 * x2 + y2 * y2;
    const double cx = (s0 * (y1 - y2) + s1 * (y2 - y0) + s2 * (y0 - y1)) / d;
    const double cy = (s0 * (x2 - x1) + s1 * (x0 - x2) + s2 * (x1 - x0)) / d;
    const double toDeg = 180.0 / std::numbers::pi;
    // Screen y grows downward, so the angle's sine is -(y - cy).
    auto angle = [&](double x, double y) {
        double a = std::atan2(-(y - cy), x - cx) * toDeg;
        return a < 0 ? a + 360 : a;
    };
    double a0 = angle(x0, y0);
    const double am = angle(x1, y1);
    double a2 = angle(x2, y2);
    auto ccw = [](double from, double to) { return std::fmod(to - from + 720.0, 360.0); };
    if (ccw(a0, am) > ccw(a0, a2))
        std::swap(a0, a2);
    // Kept in the turn of the item's old start, so a moved arc keeps its numbers.
    a0 += 360.0 * std::round((arc->p4 - a0) / 360.0);
    double end = a0 + ccw(a0, a2);
    arc->p1 = static_cast<float>(cx);
    arc->p2 = static_cast<float>(cy);
    arc->p3 = static_cast<float>(std::hypot(x0 - cx, y0 - cy));
    arc->p4 = static_cast<float>(a0);
    arc->p5 = static_cast<float>(end);
    return true;
}

}  // namespace

void TGraphicsListControl::UpdateDefaultEdit(int index)
{
    GraphicsItemStruct* item = FList ? GetFromList(FList, index) : nullptr;
    if (!item)
        return;
    switch (item->type) {
    case GraphicsPoint:
        item->p2 = Grips[0].X;
        item->p3 = Grips[0].Y;
        break;
    case GraphicsLine:
    case GraphicsRectangle: {
        const TGrip& end = Grips[item->type == GraphicsLine ? 2 : 4];
        item->p1 = Grips[0].X;
        item->p2 = Grips[0].Y;
        item->p3 = end.X;
        item->p4 = end.Y;
        break;
    }
    case GraphicsArc:
        ArcThroughPoints(Grips[0].X, Grips[0].Y, Grips[1].X, Grips[1].Y, Grips[2].X, Grips[2].Y,
                         item);
        break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Mouse

void TGraphicsListControl::ForwardPress(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (isSignalConnected(QMetaMethod::fromSignal(&TGraphicsListControl::mousePressed)))
        emit mousePressed(event->button(), event->modifiers(), p.x(), p.y());
    else if (OnAutoMouseDown)
        OnAutoMouseDown.Call(this, event->button(), event->modifiers(), p.x(), p.y());
}

void TGraphicsListControl::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    if (FEatMouse && event->button() == Qt::LeftButton &&
        !(event->modifiers() & Qt::ShiftModifier)) {
        if (FEditing) {
            UpdateGripScreenPositions();
            for (int i = 0; i < Grips.Count(); ++i) {
                const TGrip& grip = Grips[i];
                if (grip.Visible && grip.Movable && HitsGrip(p.x(), p.y(), grip)) {
                    FDragGrip = i;
                    FDragStart = p;
                    FDragGripX = grip.X;
                    FDragGripY = grip.Y;
                    return;
                }
            }
        }
        const int count = FList ? FList->count() : 0;
        for (int i = 0; i < count; ++i) {
            if (!ItemHit(nullptr, GetFromList(FList, i), FXOffset, FYOffset,
                         static_cast<float>(p.x()), static_cast<float>(p.y()), FXScale, FYScale))
                continue;
            if (TGLCNotifyObject* object = NotifyObject(i))
                object->cbSelect();
            emit selected(i);
            if (FAutoEdit)
                StartDefaultEdit(i);
            return;
        }
        emit selected(-1);
        StopEdit();
    }
    ForwardPress(event);
}

void TGraphicsListControl::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    if (FEatMouse && FDragGrip >= 0) {
        TGrip& grip = Grips[FDragGrip];
        // A zero scale maps every list point to one place: the grip stays.
        if (FXScale != 0)
            grip.X = static_cast<float>(p.x() - FDragStart.x()) / FXScale + FDragGripX;
        if (FYScale != 0)
            grip.Y = static_cast<float>(p.y() - FDragStart.y()) / FYScale + FDragGripY;
        if (FEditKind != EditNone)
            StdEditGripMove(FDragGrip);
        else
            emit gripMoved(FDragGrip);
        DrawGrips();
        return;
    }
    if (isSignalConnected(QMetaMethod::fromSignal(&TGraphicsListControl::mouseMoved)))
        emit mouseMoved(event->buttons(), event->modifiers(), p.x(), p.y());
    else if (OnAutoMouseMove)
        OnAutoMouseMove.Call(this, event->buttons(), event->modifiers(), p.x(), p.y());
}

void TGraphicsListControl::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    if (FEatMouse && event->button() == Qt::LeftButton && FDragGrip >= 0) {
        const int grip = FDragGrip;
        FDragGrip = -1;
        if (FEditKind != EditNone && FEditedItem >= 0) {
            const int item = FEditedItem;
            UpdateDefaultEdit(item);
            Invalidate();
            emit changed(item);
            if (TGLCNotifyObject* object = NotifyObject(item))
                object->cbChange();
        } else if (FEditKind == EditNone) {
            emit moveFinished(grip);
        }
        return;
    }
    if (isSignalConnected(QMetaMethod::fromSignal(&TGraphicsListControl::mouseReleased)))
        emit mouseReleased(event->button(), event->modifiers(), p.x(), p.y());
    else if (OnAutoMouseUp)
        OnAutoMouseUp.Call(this, event->button(), event->modifiers(), p.x(), p.y());
}

void TGraphicsListControl::wheelEvent(QWheelEvent* event)
{
    // Wheel input stays here rather than scrolling whatever holds the control;
    // a zoom panel sees it earlier, through its application-wide filter.
    event->accept();
}
