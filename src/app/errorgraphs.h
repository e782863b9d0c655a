// The error graphs of the main window: seven per-frame error curves stacked
// over a white background, a red cursor line at the shown frame, and one
// coloured label per curve that hides and shows it.
#pragma once

#include <array>
#include <cstdint>

#include <QColor>
#include <QLabel>

#include "orvo_events_eval.h"

class QGroupBox;
class QMouseEvent;
class TGraphicsListControl;
class TVectorControl;

// A label that tells when it was clicked with the left button.
class TClickLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

class TErrorGraphs
{
public:
    // The seven curves, in the order the vectors are reset.
    enum TCurve { CurveFP, CurveFN, CurveMO, CurveMT, CurveCD, CurveFIT, CurveFIO, CurveCount };

    // Builds the controls inside `box`, which owns them.
    explicit TErrorGraphs(QGroupBox* box);

    TVectorControl* Curve(TCurve curve) const { return curves_[curve]; }
    TClickLabel* Label(TCurve curve) const { return labels_[curve]; }
    TVectorControl* Background() const { return graphBG_vc; }
    TGraphicsListControl* Cursor() const { return graph_glc; }
    static QColor CurveColor(TCurve curve);

    // The cursor line at x = 0.
    void InitCursor();
    // Every vector gets n values, all 0.
    void Reset(uint32_t n);
    // Value i of every vector from frame record i, for the records there are.
    void Fill(const std::vector<orvoFrameEval>& records);
    // Value `index` from the record, and the cursor moved to that frame.
    void Update(int index, const orvoFrameEval& record);
    // The cursor's column for a frame index.
    int CursorX(int index) const;
    // The frame index under column x of the graphs; 0 without frames.
    int FrameAt(int x) const;
    // Hides a shown curve or shows a hidden one; its label turns grey while hidden.
    void ToggleCurve(TCurve curve);

private:
    void SetValues(size_t index, const orvoFrameEval& record);
    void Repaint();
    int32_t Length() const;

    TVectorControl* graphBG_vc;
    std::array<TVectorControl*, CurveCount> curves_{};
    TGraphicsListControl* graph_glc;
    std::array<TClickLabel*, CurveCount> labels_{};
};
