// Drawing rendered into a QImage and checked pixel by pixel.
#include <memory>
#include <vector>

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "pixpaint.h"

namespace {

struct Deleter {
  void operator()(ImageStruct* image) const { DeleteImage(image); }
};
using Image = std::unique_ptr<ImageStruct, Deleter>;

constexpr uint32_t kCanvas = 0x123456;  // QRgb without alpha

// A canvas to paint on; `draw` gets the painter as the untyped device context.
template <class Draw>
QImage render(int w, int h, Draw draw) {
  QImage canvas(w, h, QImage::Format_RGB32);
  canvas.fill(QColor(0x12, 0x34, 0x56));
  QPainter painter(&canvas);
  draw(static_cast<void*>(&painter));
  painter.end();
  return canvas;
}

uint32_t at(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// 0x00BBGGRR as the QRgb it shows as.
constexpr uint32_t shown(uint32_t windows) {
  return ((windows & 0xFF) << 16) | (windows & 0xFF00) | ((windows >> 16) & 0xFF);
}

Image gradient8(int32_t w, int32_t h) {
  Image image(NewImage8(w, h));
  for (int32_t j = 0; j < h; ++j)
    for (int32_t i = 0; i < w; ++i) *ImagePixel(image.get(), i, j) = uint8_t(40 * j + 10 * i);
  return image;
}

uint32_t grey(int v) { return uint32_t(v) * 0x010101u; }

TEST(DrawImage, DirectEightBitWithBorderOrNothingOutside) {
  Image image = gradient8(3, 2);
  QImage out = render(8, 5, [&](void* dc) {
    EXPECT_EQ(DrawImage(dc, image.get(), 2, 1, 1, 1, 0xFFFFFF, 0, 0x0000FF), 1);
  });
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 3; ++i) EXPECT_EQ(at(out, 2 + i, 1 + j), grey(40 * j + 10 * i));
  EXPECT_EQ(at(out, 1, 1), 0xFF0000u);  // border colour red
  EXPECT_EQ(at(out, 5, 2), 0xFF0000u);
  EXPECT_EQ(at(out, 2, 3), 0xFF0000u);

  QImage bare = render(8, 5, [&](void* dc) {
    DrawImage(dc, image.get(), 2, 1, 1, 1, 0xFFFFFF, DrawImageNothingOutside, 0x0000FF);
  });
  EXPECT_EQ(at(bare, 1, 1), kCanvas);
  EXPECT_EQ(at(bare, 5, 2), kCanvas);
  EXPECT_EQ(at(bare, 4, 2), grey(60));
}

TEST(DrawImage, ScaledRgbIsTheSameForEitherRowOrder) {
  // 2 x 2 RGB, once bottom-up (NewImageRGB), once top-down over caller memory.
  const uint8_t px[4][4] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {9, 9, 9, 0}};
  Image bottom_up(NewImageRGB(2, 2));
  uint8_t top_down[16];
  for (int k = 0; k < 4; ++k) {
    std::copy(px[k], px[k] + 4, ImagePixel(bottom_up.get(), k % 2, k / 2));
    std::copy(px[k], px[k] + 4, top_down + 4 * k);
  }
  Image external(NewImageReferenceExternal(2, 2, 4, 8, PixTypeRGB, top_down));
  const uint32_t expected[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0x090909};
  for (const ImageStruct* image : {bottom_up.get(), external.get()}) {
    QImage out = render(6, 6, [&](void* dc) {
      DrawImage(dc, image, 1, 1, 2, 2, 0xFFFFFF, DrawImageNoSmoothing | DrawImageNothingOutside,
                0);
    });
    for (int y = 1; y < 5; ++y)
      for (int x = 1; x < 5; ++x) {
        int k = ((y - 1) / 2) * 2 + (x - 1) / 2;
        EXPECT_EQ(at(out, x, y), expected[k]) << x << "," << y;
      }
    EXPECT_EQ(at(out, 5, 5), kCanvas);
  }
}

TEST(DrawImage, SmoothingFollowsTheFlagsAndColourTints) {
  Image image(NewImage8(2, 1));
  *ImagePixel(image.get(), 1, 0) = 255;
  auto has_between = [](const QImage& out) {
    for (int x = 0; x < out.width(); ++x) {
      uint32_t v = at(out, x, 2) & 0xFF;
      if (v != 0 && v != 255) return true;
    }
    return false;
  };
  auto draw = [&](uint32_t flags) {
    return render(16, 4, [&](void* dc) { DrawImage(dc, image.get(), 0, 0, 8, 4, 0xFFFFFF, flags, 0); });
  };
  EXPECT_TRUE(has_between(draw(0)));
  EXPECT_FALSE(has_between(draw(DrawImageNoSmoothing)));
  EXPECT_FALSE(has_between(draw(DrawImageNoSmoothingWhenEnlarging)));
  EXPECT_TRUE(has_between(draw(DrawImageNoSmoothingWhenVerticallyCompressing)));

  Image g(NewImage8(1, 1));
  *ImagePixel(g.get(), 0, 0) = 200;
  QImage tinted = render(1, 1, [&](void* dc) { DrawImage(dc, g.get(), 0, 0, 1, 1, 0x0000FF, 0, 0); });
  EXPECT_EQ(at(tinted, 0, 0), 0xC80000u);  // red display colour

  Image wide(NewImage16(1, 1));
  EXPECT_EQ(render(1, 1, [&](void* dc) { EXPECT_EQ(DrawImage(dc, wide.get(), 0, 0, 1, 1, 0xFFFFFF, 0, 0), -1); })
                .pixel(0, 0) & 0xFFFFFF,
            kCanvas);
}

TEST(DrawImage, ExtentIsTheCoveredColumnsAndRowsClipped) {
  Image image(NewImage8(10, 4));
  struct Case {
    float xo, yo, xs, ys;
    float left, top, right, bottom;
  };
  const Case cases[] = {
      {0, 0, 1, 1, 0, 0, 9, 3},
      {5, 2, 2, 1.5f, 5, 2, 24, 7},
      {-3, 0, 1, 1, 0, 0, 6, 3},
      {0, 0, 40, 40, 0, 0, 100, 50},  // beyond the control: its preset edges
  };
  for (const Case& c : cases) {
    float l = 0, t = 0, r = 100, b = 50;
    ASSERT_EQ(ImageExtent(nullptr, image.get(), c.xo, c.yo, &l, &t, &r, &b, c.xs, c.ys), 1);
    EXPECT_EQ(l, c.left);
    EXPECT_EQ(t, c.top);
    EXPECT_EQ(r, c.right);
    EXPECT_EQ(b, c.bottom);
  }
  // The image control's strips: an image narrower than the control leaves W - 1 > right.
  float l = 0, t = 0, r = 256, b = 256;
  ImageExtent(nullptr, image.get(), 0, 0, &l, &t, &r, &b, 1, 1);
  EXPECT_GT(256 - 1, r);
}

std::vector<int> column_rows(const QImage& out, int x, uint32_t color) {
  std::vector<int> rows;
  for (int y = 0; y < out.height(); ++y)
    if (at(out, x, y) == color) rows.push_back(y);
  return rows;
}

TEST(DrawVector, StepCurveInTheNormalAndMirroredViews) {
  VectorStruct v;
  v.values = {0, 10};
  const uint32_t red = 0x0000FF;
  QImage normal = render(10, 11, [&](void* dc) {
    EXPECT_EQ(DrawVectorHorizontal(dc, &v, 0, 0, 1, 1, 10, 11, 0, 10, red), 1);
  });
  for (int x = 0; x < 5; ++x) EXPECT_EQ(column_rows(normal, x, shown(red)), std::vector<int>{10});
  std::vector<int> all_rows;
  for (int y = 0; y <= 10; ++y) all_rows.push_back(y);
  EXPECT_EQ(column_rows(normal, 5, shown(red)), all_rows);  // the step joins the values
  for (int x = 6; x < 10; ++x) EXPECT_EQ(column_rows(normal, x, shown(red)), std::vector<int>{0});

  // TopDown and Reversed: origin (W, H), senses (-1, -1): index 0 at the right, min at the top.
  QImage mirrored = render(10, 11, [&](void* dc) {
    DrawVectorHorizontal(dc, &v, 10, 11, -1, -1, 10, 11, 0, 10, red);
  });
  EXPECT_EQ(column_rows(mirrored, 9, shown(red)), std::vector<int>{0});
  EXPECT_EQ(column_rows(mirrored, 0, shown(red)), std::vector<int>{10});
}

TEST(DrawVector, ManyValuesGiveOneEnvelopeSegmentPerColumn) {
  VectorStruct v;
  v.values.assign(100000, 2);
  v.values[73456] = 50;  // clamps to the top
  v.values[10] = std::numeric_limits<float>::quiet_NaN();
  const uint32_t black = 0;
  QImage out = render(100, 21, [&](void* dc) {
    DrawVectorHorizontal(dc, &v, 0, 0, 1, 1, 100, 21, 0, 10, black);
  });
  // Value 2 of 0 ... 10 over 21 rows: level 4, row 16.
  EXPECT_EQ(column_rows(out, 0, 0), std::vector<int>{16});
  EXPECT_EQ(column_rows(out, 50, 0), std::vector<int>{16});
  std::vector<int> spike;
  for (int y = 0; y <= 16; ++y) spike.push_back(y);
  EXPECT_EQ(column_rows(out, 73, 0), spike);  // 73456 * 100 / 100000 = column 73
  EXPECT_EQ(column_rows(out, 74, 0), std::vector<int>{16});

  // An upside-down window (max < min) keeps the whole envelope: 2 at row 4, the spike at 20.
  QImage flipped = render(100, 21, [&](void* dc) {
    DrawVectorHorizontal(dc, &v, 0, 0, 1, 1, 100, 21, 10, 0, black);
  });
  std::vector<int> down;
  for (int y = 4; y <= 20; ++y) down.push_back(y);
  EXPECT_EQ(column_rows(flipped, 73, 0), down);
  EXPECT_EQ(column_rows(flipped, 72, 0), std::vector<int>{4});
}

TEST(DrawVector, VerticalPutsTheIndexAlongY) {
  VectorStruct v;
  v.values = {0, 5, 10};
  const uint32_t blue = 0xFF0000;
  // Normal view: index 0 at the bottom, min at the left.
  QImage out = render(11, 3, [&](void* dc) {
    EXPECT_EQ(DrawVectorVertical(dc, &v, 0, 0, 1, 1, 11, 3, 0, 10, blue), 1);
  });
  EXPECT_EQ(at(out, 0, 2), shown(blue));
  EXPECT_EQ(at(out, 10, 0), shown(blue));
  EXPECT_EQ(at(out, 5, 1), shown(blue));
  EXPECT_NE(at(out, 10, 2), shown(blue));
  VectorStruct empty;
  QImage none = render(4, 4, [&](void* dc) {
    DrawVectorVertical(dc, &empty, 0, 0, 1, 1, 4, 4, 0, 10, blue);
  });
  EXPECT_EQ(none, render(4, 4, [](void*) {}));
}

TEST(DrawList, ShapesInTheirColoursWithStartAndCount) {
  GraphicsListStruct list;
  InitListSize(&list, 4);
  GraphicsRectangleStruct green{0x008000, 2, 2, 8, 6};
  GraphicsRectangleStruct red{0x0000FF, 10, 1, 14, 3};
  AddRectangleToList(&list, &green);
  AddRectangleToList(&list, &red);
  AddPointToList(&list, 0xFFFFFF, 17, 8);
  GraphicsLineStruct line{0xFF0000, 1, 9, 12, 9};
  AddLineToList(&list, &line);

  QImage out = render(20, 12, [&](void* dc) { EXPECT_EQ(DrawList(dc, &list, 0, 0, 1, 1, 0, 0), 1); });
  for (auto [x, y] : {std::pair{2, 2}, {8, 2}, {8, 6}, {2, 6}, {5, 2}, {2, 4}, {8, 4}, {5, 6}})
    EXPECT_EQ(at(out, x, y), 0x008000u) << x << "," << y;
  EXPECT_EQ(at(out, 5, 4), kCanvas);  // outline only
  EXPECT_EQ(at(out, 9, 4), kCanvas);
  EXPECT_EQ(at(out, 14, 3), 0xFF0000u);
  EXPECT_EQ(at(out, 16, 7), 0xFFFFFFu);
  EXPECT_EQ(at(out, 18, 9), 0xFFFFFFu);
  EXPECT_EQ(at(out, 6, 9), 0x0000FFu);

  // Scaled and offset: list point (2, 2) at device (1 + 2 * 0.5, 0 + 2 * 2).
  QImage scaled = render(20, 20, [&](void* dc) { DrawList(dc, &list, 1, 0, 0.5f, 2, 0, 1); });
  EXPECT_EQ(at(scaled, 2, 4), 0x008000u);
  EXPECT_EQ(at(scaled, 5, 12), 0x008000u);
  EXPECT_EQ(at(scaled, 6, 2), kCanvas);  // the red box is past the count

  QImage rest = render(20, 12, [&](void* dc) { DrawList(dc, &list, 0, 0, 1, 1, 1, 0); });
  EXPECT_EQ(at(rest, 2, 2), kCanvas);
  EXPECT_EQ(at(rest, 10, 1), 0xFF0000u);
  EXPECT_EQ(render(20, 12, [&](void* dc) { DrawList(dc, &list, 0, 0, 1, 1, 9, 0); }),
            render(20, 12, [](void*) {}));
}

TEST(DrawList, ArcsAndHugeBoxesDraw) {
  GraphicsListStruct list;
  AddArcToList(&list, 0x00FFFF, 10, 10, 6, 0, 90);  // the upper right quarter
  GraphicsRectangleStruct huge{0x0000FF, -1e9f, -1e9f, 1e9f, 5};
  AddRectangleToList(&list, &huge);
  QImage out = render(20, 20, [&](void* dc) { DrawList(dc, &list, 0, 0, 1, 1, 0, 0); });
  bool upper_right = false, lower_left = false;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      if (at(out, x, y) == 0xFFFF00u) (x >= 10 && y <= 10 ? upper_right : lower_left) = true;
  EXPECT_TRUE(upper_right);
  EXPECT_FALSE(lower_left);
  EXPECT_EQ(at(out, 7, 5), 0xFF0000u);  // the bottom edge of the huge box
}

TEST(ItemHit, NearTheDrawnShapeOnly) {
  GraphicsItemStruct rect{GraphicsRectangle, 0, 10, 10, 50, 30, 0, 0};
  GraphicsItemStruct line{GraphicsLine, 0, 0, 0, 100, 100, 0, 0};
  GraphicsItemStruct point{GraphicsPoint, 0, 0, 20, 20, 0, 0, 0};
  GraphicsItemStruct arc{GraphicsArc, 0, 50, 50, 20, 0, 90, 0};
  GraphicsItemStruct gap{GraphicsEmpty, 0, 0, 0, 0, 0, 0, 0};
  struct Case {
    const GraphicsItemStruct* item;
    float x, y;
    bool hit;
  };
  const Case cases[] = {
      {&rect, 10, 20, true},  {&rect, 30, 32.5f, true}, {&rect, 30, 20, false},
      {&rect, 6, 20, false},  {&line, 52, 50, true},    {&line, 55, 50, false},
      {&point, 23, 17, true}, {&point, 25, 20, false},  {&arc, 70, 50, true},
      {&arc, 50, 32, true},   {&arc, 30, 50, false},    {&arc, 50, 50, false},
      {&gap, 0, 0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ItemHit(nullptr, c.item, 0, 0, c.x, c.y, 1, 1), c.hit)
        << c.item->type << " at " << c.x << "," << c.y;
  // Scaled: the rectangle's left edge at device 5 + 10 * 2 = 25.
  EXPECT_TRUE(ItemHit(nullptr, &rect, 5, 0, 27, 40, 2, 2));
  EXPECT_FALSE(ItemHit(nullptr, &rect, 5, 0, 10, 40, 2, 2));
}

}  // namespace
