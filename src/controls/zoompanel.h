// TZoomPanel: lays its children out in one common area and lets the user zoom
// and pan what they show. With AutoMouse on it hooks the mouse of its image
// and graphics-list children and pushes one scale and offset into all of
// them, so a picture and the boxes drawn over it move together. The wheel
// zooms through an application-wide event filter.
#pragma once

#include <QFrame>
#include <QMetaType>
#include <QRect>

class QWheelEvent;

// The zoom state in fractions of the children area: a point at fraction u of
// its width is shown at XScale * u + XOffset; likewise for y.
struct TZoom {
    double XScale = 1;
    double XOffset = 0;
    double YScale = 1;
    double YOffset = 0;
};
Q_DECLARE_METATYPE(TZoom)

class TZoomPanel : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(bool MoveAuto MEMBER FMoveAuto)
    Q_PROPERTY(bool ScaleAuto MEMBER FScaleAuto)
    Q_PROPERTY(Qt::MouseButton MoveButton MEMBER FMoveButton)
    Q_PROPERTY(Qt::MouseButton ScaleButton MEMBER FScaleButton)
    Q_PROPERTY(Qt::KeyboardModifiers MoveShift MEMBER FMoveShift)
    Q_PROPERTY(Qt::KeyboardModifiers ScaleShift MEMBER FScaleShift)
    Q_PROPERTY(bool ScaleWheel MEMBER FScaleWheel)
    Q_PROPERTY(bool XEnable MEMBER FXEnable)
    Q_PROPERTY(bool YEnable MEMBER FYEnable)
    Q_PROPERTY(bool XScaleEnable MEMBER FXScaleEnable)
    Q_PROPERTY(bool YScaleEnable MEMBER FYScaleEnable)
    Q_PROPERTY(bool XNoEmptyBorder MEMBER FXNoEmptyBorder)
    Q_PROPERTY(bool YNoEmptyBorder MEMBER FYNoEmptyBorder)
    // Written as given; SetMaxScale is the corrected form.
    Q_PROPERTY(float MaxScale MEMBER FMaxScale)
    Q_PROPERTY(float MinScale READ MinScale WRITE SetMinScale)
    Q_PROPERTY(float ScaleSpeed MEMBER FScaleSpeed)
    Q_PROPERTY(float ClientRatio READ ClientRatio WRITE SetClientRatio)
    Q_PROPERTY(bool ResizeChildren READ ResizeChildren WRITE SetResizeChildren)
    Q_PROPERTY(bool AutoMouse READ AutoMouse WRITE SetAutoMouse)

public:
    enum TMouseMode { MouseIdle, MouseMoving, MouseScaling };

    explicit TZoomPanel(QWidget* parent = nullptr);
    ~TZoomPanel() override;

    bool ScaleWheel() const { return FScaleWheel; }
    bool XEnable() const { return FXEnable; }
    bool YEnable() const { return FYEnable; }
    bool XScaleEnable() const { return FXScaleEnable; }
    bool YScaleEnable() const { return FYScaleEnable; }
    bool XNoEmptyBorder() const { return FXNoEmptyBorder; }
    bool YNoEmptyBorder() const { return FYNoEmptyBorder; }
    float MaxScale() const { return FMaxScale; }
    float MinScale() const { return FMinScale; }
    float ScaleSpeed() const { return FScaleSpeed; }
    float ClientRatio() const { return FClientRatio; }
    bool ResizeChildren() const { return FResizeChildren; }
    bool AutoMouse() const { return FAutoMouse; }

    // Above 1 or below 0 gives 1.
    void SetMinScale(float scale);
    // Other than 0 and below 1 gives 1.
    void SetMaxScale(float scale);
    void SetClientRatio(float ratio);
    void SetResizeChildren(bool on);
    void SetAutoMouse(bool on);

    const TZoom& Zoom() const { return FZoom; }
    // The common area of the children, in the panel's coordinates.
    QRect ChildrenArea() const { return {FLeft, FTop, FWidth, FHeight}; }
    TMouseMode MouseMode() const { return FMode; }

    void Resize();
    void Reset();
    // Pans by device pixels.
    void Move(int dx, int dy);
    // Zooms around (x, y) in the children's coordinates by a vertical drag of
    // d device pixels (down zooms out).
    void Scale(int x, int y, int d);
    void SetFracScale(double scale);
    void StartMove(int x, int y);
    void StartScale(int x, int y);
    void StopMove();
    void StopScale();
    void PointMove(int x, int y);

    // The hooks bound to the children.
    void ChildMouseDown(QWidget* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                        int x, int y);
    void ChildMouseUp(QWidget* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                      int y);
    void ChildMouseMove(QWidget* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                        int x, int y);

    // Pushes the zoom into the children and tells listeners.
    void generateZoomEvent();

    // Zooms the panel that holds the control under the wheel's cursor, if it
    // is a zoom panel that zooms by wheel; true when it did. `receiver` is the
    // widget the event was sent to.
    static bool ProcessMouseWheelMessage(QWidget* receiver, const QWheelEvent& event);

signals:
    void zoomed(const TZoom& zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void connectNotify(const QMetaMethod& signal) override;

private:
    void AppEventsMessage(QObject* watched, QEvent* event, bool& handled);
    int ChildCount() const;
    // Hooks and lays out children added since the hooks were last bound.
    void AdoptNewChildren();
    void ScaleAxis(double& scale, double& offset, float u, float f, bool noEmptyBorder) const;
    static void ClampOffset(double scale, double& offset);

    bool FMoveAuto = false;
    bool FScaleAuto = false;
    Qt::MouseButton FMoveButton = Qt::LeftButton;
    Qt::MouseButton FScaleButton = Qt::RightButton;
    Qt::KeyboardModifiers FMoveShift;
    Qt::KeyboardModifiers FScaleShift;
    bool FScaleWheel = true;
    bool FXEnable = true;
    bool FYEnable = true;
    bool FXScaleEnable = true;
    bool FYScaleEnable = true;
    bool FXNoEmptyBorder = true;
    bool FYNoEmptyBorder = true;
    float FMaxScale = 0;
    float FMinScale = 1;
    float FScaleSpeed = 2;
    float FClientRatio = -1;
    bool FResizeChildren = true;
    bool FAutoMouse = false;

    TZoom FZoom;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TMouseMode FMode = MouseIdle;
    int FLastX = 0;
    int FLastY = 0;
    int FCentreX = 0;
    int FCentreY = 0;
    int FBoundChildren = 0;
    bool FInitialised = false;
};
