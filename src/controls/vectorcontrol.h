// TVectorControl: one VectorStruct drawn as a graph that fills the control.
// Transparent controls stack: each draws only its curve over the layers below.
#pragma once

#include <QColor>
#include <QWidget>

#include "pixcore.h"

class QPainter;

class TVectorControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool AllocVector READ AllocVector WRITE SetAllocVector)
    Q_PROPERTY(int AllocSize READ AllocSize WRITE SetAllocSize)
    Q_PROPERTY(bool Vertical READ Vertical WRITE SetVertical)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(QColor VectorColor READ VectorColor WRITE SetVectorColor)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(float Min READ Min WRITE SetMin)
    Q_PROPERTY(bool AutoMin READ AutoMin WRITE SetAutoMin)
    Q_PROPERTY(float Max READ Max WRITE SetMax)
    Q_PROPERTY(bool AutoMax READ AutoMax WRITE SetAutoMax)
    Q_PROPERTY(bool TopDown READ TopDown WRITE SetTopDown)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
    explicit TVectorControl(QWidget* parent = nullptr);
    ~TVectorControl() override;

    bool AllocVector() const { return FAllocVector; }
    int AllocSize() const { return FAllocSize; }
    bool Vertical() const { return FVertical; }
    bool Transparent() const { return FTransparent; }
    QColor VectorColor() const { return FVectorColor; }
    QColor Color() const { return FColor; }
    float Min() const { return FMin; }
    bool AutoMin() const { return FAutoMin; }
    float Max() const { return FMax; }
    bool AutoMax() const { return FAutoMax; }
    bool TopDown() const { return FTopDown; }
    bool Reversed() const { return FReversed; }

    // The control's own record (null while AllocVector is off). Callers may
    // refill it in place and then call Invalidate.
    VectorStruct* Vector() const { return FVector; }

    void SetAllocVector(bool on);
    void SetAllocSize(int size);
    void SetVertical(bool on);
    void SetTransparent(bool on);
    void SetVectorColor(const QColor& color);
    void SetColor(const QColor& color);
    void SetMin(float value);
    void SetAutoMin(bool on);
    void SetMax(float value);
    void SetAutoMax(bool on);
    void SetTopDown(bool on);
    void SetReversed(bool on);

    // Repaints this control and the layers it overlaps.
    void Invalidate();
    void PaintWindow(QPainter* painter);

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    VectorStruct* FVector = nullptr;
    bool FAllocVector = false;
    int FAllocSize = 256;
    bool FVertical = false;
    bool FTransparent = false;
    QColor FVectorColor = QColor(0, 0, 0);
    QColor FColor = QColor(255, 255, 255);
    float FMin = 0;
    bool FAutoMin = false;
    float FMax = 255;
    bool FAutoMax = false;
    bool FTopDown = false;
    bool FReversed = false;
};
