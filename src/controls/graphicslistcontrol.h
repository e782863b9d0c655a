// TGraphicsListControl: a GraphicsListStruct drawn scaled and offset, usually
// transparent over another control, with selection by click and editing of
// the selected item by dragging grips.
#pragma once

#include <vector>

#include <QColor>
#include <QWidget>

#include "overlay.h"
#include "pixcore.h"

class QPainter;
class TGraphicsListControl;

// An object that mirrors one list item and wants to hear what happens to it.
// It unregisters itself when destroyed.
class TGLCNotifyObject
{
public:
    TGLCNotifyObject() = default;
    TGLCNotifyObject(const TGLCNotifyObject&) = delete;
    TGLCNotifyObject& operator=(const TGLCNotifyObject&) = delete;
    virtual ~TGLCNotifyObject();

    virtual void cbReInsert() {}
    virtual void cbDelete() { ListControl = nullptr; }
    virtual void cbChange() {}
    virtual void cbSelect() {}

    void RegisterTo(TGraphicsListControl* control, int index);
    void StartEdit();

    TGraphicsListControl* ListControl = nullptr;
    int ItemIndex = 0;
};

class TGraphicsListControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool AllocList READ AllocList WRITE SetAllocList)
    Q_PROPERTY(int AllocSize READ AllocSize WRITE SetAllocSize)
    Q_PROPERTY(float XScale READ XScale WRITE SetXScale)
    Q_PROPERTY(float YScale READ YScale WRITE SetYScale)
    Q_PROPERTY(float XOffset READ XOffset WRITE SetXOffset)
    Q_PROPERTY(float YOffset READ YOffset WRITE SetYOffset)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool AutoEdit READ AutoEdit WRITE SetAutoEdit)
    Q_PROPERTY(bool EatMouse READ EatMouse WRITE SetEatMouse)
    Q_PROPERTY(int DisplayStart READ DisplayStart WRITE SetDisplayStart)
    Q_PROPERTY(int DisplayCount READ DisplayCount WRITE SetDisplayCount)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Editing READ Editing WRITE SetEditing)

public:
    enum TGripOrientation {
        GripCenter = 0,
        GripAbove = 1,
        GripBelow = 2,
        GripRight = 3,
        GripLeft = 4,
        GripAboveLeft = 5,
        GripAboveRight = 6,
        GripBelowLeft = 7,
        GripBelowRight = 8,
    };
    Q_ENUM(TGripOrientation)

    enum TEditKind { EditNone = 0, EditPoint = 1, EditRectangle = 2, EditLine = 3, EditArc = 4 };
    Q_ENUM(TEditKind)

    struct TGrip {
        static constexpr int DefaultGripSize = 5;
        float X = 0;
        float Y = 0;
        TGripOrientation Orientation = GripCenter;
        int Size = DefaultGripSize;  // half the square's side
        bool Visible = false;
        bool Movable = true;
        int ScreenX = 0;  // centre of the square as last drawn, for hit tests
        int ScreenY = 0;

        void Fill(float x, float y, TGripOrientation orientation, int size, bool movable);
    };

    struct TGripLine {
        int From = 0;
        int To = 0;
        bool Visible = false;

        void Fill(int from, int to);
    };

    // Arrays that grow on access: a negative index counts as 0, an index past
    // the end grows the array to cover it. They start with one element.
    template <class T>
    class TGrowArray
    {
    public:
        T& operator[](int index)
        {
            if (index < 0)
                index = 0;
            if (static_cast<std::size_t>(index) >= FItems.size())
                FItems.resize(static_cast<std::size_t>(index) + 1);
            return FItems[static_cast<std::size_t>(index)];
        }
        int Count() const { return static_cast<int>(FItems.size()); }
        // Hides every element; the count stays.
        void Clear()
        {
            for (T& item : FItems)
                item.Visible = false;
        }

    private:
        std::vector<T> FItems = std::vector<T>(1);
    };
    using TGripArray = TGrowArray<TGrip>;
    using TGripLineArray = TGrowArray<TGripLine>;

    explicit TGraphicsListControl(QWidget* parent = nullptr);
    ~TGraphicsListControl() override;

    bool AllocList() const { return FAllocList; }
    int AllocSize() const { return FAllocSize; }
    float XScale() const { return FXScale; }
    float YScale() const { return FYScale; }
    float XOffset() const { return FXOffset; }
    float YOffset() const { return FYOffset; }
    bool Transparent() const { return FTransparent; }
    bool AutoEdit() const { return FAutoEdit; }
    bool EatMouse() const { return FEatMouse; }
    int DisplayStart() const { return FDisplayStart; }
    int DisplayCount() const { return FDisplayCount; }
    QColor Color() const { return FColor; }
    bool Editing() const { return FEditing; }

    // The control's list (null while AllocList is off). Change its items
    // through the library and call Invalidate.
    GraphicsListStruct* List() const { return FList; }

    void SetAllocList(bool on);
    void SetAllocSize(int size);
    // Scales and offsets are stored only: whoever changes them repaints.
    void SetXScale(float value) { FXScale = value; }
    void SetYScale(float value) { FYScale = value; }
    void SetXOffset(float value) { FXOffset = value; }
    void SetYOffset(float value) { FYOffset = value; }
    void SetTransparent(bool on);
    void SetAutoEdit(bool on) { FAutoEdit = on; }
    void SetEatMouse(bool on) { FEatMouse = on; }
    void SetDisplayStart(int start);
    void SetDisplayCount(int count);
    void SetColor(const QColor& color);

    void Invalidate();
    // Stores the mirror of item `index`; ignored outside 0 ... AllocSize - 1.
    void SetNotifyObject(int index, TGLCNotifyObject* object);
    TGLCNotifyObject* NotifyObject(int index) const;

    // Editing.
    void SetEditing(bool on);
    void StartEdit();
    void StopEdit();
    void StartDefaultEdit(int index);
    void UpdateDefaultEdit(int index);
    void StartEditPoint(float x, float y);
    void StartEditLine(float x0, float y0, float x1, float y1);
    void StartEditRect(float left, float top, float right, float bottom);
    void StartEditArc(float cx, float cy, float radius, float start, float end);
    void StdEditGripMove(int grip);
    void ClearGrips();
    // Recomputes where the grips sit on screen and repaints them.
    void DrawGrips();
    static bool HitsGrip(int x, int y, int gx, int gy, int size);
    static bool HitsGrip(int x, int y, const TGrip& grip);

    TEditKind EditKind() const { return FEditKind; }
    int EditedItem() const { return FEditedItem; }
    int DraggedGrip() const { return FDragGrip; }

    TGripArray Grips;
    TGripLineArray GripLines;

    TMouseButtonHook OnAutoMouseDown;
    TMouseButtonHook OnAutoMouseUp;
    TMouseMoveHook OnAutoMouseMove;

    void PaintWindow(QPainter* painter);

signals:
    void gripMoved(int grip);
    void moveFinished(int grip);
    void changed(int item);
    void selected(int item);
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QPoint GripScreenPosition(const TGrip& grip) const;
    void UpdateGripScreenPositions();
    void StdEditRectangleGripMove(int grip);
    void StdEditLineGripMove(int grip);
    void StdEditArcGripMove(int grip);
    void BeginEditor(TEditKind kind);
    void ReleaseNotifyTable();
    void ForwardPress(QMouseEvent* event);

    GraphicsListStruct* FList = nullptr;
    bool FAllocList = false;
    int FAllocSize = 64;
    float FXScale = 1;
    float FYScale = 1;
    float FXOffset = 0;
    float FYOffset = 0;
    bool FTransparent = false;
    bool FAutoEdit = true;
    bool FEatMouse = true;
    int FDisplayStart = 0;
    int FDisplayCount = 0;
    QColor FColor = QColor(255, 255, 255);

    bool FEditing = false;
    TEditKind FEditKind = EditNone;
    int FEditedItem = -1;
    int FDragGrip = -1;
    QPoint FDragStart;
    float FDragGripX = 0;
    float FDragGripY = 0;

    bool FHasNotifyTable = false;
    std::vector<TGLCNotifyObject*> FNotify;
};
