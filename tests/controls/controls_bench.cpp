// Drawing figures for the display controls: a long vector, a crowded list
// and a video-sized image on both drawing paths. Prints milliseconds a paint.
#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "graphicslistcontrol.h"
#include "imagecontrol.h"
#include "pixcore.h"
#include "vectorcontrol.h"

namespace {

template <class Control>
double MillisecondsPerPaint(Control& control, int rounds)
{
    QImage target(control.size(), QImage::Format_RGB32);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        QPainter painter(&target);
        control.PaintWindow(&painter);
    }
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / rounds;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);

    TVectorControl graph;
    graph.resize(673, 104);
    graph.SetAllocSize(100000);
    std::printf("vector of 100000 values, 673 x 104:   %8.3f ms\n", MillisecondsPerPaint(graph, 50));

    TGraphicsListControl boxes;
    boxes.resize(720, 576);
    for (int i = 0; i < 1000; ++i) {
        const auto x = static_cast<float>(i % 40 * 18);
        const auto y = static_cast<float>(i / 40 * 23);
        GraphicsRectangleStruct box{0x0000FF, x, y, x + 15, y + 20};
        AddRectangleToList(boxes.List(), &box);
    }
    std::printf("list of 1000 rectangles, 720 x 576:   %8.3f ms\n", MillisecondsPerPaint(boxes, 20));

    TImageControl video;
    video.resize(720, 576);
    video.SetXSize(720);
    video.SetYSize(576);
    video.SetAllocImage(TImageControl::AllocImageRGB);
    ImageFill(video.Image(), 100);
    std::printf("720 x 576 RGB, direct:                %8.3f ms\n", MillisecondsPerPaint(video, 20));
    video.SetMax(200);
    video.Invalidate();
    std::printf("720 x 576 RGB, converted, cached:     %8.3f ms\n", MillisecondsPerPaint(video, 20));
    video.SetXScale(1.25f);
    std::printf("720 x 576 RGB, converted, scaled:     %8.3f ms\n", MillisecondsPerPaint(video, 20));
    return 0;
}
