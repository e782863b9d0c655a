// Image records: type codes, layouts, references, views, fill and transfer.
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include <gtest/gtest.h>

#include "pixcore.h"

namespace {

struct Deleter {
  void operator()(ImageStruct* image) const { DeleteImage(image); }
};
using Image = std::unique_ptr<ImageStruct, Deleter>;

TEST(Image, ConstructorsGiveTheirTypeCodesAndLayouts) {
  struct Case {
    ImageStruct* (*make)(int32_t, int32_t);
    uint16_t type;
    uint16_t masked;
    std::ptrdiff_t pixel_step;
    std::ptrdiff_t line_step;  // for a 5 x 3 image
  };
  const Case cases[] = {
      {NewImage8, 0x31, 0x11, 1, -8},  // device bitmap: bottom-up, rows padded to 4
      {NewImage16, 0x42, 0x42, 2, 10},
      {NewImage32, 0x104, 0x104, 4, 20},
      {NewImageFloat, 0x404, 0x404, 4, 20},
      {NewImageRGB, 0x3004, 0x1004, 4, -20},
      {NewImageComplex, 0x4008, 0x4008, 8, 40},
  };
  for (const Case& c : cases) {
    Image image(c.make(5, 3));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, c.type);
    EXPECT_EQ(image->type & PixTypeMask, c.masked);
    EXPECT_EQ(image->xsize, 5);
    EXPECT_EQ(image->ysize, 3);
    EXPECT_EQ(image->pixel_step, c.pixel_step);
    EXPECT_EQ(image->line_step, c.line_step);
    // Every pixel of every row is addressable and zero: the last row of a
    // bottom-up image is the start of its storage.
    for (int32_t j = 0; j < 3; ++j)
      for (int32_t i = 0; i < 5; ++i)
        for (int b = 0; b < int(c.pixel_step); ++b) {
          EXPECT_EQ(ImagePixel(image.get(), i, j)[b], 0);
        }
    if (c.line_step < 0) {
      EXPECT_EQ(ImagePixel(image.get(), 0, 2), image->storage.data());
    }
  }
}

TEST(Image, OversizedAndNegativeRequestsGiveNull) {
  EXPECT_EQ(NewImage8(-1, 4), nullptr);
  EXPECT_EQ(NewImageRGB(4, -1), nullptr);
  EXPECT_EQ(NewImageComplex(100000, 100000), nullptr);  // 80 GB
  EXPECT_EQ(NewImage8(std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()),
            nullptr);
  EXPECT_EQ(NewImageRGBAlloc(70000, 70000, 768, CacheAllocLock, CacheUnlockFree), nullptr);
  Image empty(NewImageFloat(0, 7));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(ImageFill(empty.get(), 3), 1);
}

TEST(Image, ExternalReferenceLeavesCallerMemoryAlone) {
  uint8_t pixels[2 * 2 * 4] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0};
  // Bottom-up view: the top row is the second one in memory.
  ImageStruct* image =
      NewImageReferenceExternal(2, 2, 4, -8, PixTypeBitmapRGB, pixels + 8, 0, 0, 0, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(ImagePixel(image, 0, 0)[0], 7);
  EXPECT_EQ(ImagePixel(image, 1, 1)[2], 6);
  EXPECT_EQ(DeleteImage(image), 1);
  EXPECT_EQ(pixels[0], 1);  // still ours, still intact (ASan would flag a free)

  EXPECT_EQ(NewImageReferenceExternal(2, 2, 4, 8, 0x1234, pixels), nullptr);
  EXPECT_EQ(NewImageReferenceExternal(2, 2, 4, 8, PixTypeRGB, nullptr), nullptr);
  EXPECT_EQ(NewImageReferenceExternal(-2, 2, 4, 8, PixTypeRGB, pixels), nullptr);
}

TEST(Image, FillSaturatesPerType) {
  Image g(NewImage8(3, 2)), w(NewImage16(3, 2)), f(NewImageFloat(3, 2)), c(NewImageComplex(3, 2)),
      rgb(NewImageRGB(3, 2));
  EXPECT_EQ(ImageFill(g.get(), 300), 1);
  EXPECT_EQ(*ImagePixel(g.get(), 2, 1), 255);
  EXPECT_EQ(ImageFill(g.get(), std::numeric_limits<double>::quiet_NaN()), 1);
  EXPECT_EQ(*ImagePixel(g.get(), 0, 0), 0);
  EXPECT_EQ(ImageFill(w.get(), -5), 1);
  uint16_t w00;
  std::memcpy(&w00, ImagePixel(w.get(), 1, 1), 2);
  EXPECT_EQ(w00, 0);
  EXPECT_EQ(ImageFill(f.get(), -2.5), 1);
  float f11;
  std::memcpy(&f11, ImagePixel(f.get(), 1, 1), 4);
  EXPECT_EQ(f11, -2.5f);
  EXPECT_EQ(ImageFill(c.get(), 7), 1);
  float c11[2];
  std::memcpy(c11, ImagePixel(c.get(), 2, 1), 8);
  EXPECT_EQ(c11[0], 7.0f);
  EXPECT_EQ(c11[1], 0.0f);
  EXPECT_EQ(ImageFill(rgb.get(), 9), 1);
  const uint8_t* p = ImagePixel(rgb.get(), 2, 0);
  EXPECT_EQ(p[0] + p[1] * 256 + p[2] * 65536 + p[3] * 16777216, 9 + 9 * 256 + 9 * 65536);
}

TEST(Image, TempReferenceViewsAnAreaAndIsNeverDeleted) {
  Image image(NewImage8(5, 3));
  for (int32_t j = 0; j < 3; ++j)
    for (int32_t i = 0; i < 5; ++i) *ImagePixel(image.get(), i, j) = uint8_t(10 * j + i);
  ImageStruct view;
  ASSERT_EQ(SetTempReference(&view, image.get(), 3, 1, 2, 2), 1);
  EXPECT_EQ(view.xsize, 2);
  EXPECT_EQ(view.type, image->type);
  EXPECT_EQ(*ImagePixel(&view, 0, 0), 13);
  EXPECT_EQ(*ImagePixel(&view, 1, 1), 24);
  EXPECT_EQ(DeleteImage(&view), -1);

  ImageStruct none;
  EXPECT_EQ(SetTempReference(&none, image.get(), 5, 0, 0, 3), 1);  // empty strip at the edge
  EXPECT_EQ(SetTempReference(&none, image.get(), 4, 0, 2, 1), -1);
  EXPECT_EQ(SetTempReference(&none, image.get(), 0, -1, 1, 1), -1);
  EXPECT_EQ(SetTempReference(image.get(), image.get(), 0, 0, 1, 1), -1);
}

TEST(Image, TransferCopiesTheSharedAreaAcrossLayouts) {
  Image top_down_src(NewImage16(3, 2));
  Image bottom_up(NewImageRGB(4, 2));
  EXPECT_EQ(ImageTransfer(bottom_up.get(), top_down_src.get()), -1);  // types differ

  uint8_t external[3 * 2] = {1, 2, 3, 4, 5, 6};  // top-down, unpadded
  ImageStruct* src = NewImageReferenceExternal(3, 2, 1, 3, PixType8, external);
  Image dst(NewImage8(2, 3));
  ImageFill(dst.get(), 99);
  src->info.title = "frame";
  ASSERT_EQ(ImageTransfer(dst.get(), src), 1);
  EXPECT_EQ(*ImagePixel(dst.get(), 0, 0), 1);
  EXPECT_EQ(*ImagePixel(dst.get(), 1, 1), 5);
  EXPECT_EQ(*ImagePixel(dst.get(), 1, 2), 99);  // outside the shared area
  EXPECT_EQ(dst->info.title, "");
  ASSERT_EQ(ImageInfoTransfer(dst.get(), src), 1);
  EXPECT_EQ(dst->info.title, "frame");
  DeleteImage(src);
}

}  // namespace
