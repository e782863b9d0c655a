// Display conversions: value windows per pixel type, layouts, quadrant views.
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pixcore.h"

namespace {

struct Deleter {
  void operator()(ImageStruct* image) const { DeleteImage(image); }
};
using Image = std::unique_ptr<ImageStruct, Deleter>;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

template <class T>
void put(ImageStruct* image, int32_t i, int32_t j, T v) {
  std::memcpy(ImagePixel(image, i, j), &v, sizeof v);
}

template <class T>
T get(const ImageStruct* image, int32_t i, int32_t j) {
  T v;
  std::memcpy(&v, ImagePixel(image, i, j), sizeof v);
  return v;
}

std::vector<int> row8(const ImageStruct* image) {
  std::vector<int> out;
  for (int32_t i = 0; i < image->xsize; ++i) out.push_back(*ImagePixel(image, i, 0));
  return out;
}

using To8 = int (*)(ImageStruct*, const ImageStruct*, float, float);

struct WindowCase {
  std::string what;
  ImageStruct* (*make)(int32_t, int32_t);
  std::function<void(ImageStruct*, int32_t, double)> set;
  To8 convert;
  float min, max;
  std::vector<double> values;
  std::vector<int> expected;
};

void set8(ImageStruct* im, int32_t i, double v) { put<uint8_t>(im, i, 0, uint8_t(v)); }
void set16(ImageStruct* im, int32_t i, double v) { put<uint16_t>(im, i, 0, uint16_t(v)); }
void set32(ImageStruct* im, int32_t i, double v) { put<int32_t>(im, i, 0, int32_t(v)); }
void setf(ImageStruct* im, int32_t i, double v) { put<float>(im, i, 0, float(v)); }
// Complex pixels from one number: re = v, im = v / 2.
void setc(ImageStruct* im, int32_t i, double v) {
  float c[2] = {float(v), float(v / 2)};
  std::memcpy(ImagePixel(im, i, 0), c, sizeof c);
}

TEST(Convert, ValueWindowsPerPixelType) {
  const std::vector<WindowCase> cases = {
      {"8-bit full window is a copy", NewImage8, set8, Image8ToImage8, 0, 255,
       {0, 1, 128, 254, 255}, {0, 1, 128, 254, 255}},
      {"8-bit window 100..200", NewImage8, set8, Image8ToImage8, 100, 200,
       {99, 100, 140, 200, 201}, {0, 0, 102, 255, 255}},
      {"min == max thresholds", NewImage8, set8, Image8ToImage8, 50, 50, {49, 50, 51}, {0, 255, 255}},
      {"max < min inverts", NewImage8, set8, Image8ToImage8, 255, 0, {0, 255, 55}, {255, 0, 200}},
      {"16-bit unsigned", NewImage16, set16, Image16ToImage8, 0, 65535, {0, 65535, 32768, 1000},
       {0, 255, 128, 4}},
      {"32-bit signed", NewImage32, set32, Image32ToImage8, -100, 100, {-200, -100, -50, 100, 1e9},
       {0, 0, 64, 255, 255}},
      {"float: NaN 0, infinities clamp", NewImageFloat, setf, ImageFloatToImage8, 0, 1,
       {kNaN, -kInf, 0.25, kInf, 2}, {0, 0, 64, 255, 0 + 255}},
      {"float under a NaN window", NewImageFloat, setf, ImageFloatToImage8, kNaN, 1, {0, 0.5, 1},
       {0, 0, 0}},
      {"float under an infinite window", NewImageFloat, setf, ImageFloatToImage8, 0, kInf,
       {0, 5, kInf}, {0, 0, 0}},
      {"float log keeps the ends", NewImageFloat, setf, ImageFloatLogToImage8, 0, 255,
       {-1, 0, 3, 255, 300, kNaN}, {0, 0, 64, 255, 255, 0}},
      {"float log with min == max", NewImageFloat, setf, ImageFloatLogToImage8, 5, 5, {4, 5},
       {0, 255}},
      {"complex real part", NewImageComplex, setc, ImageComplexReToImage8, 0, 255, {10, 300},
       {10, 255}},
      {"complex imaginary part", NewImageComplex, setc, ImageComplexImToImage8, 0, 255, {20, 100},
       {10, 50}},
      {"complex power", NewImageComplex, setc, ImageComplexPowerToImage8, 0, 255, {10, 4},
       {125, 20}},  // 100 + 25; 16 + 4
      {"complex real log", NewImageComplex, setc, ImageComplexReLogToImage8, 0, 255, {3}, {64}},
      {"complex imaginary log", NewImageComplex, setc, ImageComplexImLogToImage8, 0, 255, {6}, {64}},
      {"complex power log", NewImageComplex, setc, ImageComplexPowerLogToImage8, 0, 100, {4},
       {168}},  // 20: 255 ln 21 / ln 101
  };
  for (const WindowCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto n = int32_t(c.values.size());
    Image src(c.make(n, 1));
    Image dst(NewImage8(n, 1));
    for (int32_t i = 0; i < n; ++i) c.set(src.get(), i, c.values[size_t(i)]);
    ASSERT_EQ(c.convert(dst.get(), src.get(), c.min, c.max), 1);
    EXPECT_EQ(row8(dst.get()), c.expected);
  }
}

TEST(Convert, WrongTypesAreRefused) {
  Image g(NewImage8(2, 2)), w(NewImage16(2, 2)), f(NewImageFloat(2, 2)), rgb(NewImageRGB(2, 2));
  EXPECT_EQ(ImageFloatToImage8(g.get(), w.get(), 0, 1), -1);
  EXPECT_EQ(Image16ToImage8(f.get(), w.get(), 0, 1), -1);  // dst not 8-bit
  EXPECT_EQ(ImageRGBToImageRGB(g.get(), rgb.get(), 0, 255), -1);
  EXPECT_EQ(Image8ToImageFloat(f.get(), w.get()), -1);
  EXPECT_EQ(ImageComplexReToImage8(g.get(), nullptr, 0, 1), -1);
}

TEST(Convert, RgbThroughWindowColourAndGrey) {
  Image src(NewImageRGB(2, 1)), dst(NewImageRGB(2, 1)), grey(NewImage8(2, 1));
  uint8_t* p = ImagePixel(src.get(), 0, 0);
  p[0] = 10, p[1] = 20, p[2] = 200, p[3] = 77;  // blue, green, red, unused
  uint8_t* q = ImagePixel(src.get(), 1, 0);
  q[0] = q[1] = q[2] = 255;

  ASSERT_EQ(ImageRGBToImageRGB(dst.get(), src.get(), 0, 127.5f), 1);
  const uint8_t* d = ImagePixel(dst.get(), 0, 0);
  EXPECT_EQ(std::vector<int>(d, d + 4), (std::vector<int>{20, 40, 255, 0}));

  ASSERT_EQ(ImageRGBToImageRGBColor(dst.get(), src.get(), 0x0000FFu, 0, 255), 1);  // red
  EXPECT_EQ(std::vector<int>(d, d + 4), (std::vector<int>{0, 0, 200, 0}));
  const uint8_t* white = ImagePixel(dst.get(), 1, 0);
  ASSERT_EQ(ImageRGBToImageRGBColor(dst.get(), src.get(), 0x808000u, 0, 255), 1);  // teal
  EXPECT_EQ(std::vector<int>(white, white + 3), (std::vector<int>{128, 128, 0}));

  ASSERT_EQ(ImageRGBToImage8(grey.get(), src.get(), 0, 255), 1);
  EXPECT_EQ(row8(grey.get()), (std::vector<int>{73, 255}));  // 72.68 rounds up
}

TEST(Convert, WideningFromEightBitAcrossRowOrders) {
  // NewImage8 is bottom-up (negative line step), the wide types top-down.
  Image src(NewImage8(3, 2));
  for (int32_t j = 0; j < 2; ++j)
    for (int32_t i = 0; i < 3; ++i) *ImagePixel(src.get(), i, j) = uint8_t(100 * j + 10 * i + 5);
  Image w16(NewImage16(3, 2)), w32(NewImage32(3, 2)), wf(NewImageFloat(3, 2)),
      wc(NewImageComplex(3, 2)), rgb(NewImageRGB(3, 2)), back(NewImage8(3, 2));
  ASSERT_EQ(Image8ToImage16(w16.get(), src.get()), 1);
  ASSERT_EQ(Image8ToImage32(w32.get(), src.get()), 1);
  ASSERT_EQ(Image8ToImageFloat(wf.get(), src.get()), 1);
  ASSERT_EQ(Image8ToImageComplex(wc.get(), src.get()), 1);
  ASSERT_EQ(Image8ToImageRGB(rgb.get(), src.get()), 1);
  ASSERT_EQ(ImageFloatToImage8(back.get(), wf.get(), 0, 255), 1);
  for (int32_t j = 0; j < 2; ++j)
    for (int32_t i = 0; i < 3; ++i) {
      int v = 100 * j + 10 * i + 5;
      EXPECT_EQ(get<uint16_t>(w16.get(), i, j), v);
      EXPECT_EQ(get<int32_t>(w32.get(), i, j), v);
      EXPECT_EQ(get<float>(wf.get(), i, j), float(v));
      EXPECT_EQ(get<float>(wc.get(), i, j), float(v));
      float im;
      std::memcpy(&im, ImagePixel(wc.get(), i, j) + 4, 4);
      EXPECT_EQ(im, 0.0f);
      const uint8_t* p = ImagePixel(rgb.get(), i, j);
      EXPECT_EQ(std::vector<int>(p, p + 4), (std::vector<int>{v, v, v, 0}));
      EXPECT_EQ(*ImagePixel(back.get(), i, j), v);
    }
}

// The image control shows spectra with their quadrants swapped by converting
// four views; the views must land exactly for odd sizes too.
TEST(Convert, QuadrantViewsSwapOddSizes) {
  const int32_t W = 5, H = 3, w = W / 2, h = H / 2;
  Image image(NewImageFloat(W, H));
  for (int32_t j = 0; j < H; ++j)
    for (int32_t i = 0; i < W; ++i) put<float>(image.get(), i, j, float(10 * j + i));
  Image display(NewImage8(W, H));
  ImageFill(display.get(), 255);
  struct Quad {
    int32_t dx, dy, sx, sy, qw, qh;
  };
  const Quad quads[] = {{0, 0, W - w, H - h, w, h},
                        {w, 0, 0, H - h, W - w, h},
                        {0, h, W - w, 0, w, H - h},
                        {w, h, 0, 0, W - w, H - h}};
  for (const Quad& q : quads) {
    ImageStruct d, s;
    ASSERT_EQ(SetTempReference(&d, display.get(), q.dx, q.dy, q.qw, q.qh), 1);
    ASSERT_EQ(SetTempReference(&s, image.get(), q.sx, q.sy, q.qw, q.qh), 1);
    ASSERT_EQ(ImageFloatToImage8(&d, &s, 0, 255), 1);
  }
  // Display columns 2, 3, 4 show image columns 0, 1, 2; rows 1, 2 show rows 0, 1.
  for (int32_t j = 0; j < H; ++j)
    for (int32_t i = 0; i < W; ++i) {
      int32_t si = (i + (W - w)) % W, sj = (j + (H - h)) % H;
      EXPECT_EQ(*ImagePixel(display.get(), i, j), 10 * sj + si) << i << "," << j;
    }
  EXPECT_EQ(*ImagePixel(display.get(), 2, 1), 0);
}

}  // namespace
