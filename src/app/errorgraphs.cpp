#include "errorgraphs.h"

#include <algorithm>
#include <cstdint>

#include <QGroupBox>
#include <QMouseEvent>

#include "graphicslistcontrol.h"
#include "overlay.h"
#include "pixcore.h"
#include "vectorcontrol.h"

namespace {

constexpr int kLeft = 8, kTop = 16, kWidth = 673, kHeight = 104;
constexpr int kLabelX = 699;

struct CurveLook {
    const char* vector_name;
    const char* label_name;
    const char* caption;
    int label_y;
    QColor color;
};

// In TErrorGraphs::TCurve order.
const CurveLook kLooks[] = {
    {"graphFP_vc", "graphFP_lb", "  FP error  ", 12, QColor(0x80, 0x00, 0x00)},
    {"graphFN_vc", "graphFN_lb", "  FN error  ", 27, QColor(0x00, 0x80, 0x00)},
    {"graphMO_vc", "graphMO_lb", "  MO error  ", 42, QColor(0x80, 0x00, 0x80)},
    {"graphMT_vc", "graphMT_lb", "  MT error  ", 57, QColor(0x00, 0x00, 0x80)},
    {"graphCD_vc", "graphCD_lb", "  CD error  ", 72, QColor(0x00, 0x00, 0x00)},
    {"graphFIT_vc", "graphFIT_lb", "  FIT error  ", 87, QColor(0xFF, 0x00, 0x00)},
    {"graphFIO_vc", "graphFIO_lb", "  FIO error  ", 103, QColor(0x00, 0xFF, 0x00)},
};

const QColor kHiddenLabel(0x80, 0x80, 0x80);

void PaintLabel(QLabel* label, const QColor& background)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
}

}  // namespace

void TClickLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}

QColor TErrorGraphs::CurveColor(TCurve curve) { return kLooks[curve].color; }

TErrorGraphs::TErrorGraphs(QGroupBox* box)
{
    graphBG_vc = new TVectorControl(box);
    graphBG_vc->setObjectName(QStringLiteral("graphBG_vc"));
    graphBG_vc->setGeometry(kLeft, kTop, kWidth, kHeight);
    graphBG_vc->SetAllocVector(false);
    graphBG_vc->SetColor(Qt::white);
    graphBG_vc->SetMax(255);

    // Created bottom to top: the later a sibling, the higher it lies.
    for (TCurve curve : {CurveFIT, CurveFIO, CurveCD, CurveFP, CurveFN, CurveMO, CurveMT}) {
        auto* vc = new TVectorControl(box);
        vc->setObjectName(QLatin1String(kLooks[curve].vector_name));
        vc->setGeometry(kLeft, kTop, kWidth, kHeight);
        vc->SetAllocSize(1);
        vc->SetTransparent(true);
        vc->SetVectorColor(kLooks[curve].color);
        vc->SetMax(10);
        curves_[curve] = vc;
    }

    graph_glc = new TGraphicsListControl(box);
    graph_glc->setObjectName(QStringLiteral("graph_glc"));
    graph_glc->setGeometry(kLeft, kTop, kWidth, kHeight);
    graph_glc->SetAllocSize(2);
    graph_glc->SetTransparent(true);
    graph_glc->SetXScale(1);
    graph_glc->SetYScale(1);
    graph_glc->SetAutoEdit(false);
    graph_glc->setCursor(Qt::CrossCursor);

    QFont bold(QStringLiteral("MS Sans Serif"));
    bold.setPixelSize(11);
    bold.setBold(true);
    for (int c = 0; c < CurveCount; ++c) {
        const CurveLook& look = kLooks[c];
        auto* label = new TClickLabel(QLatin1String(look.caption), box);
        label->setObjectName(QLatin1String(look.label_name));
        label->setFont(bold);
        label->setAutoFillBackground(true);
        PaintLabel(label, look.color);
        label->adjustSize();
        label->move(kLabelX, look.label_y);
        labels_[static_cast<size_t>(c)] = label;
    }
}

void TErrorGraphs::InitCursor()
{
    GraphicsLineStruct line;
    line.color = 255;
    line.y1 = static_cast<float>(curves_[CurveFP]->height());
    SetLineToList(graph_glc->List(), &line, 0);
    graph_glc->Invalidate();
}

int32_t TErrorGraphs::Length() const
{
    const VectorStruct* v = curves_[CurveFP]->Vector();
    return v ? v->length() : 0;
}

void TErrorGraphs::Repaint()
{
    for (TVectorControl* vc : curves_) vc->Invalidate();
}

void TErrorGraphs::Reset(uint32_t n)
{
    const auto length = static_cast<int32_t>(std::min<uint32_t>(n, PixMaxVectorLength));
    for (TVectorControl* vc : curves_) {
        VectorStruct* v = vc->Vector();
        DestroyVector(v);
        InitVectorSize(v, length);
        SetVectorLength(v, length);
        std::fill(v->values.begin(), v->values.end(), 0.0f);
    }
    Repaint();
}

void TErrorGraphs::SetValues(size_t index, const orvoFrameEval& record)
{
    const int32_t counts[CurveCount] = {record.fp, record.fn, record.mo, record.mt, record.cd, record.fit, record.fio};
    for (int c = 0; c < CurveCount; ++c) {
        std::vector<float>& values = curves_[static_cast<size_t>(c)]->Vector()->values;
        if (index < values.size()) values[index] = static_cast<float>(counts[c]);
    }
}

void TErrorGraphs::Fill(const std::vector<orvoFrameEval>& records)
{
    for (size_t i = 0; i < records.size(); ++i) SetValues(i, records[i]);
    Repaint();
}

int TErrorGraphs::CursorX(int index) const
{
    const auto length = static_cast<uint64_t>(Length());
    if (length == 0 || index < 0) return 0;
    const auto w = static_cast<uint64_t>(curves_[CurveFP]->width());
    return static_cast<int>(w * static_cast<uint64_t>(index) / length);
}

void TErrorGraphs::Update(int index, const orvoFrameEval& record)
{
    if (index >= 0) SetValues(static_cast<size_t>(index), record);
    Repaint();
    GraphicsLineStruct line;
    line.color = 255;
    line.x0 = line.x1 = static_cast<float>(CursorX(index));
    line.y1 = static_cast<float>(curves_[CurveFP]->height());
    SetLineToList(graph_glc->List(), &line, 0);
    graph_glc->Invalidate();
}

int TErrorGraphs::FrameAt(int x) const
{
    const int64_t w = graph_glc->width();
    if (w <= 0) return 0;
    // Truncates toward zero, so a drag left of the graphs gives 0 or less and
    // the track bar keeps it in range.
    const int64_t frame = static_cast<int64_t>(Length()) * x / w;
    return static_cast<int>(std::clamp<int64_t>(frame, INT32_MIN, INT32_MAX));
}

void TErrorGraphs::ToggleCurve(TCurve curve)
{
    TVectorControl* vc = curves_[curve];
    const bool show = vc->isHidden();
    vc->setHidden(!show);
    PaintLabel(labels_[curve], show ? kLooks[curve].color : kHiddenLabel);
    // The layers below show through where the hidden curve was.
    vc->parentWidget()->update(vc->geometry());
}
