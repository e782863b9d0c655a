// Prints drawing and conversion figures for display-sized records: a
// 100,000-value error curve, a 720 x 576 video frame scaled into the video
// view, and the float-to-8-bit conversion of a frame. Never run by the tests.
#include <chrono>
#include <cstdio>
#include <functional>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "pixpaint.h"

namespace {

double per_call_ms(int calls, const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  for (int k = 0; k < calls; ++k) work();
  std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / calls;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  QImage graph(673, 104, QImage::Format_RGB32);
  VectorStruct curve;
  SetVectorLength(&curve, 100000);
  for (int32_t i = 0; i < curve.length(); ++i) curve.values[size_t(i)] = float((i * 7919) % 11);
  std::printf("curve of %d values into 673 x 104: %.3f ms\n", curve.length(),
              per_call_ms(200, [&] {
                QPainter p(&graph);
                DrawVectorHorizontal(&p, &curve, 0, 0, 1, 1, 673, 104, 0, 10, 0x0000FF);
              }));

  ImageStruct* frame = NewImageRGB(720, 576);
  ImageFill(frame, 128);
  QImage view(900, 574, QImage::Format_RGB32);
  for (uint32_t flags : {0u, uint32_t(DrawImageNoSmoothing)}) {
    std::printf("720 x 576 RGB frame at 1.25 x 0.996 (%s): %.3f ms\n",
                flags ? "not smoothed" : "smoothed", per_call_ms(50, [&] {
                  QPainter p(&view);
                  DrawImage(&p, frame, 0, 0, 1.25f, 0.99609375f, 0xFFFFFF, flags, 0);
                }));
  }
  std::printf("the same frame zoomed 10 x (visible part only): %.3f ms\n", per_call_ms(50, [&] {
                QPainter p(&view);
                DrawImage(&p, frame, -3000, -2000, 12.5f, 9.96f, 0xFFFFFF, 0, 0);
              }));

  ImageStruct* spectrum = NewImageFloat(720, 576);
  ImageStruct* display = NewImage8(720, 576);
  ImageFill(spectrum, 3.5);
  std::printf("720 x 576 float to 8-bit, log window: %.3f ms\n", per_call_ms(50, [&] {
                ImageFloatLogToImage8(display, spectrum, 0, 100);
              }));
  DeleteImage(frame);
  DeleteImage(spectrum);
  DeleteImage(display);
  return 0;
}
